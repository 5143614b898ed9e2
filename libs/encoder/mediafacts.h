#pragma once

#include <string>

namespace dero {

// The facts the program shows for a file and letter-boxes by.
struct TMediaFacts {
    int durationSeconds = 0;  // rounded up, so an untrimmed clip converts to its last frame
    std::string videoFormat = "unknown";
    std::string audioFormat = "unknown";
    int width = 0;  // display size
    int height = 0;
};

}  // namespace dero
