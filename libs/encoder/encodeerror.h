#pragma once

#include <stdexcept>
#include <string>

#include "avhandles.h"

namespace dero {

// A failure inside the library. Its text becomes the "error: ..." info line; it never crosses an
// exported entry.
class TEncodeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws a TEncodeError naming what failed when an FFmpeg call returned an error.
inline int Check(int result, const std::string& what) {
    if (result < 0) {
        throw TEncodeError(what + ": " + ErrorText(result));
    }
    return result;
}

}  // namespace dero
