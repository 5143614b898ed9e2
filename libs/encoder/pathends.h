#pragma once

#include <cstdint>
#include <optional>

#include "avhandles.h"
#include "streamfacts.h"

namespace dero {

class TOutputFile;

// What one path of the pipeline (video or audio) runs between, set up before its threads start.
struct TPathEnds {
    TStreamFacts source;
    CodecContextPtr decoder;
    // Source time in microseconds that becomes output time 0, and the length to convert.
    int64_t startUs = 0;
    std::optional<int64_t> lengthUs;
    CodecContextPtr encoder;
    AVStream* stream = nullptr;
    TOutputFile* output = nullptr;
};

}  // namespace dero
