#include "rateplan.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace dero {
namespace {

// MPEG-4 Part 2 Simple Profile levels: macroblocks per frame and per second, the maximum rate
// and the buffer a decoder of that level holds.
struct TLevel {
    int code;
    int64_t macroblocksPerFrame;
    int64_t macroblocksPerSecond;
    int64_t bitsPerSecond;
    int64_t bufferBits;
};
constexpr int64_t kBufferUnit = 16384;
constexpr std::array<TLevel, 6> kSimpleProfileLevels = {{
    {1, 99, 1485, 64000, 10 * kBufferUnit},
    {2, 396, 5940, 128000, 40 * kBufferUnit},
    {3, 396, 11880, 384000, 40 * kBufferUnit},
    {4, 1200, 36000, 4000000, 80 * kBufferUnit},
    {5, 1620, 40500, 8000000, 112 * kBufferUnit},
    {6, 3600, 108000, 12000000, 248 * kBufferUnit},
}};
// 3GPP phones are built for Simple Profile level 3 at most.
constexpr int kPhoneLevel = 3;
// Searching each block's quantised values for the cheapest at its distortion roughly doubles the
// encoder's own work. Up to this many macroblocks a second (level 3's limit) that work is small
// beside decoding and scaling the source, and it is where the rate is scarcest: predicted
// pictures keep more of their detail between key pictures, which closes the key pictures' lead
// and lifts the mean.
constexpr int64_t kSearchedQuantisationMacroblocks = 11880;

// The stream carries no buffer parameters of its own, so a decoder starts with the level's
// default occupancy, 170/256 of the buffer. The encoder counts on half of that: the decoder then
// always holds more than the encoder assumes, and a short clip cannot spend a large start-up
// store on top of its rate.
constexpr int64_t kStartOccupancyNumerator = 85;
constexpr int64_t kStartOccupancyDenominator = 256;

bool Holds(const TLevel& level, int64_t perFrame, int64_t perSecond, int64_t bitsPerSecond) {
    return perFrame <= level.macroblocksPerFrame && perSecond <= level.macroblocksPerSecond &&
           bitsPerSecond <= level.bitsPerSecond;
}

}  // namespace

TRatePlan TRatePlan::For(int width, int height, AVRational rate, int kbps,
                         const std::string& format) {
    const int64_t perFrame = int64_t{(width + 15) / 16} * ((height + 15) / 16);
    const auto perSecond = static_cast<int64_t>(std::ceil(double(perFrame) * av_q2d(rate)));
    const int64_t asked = std::max<int64_t>(int64_t{kbps} * 1000, 1000);
    const int highest = format == "3gp" ? kPhoneLevel : kSimpleProfileLevels.back().code;
    // The lowest level that holds the pictures and the asked rate; the highest allowed one, with
    // the target lowered to its maximum, when none does.
    const TLevel* chosen = nullptr;
    for (const TLevel& level : kSimpleProfileLevels) {
        if (level.code > highest) {
            break;
        }
        chosen = &level;
        if (Holds(level, perFrame, perSecond, asked)) {
            break;
        }
    }
    TRatePlan plan;
    plan.level = chosen->code;
    plan.maxBitsPerSecond = chosen->bitsPerSecond;
    plan.bufferBits = static_cast<int>(chosen->bufferBits);
    plan.initialBufferBits = static_cast<int>(chosen->bufferBits * kStartOccupancyNumerator /
                                              kStartOccupancyDenominator);
    plan.targetBitsPerSecond = std::min(asked, chosen->bitsPerSecond);
    plan.searchedQuantisation = perSecond <= kSearchedQuantisationMacroblocks;
    return plan;
}

void TRatePlan::ApplyTo(AVCodecContext* encoder) const {
    encoder->profile = FF_PROFILE_MPEG4_SIMPLE;
    encoder->level = level;
    encoder->bit_rate = targetBitsPerSecond;
    // The default tolerance (4 Mbit) lets a low rate drift far above its target on detailed
    // pictures; half a second's worth keeps even a short clip's average on target.
    encoder->bit_rate_tolerance = static_cast<int>(targetBitsPerSecond / 2);
    // The level's full buffer leaves room enough that key pictures coded finer than their
    // neighbours (the default) stand out as a brighter, sharper picture once a group; at the
    // neighbours' quantiser the mean quality stays and the pulse goes.
    encoder->i_quant_factor = -1.0F;
    encoder->trellis = searchedQuantisation ? 1 : 0;
    encoder->rc_max_rate = maxBitsPerSecond;
    encoder->rc_buffer_size = bufferBits;
    encoder->rc_initial_buffer_occupancy = initialBufferBits;
}

}  // namespace dero
