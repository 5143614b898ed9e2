#pragma once

#include <cstdint>
#include <vector>

#include "avhandles.h"

namespace dero {

// The MPEG-4 encoder leaves the visual object's video_signal_type out of its headers, so a
// decoder would have to guess range and coefficients. This puts it in: video format unspecified,
// the encoder's range and its colour description.
class TSignalTypeWriter {
  public:
    // The headers with the visual object's signal type written; the same bytes when they hold no
    // visual object or it has a signal type already.
    static std::vector<uint8_t> Rewrite(const std::vector<uint8_t>& headers, bool fullRange,
                                        int primaries, int transfer, int matrix);
    // Rewrites the opened encoder's global headers from its colour fields.
    static void Apply(AVCodecContext* encoder);
};

}  // namespace dero
