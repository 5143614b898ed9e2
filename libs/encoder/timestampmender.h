#pragma once

#include <cstdint>
#include <vector>

#include "avhandles.h"

namespace dero {

// Joins timestamp discontinuities of program and transport streams (cut or concatenated VOB and
// MPEG files restart their clock): a jump of a packet against the time its stream expects is
// taken out of this and every later packet of all streams, so the pictures after a reset are not
// mistaken for ones already shown.
class TTimestampMender {
  public:
    explicit TTimestampMender(const AVFormatContext* context);
    void Mend(AVPacket* packet);

  private:
    struct TStreamClock {
        int64_t nextDts = AV_NOPTS_VALUE;  // microseconds
        int64_t lastDts = AV_NOPTS_VALUE;
    };

    const AVFormatContext* context_;
    const bool active_;
    int64_t offset_ = 0;  // microseconds added to every timestamp
    std::vector<TStreamClock> clocks_;
};

}  // namespace dero
