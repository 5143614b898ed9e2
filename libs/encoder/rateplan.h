#pragma once

#include <cstdint>
#include <string>

#include "avhandles.h"

namespace dero {

// How the MPEG-4 encoder spends its bits for one output: the Simple Profile level written into
// the stream and a rate control that keeps that level's own video buffering verifier. A decoder
// buffer of the level's size, filled at the level's maximum rate, never runs dry; the asked rate
// is the target over the clip wherever the level allows it.
class TRatePlan {
  public:
    // Plans for pictures of width x height at rate, asked kbit/s, in the container format
    // ("3gp" stays within the level phones are made for).
    static TRatePlan For(int width, int height, AVRational rate, int kbps,
                         const std::string& format);

    // Writes the plan into an encoder context before it opens.
    void ApplyTo(AVCodecContext* encoder) const;

    int level = 1;
    int64_t targetBitsPerSecond = 0;    // below the asked rate only where the level forbids it
    int64_t maxBitsPerSecond = 0;       // the level's maximum: the rate the decoder buffer fills at
    int bufferBits = 0;                 // the level's buffer
    int initialBufferBits = 0;          // what that buffer holds when the first picture is taken
    bool searchedQuantisation = false;  // rate-distortion search of each block's values
};

}  // namespace dero
