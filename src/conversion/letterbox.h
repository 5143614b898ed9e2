#pragma once

#include <cstdint>

// Bars that keep a source's shape inside the output frame: top and bottom for a source as wide
// as the frame or wider, left and right for a narrower one. Always even, never negative.
struct TLetterbox {
    int32_t Top = 0;
    int32_t Bottom = 0;
    int32_t Left = 0;
    int32_t Right = 0;
};

// The aspects are compared at single precision, so that a 4:3 source in a 4:3 frame gets no
// bars however the division rounds. A size of 0 or less on either side gives no bars.
TLetterbox ComputeLetterbox(int32_t sourceWidth, int32_t sourceHeight, int32_t outputWidth,
                            int32_t outputHeight);

// Half the room the scaled picture leaves, cut toward zero; 0 when the picture overflows; an odd
// result is lowered by one, as the encoder pads in whole chroma samples.
int32_t LetterboxPad(int32_t room, int32_t scaled);
