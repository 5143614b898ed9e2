#pragma once

#include <atomic>
#include <chrono>
#include <string>

#include "avhandles.h"

namespace dero {

// An opened source file with its chosen video and audio streams. Opening never hangs: reads are
// interrupted when the cancel flag is raised or the time limit has passed. Only a regular file
// is read, and no other file is opened on its behalf.
class TInputFile {
  public:
    // Throws TEncodeError when the file cannot be opened or read.
    TInputFile(const std::string& path, const std::atomic<bool>* cancel,
               std::chrono::milliseconds timeLimit);
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;

    AVFormatContext* Context() const { return context_.get(); }
    // Reads from now on end within limit, and also when flag is raised. For the run after
    // opening, whose length the caller bounds by watching its progress.
    void SetReadLimit(std::chrono::milliseconds limit, const std::atomic<bool>* flag);
    // Null when the file has no usable video (cover pictures do not count) or no audio.
    AVStream* VideoStream() const;
    AVStream* AudioStream() const;
    // True when path names this very file (under any name or link).
    bool IsSameFile(const std::string& path) const;
    // The container's duration in microseconds, or 0 when it is unknown.
    int64_t DurationMicroseconds() const;
    // The container's first timestamp in microseconds (0 when unknown).
    int64_t StartMicroseconds() const;

    // Clockwise rotation that turns the stream's pictures upright: 0, 90, 180 or 270.
    static int Rotation(const AVStream* stream);
    // The picture size as shown: sample aspect applied to the width, rotation applied.
    void DisplaySize(int& width, int& height) const;
    // A decoder for the stream, opened; throws TEncodeError when there is none. lowres shrinks
    // its pictures by 2^lowres each side, for decoders that can.
    static CodecContextPtr OpenDecoder(const AVStream* stream, int threads, int lowres = 0);

  private:
    static int Interrupted(void* opaque);
    static int OpenOnlySource(AVFormatContext* context, AVIOContext** pb, const char* url,
                              int flags, AVDictionary** options);
    void ChooseStreams();

    using OpenFunction = int (*)(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**);
    const std::string path_;
    OpenFunction openDefault_ = nullptr;
    const std::atomic<bool>* cancel_;
    const std::atomic<bool>* alsoCancel_ = nullptr;
    std::chrono::steady_clock::time_point deadline_;
    InputContextPtr context_;
    int video_ = -1;
    int audio_ = -1;
};

}  // namespace dero
