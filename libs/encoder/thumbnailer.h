#pragma once

#include <string>

namespace dero {

// Writes a small JPEG of one frame of a clip: the picture letter-boxed into the requested size
// with its display aspect. A file is written only on success, and it always holds at least
// 1024 bytes, the size below which the program treats a thumbnail as missing.
class TThumbnailer {
  public:
    // size is "WxH". The frame is the one at `second`, or the middle of a shorter clip.
    // Never throws; false when nothing was written.
    static bool Write(const std::string& source, int second, const std::string& size,
                      const std::string& picturePath);
};

}  // namespace dero
