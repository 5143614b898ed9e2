#include "lowreschoice.h"

#include <algorithm>
#include <utility>

namespace dero {
namespace {

// A quarter on each side is where the gain stops paying: an eighth leaves the scaler too few
// source pixels per output pixel to filter.
constexpr int kDeepestLevel = 2;

}  // namespace

int TLowresChoice::Level(AVCodecID codec, int maxLevel, int sourceWidth, int sourceHeight,
                         int rotation, int outputWidth, int outputHeight) {
    if (codec != AV_CODEC_ID_MJPEG || sourceWidth <= 0 || sourceHeight <= 0 || outputWidth <= 0 ||
        outputHeight <= 0) {
        return 0;
    }
    if (rotation % 180 != 0) {
        std::swap(outputWidth, outputHeight);
    }
    int level = 0;
    while (level < std::min(maxLevel, kDeepestLevel) &&
           int64_t{outputWidth} << (level + 1) <= sourceWidth &&
           int64_t{outputHeight} << (level + 1) <= sourceHeight) {
        ++level;
    }
    return level;
}

}  // namespace dero
