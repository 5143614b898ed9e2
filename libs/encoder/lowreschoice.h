#pragma once

#include "avhandles.h"

namespace dero {

// How far the decoder may shrink pictures while it decodes them (1 halves each side, 2 quarters
// it), when the output is at least that much smaller: the decoder then writes and the scaler
// reads a quarter or a sixteenth of the pixels.
//
// Only intra-only JPEG pictures qualify. Predicted codecs carry the shrunken decoder's rounding
// from picture to picture until the next key picture; measured against full decoding plus
// scaling, that costs from a few tenths of a decibel on smooth pictures to several decibels on
// fine detail or long groups of pictures.
class TLowresChoice {
  public:
    // The source's coded size, its clockwise turn, and the size the scaler makes before padding
    // (the pictures are turned upright first). 0 keeps the full size.
    static int Level(AVCodecID codec, int maxLevel, int sourceWidth, int sourceHeight, int rotation,
                     int outputWidth, int outputHeight);
};

}  // namespace dero
