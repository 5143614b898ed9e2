#pragma once

#include <cstdint>
#include <string>

#include "avhandles.h"

namespace dero {

// How the MPEG-4 encoder spends its bits for one output: the Simple Profile level written into
// the stream and a rate control that the stream then keeps. The asked rate is the target over
// the clip; the buffer model caps every one-second stretch at the level's maximum rate, so a
// player that checks the level can trust it.
class TRatePlan {
  public:
    // Plans for pictures of width x height at rate, asked kbit/s, in the container format
    // ("3gp" stays within the level phones are made for).
    static TRatePlan For(int width, int height, AVRational rate, int kbps,
                         const std::string& format);

    // Writes the plan into an encoder context before it opens.
    void ApplyTo(AVCodecContext* encoder) const;

    int level = 1;
    int64_t targetBitsPerSecond = 0;  // below the asked rate only where the level forbids it
    int64_t maxBitsPerSecond = 0;
    int bufferBits = 0;
};

}  // namespace dero
