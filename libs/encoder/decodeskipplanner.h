#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "avhandles.h"

namespace dero {

// Tells, packet by packet in decoding order, whether the picture a packet carries is sure to be
// thrown away, so that the decoder may leave it out when nothing else refers to it.
//
// The constant-rate conversion keeps, for each output slot, the last picture whose timestamp
// rounds to that slot (the first picture also fills the slots before it). A picture is therefore
// dropped when a later picture of the part to convert rounds to the same slot; pictures before
// the start never reach the conversion at all. The planner answers yes only when it has seen
// such a later timestamp, so a picture that may be kept is always decoded.
//
// Timestamps are the source stream's, shifted so that 0 is the start of the output.
class TDecodeSkipPlanner {
  public:
    // end: the first timestamp that ends the conversion. A disabled planner never skips.
    TDecodeSkipPlanner(AVRational sourceBase, AVRational outputRate, int64_t end, bool enabled);

    // For each packet before it is sent to the decoder; pts may be AV_NOPTS_VALUE.
    bool Skippable(int64_t pts);
    // For each decoded picture: the packet timestamp it carries and the one the pipeline uses.
    // Decisions rest on the two being the same; once they differ, skipping ends.
    void Decoded(int64_t packetPts, int64_t usedPts);
    // The first picture handed to the conversion. A deinterlacer looks at neighbouring pictures,
    // so every picture matters to it.
    void FirstKept(int64_t pts, bool deinterlaced);

  private:
    int64_t Slot(int64_t pts) const;
    std::optional<int64_t> NextSeen(int64_t pts) const;

    const AVRational sourceBase_;
    const AVRational outputBase_;
    const int64_t end_;
    bool enabled_;
    bool trusted_ = false;
    std::optional<int64_t> firstKept_;
    std::deque<int64_t> seen_;
};

}  // namespace dero
