#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "avhandles.h"

namespace dero {

// The muxer of one output file. Encoder threads write to it at the same time, so packet writes
// are serialised here. The file is created by Open and, unless Finish succeeded, removed when
// the object goes away: a failed or stopped conversion never leaves a broken file behind.
class TOutputFile {
  public:
    TOutputFile(const std::string& path, const std::string& format, bool bitExact,
                const std::atomic<bool>* cancel);
    ~TOutputFile();
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    // Before Open: a stream carrying what the opened encoder produces.
    AVStream* AddStream(const AVCodecContext* encoder);
    // Creates the file and writes the header; overwrite allows replacing an existing file.
    void Open(bool overwrite);
    // Takes the packet's data; timestamps are in the encoder's time base.
    void Write(AVPacket* packet, const AVCodecContext* encoder, const AVStream* stream);
    // Writes the trailer (and moves the index to the front) and closes the file.
    void Finish();
    int64_t BytesWritten() const { return bytes_.load(); }
    bool NeedsGlobalHeader() const;

  private:
    static int Interrupted(void* opaque);
    void CloseAndRemove();

    const std::string path_;
    const std::atomic<bool>* cancel_;
    OutputContextPtr context_;
    std::mutex mutex_;
    std::atomic<int64_t> bytes_{0};
    bool created_ = false;
    bool finished_ = false;
};

}  // namespace dero
