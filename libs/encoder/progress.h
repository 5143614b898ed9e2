#pragma once

#include <cstdint>

namespace dero {

// Where a running conversion stands.
struct TProgress {
    int64_t frames = 0;
    double seconds = 0;  // of output written so far
    double quality = 0;  // the video encoder's last quantiser
    int64_t bytes = 0;
    double elapsed = 0;  // wall-clock seconds since the start
};

}  // namespace dero
