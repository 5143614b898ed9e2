#pragma once

#include <cstdint>
#include <memory>

#include "avhandles.h"

namespace dero {

// An FFmpeg I/O context on a file descriptor the caller keeps open. Each context reads or writes
// at its own position (pread/pwrite), so a writer and a reader can share one descriptor, as the
// muxer's second pass over its own file needs. Working on the descriptor rather than a name
// means the file written is the one that was created: no protocol prefix or swapped link can
// send the bytes elsewhere.
class TDescriptorIo {
  public:
    struct TDeleter {
        void operator()(AVIOContext* io) const;
    };
    using TPtr = std::unique_ptr<AVIOContext, TDeleter>;

    // Throws std::bad_alloc when FFmpeg cannot allocate the context.
    static TPtr Open(int descriptor, bool write);
    // Writes out what the context still buffers; false when that or an earlier write failed.
    static bool Flush(AVIOContext* io);

  private:
    struct TState {
        int descriptor;
        int64_t position;
    };
    static int Read(void* opaque, uint8_t* buffer, int size);
    static int Write(void* opaque, uint8_t* buffer, int size);
    static int64_t Seek(void* opaque, int64_t offset, int whence);
};

}  // namespace dero
