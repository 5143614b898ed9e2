#pragma once

#include <string>

#include "mediafacts.h"

namespace dero {

class TInputFile;

// Reads a file's facts for the clip list.
class TMediaProbe {
  public:
    static TMediaFacts Describe(const TInputFile& input);
    // Never throws: a file that cannot be read gives TMediaFacts' defaults ("unknown", zeros).
    static TMediaFacts Probe(const std::string& path);
};

}  // namespace dero
