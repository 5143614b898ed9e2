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

class TInputFile;

class TMediaProbe {
  public:
    static TMediaFacts Describe(const TInputFile& input);
    // Never throws: a file that cannot be read gives the defaults above.
    static TMediaFacts Probe(const std::string& path);
};

}  // namespace dero
