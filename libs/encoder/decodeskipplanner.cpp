#include "decodeskipplanner.h"

namespace dero {
namespace {

// Reordering in real streams spans a few pictures; the picture that decides a skip is among the
// last few dozen packets.
constexpr std::size_t kSeenLimit = 32;

}  // namespace

TDecodeSkipPlanner::TDecodeSkipPlanner(AVRational sourceBase, AVRational outputRate, int64_t end,
                                       bool enabled)
    : sourceBase_(sourceBase), outputBase_(av_inv_q(outputRate)), end_(end), enabled_(enabled) {}

bool TDecodeSkipPlanner::Skippable(int64_t pts) {
    if (!enabled_ || pts == AV_NOPTS_VALUE) {
        return false;
    }
    seen_.push_back(pts);
    if (seen_.size() > kSeenLimit) {
        seen_.pop_front();
    }
    if (!trusted_) {
        return false;
    }
    if (pts < 0) {
        return true;
    }
    // The first picture may fill the slots before its own, whatever follows it; pictures past the
    // end decide how the run ends.
    if (!firstKept_ || pts <= *firstKept_ || pts >= end_) {
        return false;
    }
    const std::optional<int64_t> next = NextSeen(pts);
    return next && *next < end_ && Slot(*next) == Slot(pts);
}

void TDecodeSkipPlanner::Decoded(int64_t packetPts, int64_t usedPts) {
    if (packetPts == AV_NOPTS_VALUE || packetPts != usedPts) {
        enabled_ = false;
    }
    trusted_ = enabled_;
}

void TDecodeSkipPlanner::FirstKept(int64_t pts, bool deinterlaced) {
    firstKept_ = pts;
    if (deinterlaced) {
        enabled_ = false;
        trusted_ = false;
    }
}

// As the rate conversion rounds: to the nearest slot, halves away from zero.
int64_t TDecodeSkipPlanner::Slot(int64_t pts) const {
    return av_rescale_q_rnd(pts, sourceBase_, outputBase_,
                            static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

std::optional<int64_t> TDecodeSkipPlanner::NextSeen(int64_t pts) const {
    std::optional<int64_t> next;
    for (const int64_t seen : seen_) {
        if (seen > pts && (!next || seen < *next)) {
            next = seen;
        }
    }
    return next;
}

}  // namespace dero
