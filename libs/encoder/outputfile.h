#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "avhandles.h"
#include "descriptorio.h"
#include "filedescriptor.h"

namespace dero {

// The muxer of one output file. Encoder threads write to it at the same time, so packet writes
// are serialised here. Everything is written to a temporary file beside the output, which only a
// successful Finish moves onto the output's name: a failed or stopped conversion leaves no broken
// file behind and never touches a file that was there before. The output must be named by its
// full path; the folder and the temporary are held open and written by descriptor.
class TOutputFile {
  public:
    TOutputFile(const std::string& path, const std::string& format, bool bitExact,
                const std::atomic<bool>* cancel);
    ~TOutputFile();
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    // Before Open: a stream carrying what the opened encoder produces.
    AVStream* AddStream(const AVCodecContext* encoder);
    // Creates the temporary file and writes the header; overwrite allows the finished file to
    // replace one that exists now. Throws when the output names something other than a regular
    // file or is not a full path. Leftover temporaries of killed runs in the folder go first.
    void Open(bool overwrite);
    // Takes the packet's data; timestamps are in the encoder's time base.
    void Write(AVPacket* packet, const AVCodecContext* encoder, const AVStream* stream);
    // Writes every packet the encoder has ready, showing each to seen first; returns how many.
    // what names the encoding in an error.
    int WriteReady(AVCodecContext* encoder, const AVStream* stream, const std::string& what,
                   const std::function<void(const AVPacket&)>& seen = {});
    // Writes the trailer (and moves the index to the front), closes the file and gives it the
    // output's name. A file that took that name during the run is kept: the output then takes
    // the next free name (a number before the extension), and Note() says so.
    void Finish();
    // Empty, or a "note: ..." line about where the output went.
    const std::string& Note() const { return note_; }
    int64_t BytesWritten() const { return bytes_.load(); }
    bool NeedsGlobalHeader() const;

  private:
    static int Interrupted(void* opaque);
    static int OpenAgain(AVFormatContext* context, AVIOContext** io, const char* url, int flags,
                         AVDictionary** options);
    static int CloseAgain(AVFormatContext* context, AVIOContext* io);
    void OpenFolder();
    void CreateTemporary();
    void Publish();
    bool PublishAs(const std::string& name);
    void CloseAndRemove();

    const std::string path_;
    std::string target_;
    std::string folder_;
    std::string name_;
    std::string temporary_;
    std::string note_;
    bool replace_ = false;
    TFileDescriptor folderFd_;
    TFileDescriptor fileFd_;
    TDescriptorIo::TPtr io_;
    const std::atomic<bool>* cancel_;
    OutputContextPtr context_;
    std::mutex mutex_;
    std::atomic<int64_t> bytes_{0};
    bool created_ = false;
    bool finished_ = false;
};

}  // namespace dero
