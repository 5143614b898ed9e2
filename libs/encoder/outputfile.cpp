#include "outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "encodeerror.h"
#include "temporaryname.h"

namespace dero {

namespace {

// The file the output name stands for: the name itself, or where its symbolic link points.
// Anything that is not a regular file (a device, a folder, a pipe) is refused, so a run never
// writes into or replaces one.
std::string WritableTarget(const std::string& path, bool overwrite) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return path;
    }
    if (!overwrite) {
        throw TEncodeError("the output file exists (give -y to overwrite it): " + path);
    }
    std::string target = path;
    if (S_ISLNK(status.st_mode)) {
        char resolved[PATH_MAX];
        if (!::realpath(path.c_str(), resolved) || ::stat(resolved, &status) != 0) {
            throw TEncodeError("the output is a broken link: " + path);
        }
        target = resolved;
    }
    if (!S_ISREG(status.st_mode)) {
        throw TEncodeError("the output is not a regular file: " + path);
    }
    return target;
}

std::string Reason() {
    return std::strerror(errno);
}

// The name with n before its extension: clip.MP4 becomes clip1.MP4, as the program numbers.
std::string Numbered(const std::string& name, int n) {
    const std::string::size_type dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return name + std::to_string(n);
    }
    return name.substr(0, dot) + std::to_string(n) + name.substr(dot);
}

constexpr int kMaxNumber = 9999;

}  // namespace

TOutputFile::TOutputFile(const std::string& path, const std::string& format, bool bitExact,
                         const std::atomic<bool>* cancel)
    : path_(path), cancel_(cancel) {
    AVFormatContext* context = nullptr;
    Check(avformat_alloc_output_context2(&context, nullptr, format.c_str(), path.c_str()),
          "output format " + format);
    context_.reset(context);
    context->interrupt_callback = {&TOutputFile::Interrupted, this};
    if (bitExact) {
        context->flags |= AVFMT_FLAG_BITEXACT;
    }
}

TOutputFile::~TOutputFile() {
    CloseAndRemove();
}

int TOutputFile::Interrupted(void* opaque) {
    const auto* self = static_cast<const TOutputFile*>(opaque);
    return self->cancel_ && self->cancel_->load();
}

bool TOutputFile::NeedsGlobalHeader() const {
    return context_->oformat->flags & AVFMT_GLOBALHEADER;
}

AVStream* TOutputFile::AddStream(const AVCodecContext* encoder) {
    AVStream* stream = avformat_new_stream(context_.get(), nullptr);
    if (!stream) {
        throw TEncodeError("out of memory");
    }
    Check(avcodec_parameters_from_context(stream->codecpar, encoder), "output stream");
    stream->time_base = encoder->time_base;
    if (encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        stream->avg_frame_rate = encoder->framerate;
        stream->sample_aspect_ratio = encoder->sample_aspect_ratio;
    }
    return stream;
}

void TOutputFile::Open(bool overwrite) {
    // A relative name would be read against whatever the current folder is, and FFmpeg reads a
    // leading "word:" as a protocol: only a full path names one file.
    if (path_.empty() || path_.front() != '/') {
        throw TEncodeError("the output file must be given with its full path: " + path_);
    }
    target_ = WritableTarget(path_, overwrite);
    struct stat status {};
    replace_ = overwrite && ::lstat(target_.c_str(), &status) == 0;
    OpenFolder();
    TTemporaryName::RemoveStale(folderFd_.Get());
    CreateTemporary();
    io_ = TDescriptorIo::Open(fileFd_.Get(), true);
    context_->pb = io_.get();
    // The index move at the end reads the file back through io_open: it gets the same file.
    context_->opaque = this;
    context_->io_open = &TOutputFile::OpenAgain;
    context_->io_close2 = &TOutputFile::CloseAgain;
    AVDictionary* options = nullptr;
    // The colour box tells players what the pictures hold instead of leaving them to guess.
    av_dict_set(&options, "movflags", "+faststart+write_colr", 0);
    const int written = avformat_write_header(context_.get(), &options);
    av_dict_free(&options);
    Check(written, "cannot write the output header");
}

void TOutputFile::OpenFolder() {
    const std::string::size_type slash = target_.rfind('/');
    folder_ = target_.substr(0, slash + 1);
    name_ = target_.substr(slash + 1);
    folderFd_ = TFileDescriptor(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd_.IsOpen()) {
        throw TEncodeError("cannot create the output file " + path_ + ": " + Reason());
    }
}

void TOutputFile::CreateTemporary() {
    for (int attempt = 0; attempt < 16 && !created_; ++attempt) {
        const std::string candidate = TTemporaryName::Fresh();
        fileFd_ =
            TFileDescriptor(::openat(folderFd_.Get(), candidate.c_str(),
                                     O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (fileFd_.IsOpen()) {
            temporary_ = candidate;
            created_ = true;
        } else if (errno != EEXIST) {
            break;
        }
    }
    if (!created_) {
        throw TEncodeError("cannot create the output file " + path_ + ": " + Reason());
    }
    av_free(context_->url);
    context_->url = av_strdup((folder_ + temporary_).c_str());
    if (!context_->url) {
        throw TEncodeError("out of memory");
    }
}

int TOutputFile::OpenAgain(AVFormatContext* context, AVIOContext** io, const char* url, int flags,
                           AVDictionary**) {
    const auto* self = static_cast<const TOutputFile*>(context->opaque);
    if ((flags & AVIO_FLAG_WRITE) || !url || std::strcmp(url, context->url) != 0) {
        return AVERROR(EPERM);
    }
    try {
        *io = TDescriptorIo::Open(self->fileFd_.Get(), false).release();
    } catch (const std::bad_alloc&) {
        return AVERROR(ENOMEM);
    }
    return 0;
}

int TOutputFile::CloseAgain(AVFormatContext*, AVIOContext* io) {
    TDescriptorIo::TPtr owned(io);
    return 0;
}

void TOutputFile::Write(AVPacket* packet, const AVCodecContext* encoder, const AVStream* stream) {
    std::lock_guard lock(mutex_);
    packet->stream_index = stream->index;
    av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
    Check(av_interleaved_write_frame(context_.get(), packet), "writing the output file");
    bytes_ = avio_tell(context_->pb);
}

int TOutputFile::WriteReady(AVCodecContext* encoder, const AVStream* stream,
                            const std::string& what,
                            const std::function<void(const AVPacket&)>& seen) {
    PacketPtr packet = MakePacket();
    int written = 0;
    int received = 0;
    while ((received = avcodec_receive_packet(encoder, packet.get())) >= 0) {
        if (seen) {
            seen(*packet);
        }
        Write(packet.get(), encoder, stream);
        av_packet_unref(packet.get());
        ++written;
    }
    if (received != AVERROR(EAGAIN) && received != AVERROR_EOF) {
        Check(received, what);
    }
    return written;
}

void TOutputFile::Finish() {
    std::lock_guard lock(mutex_);
    Check(av_write_trailer(context_.get()), "finishing the output file");
    if (!TDescriptorIo::Flush(context_->pb)) {
        throw TEncodeError("writing the output file: " + ErrorText(context_->pb->error));
    }
    context_->pb = nullptr;
    io_.reset();
    // Moving the index to the front rewrote the file; its size is the true count now.
    struct stat status {};
    if (::fstat(fileFd_.Get(), &status) == 0) {
        bytes_ = status.st_size;
    }
    // A network file system may report a failed write only at the close.
    if (::close(fileFd_.Release()) != 0) {
        throw TEncodeError("closing the output file: " + Reason());
    }
    // The descriptor's I/O has no interrupt of its own: a stop during the trailer ends here, and
    // the unfinished file is removed rather than published.
    if (cancel_ && cancel_->load()) {
        throw TEncodeError("the conversion was stopped");
    }
    Publish();
    finished_ = true;
}

void TOutputFile::Publish() {
    if (replace_) {
        if (::renameat(folderFd_.Get(), temporary_.c_str(), folderFd_.Get(), name_.c_str()) != 0) {
            throw TEncodeError("cannot write the output file " + path_ + ": " + Reason());
        }
        return;
    }
    // A file that took the name during the run is someone's: it stays, and the output takes
    // the next free name, as the program chooses names.
    for (int n = 0; n <= kMaxNumber; ++n) {
        const std::string name = n == 0 ? name_ : Numbered(name_, n);
        if (PublishAs(name)) {
            if (n > 0) {
                note_ = "note: a file named " + name_ +
                        " appeared during the conversion and was kept; the output is " + folder_ +
                        name;
            }
            return;
        }
        if (errno != EEXIST) {
            throw TEncodeError("cannot write the output file " + path_ + ": " + Reason());
        }
    }
    throw TEncodeError("cannot write the output file " + path_ + ": no free name");
}

// False with errno EEXIST when the name is taken (by anything, a dangling link included).
bool TOutputFile::PublishAs(const std::string& name) {
    const int folder = folderFd_.Get();
    if (::renameat2(folder, temporary_.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL) {
        return false;
    }
    // Some file systems cannot rename without replacing; a hard link refuses a taken name too.
    if (::linkat(folder, temporary_.c_str(), folder, name.c_str(), 0) != 0) {
        return false;
    }
    ::unlinkat(folder, temporary_.c_str(), 0);
    return true;
}

void TOutputFile::CloseAndRemove() {
    // The context must not close what it did not open.
    if (context_) {
        context_->pb = nullptr;
    }
    io_.reset();
    fileFd_.Close();
    // Only the temporary file is ever removed: it is the one thing this run created.
    if (created_ && !finished_ && folderFd_.IsOpen()) {
        ::unlinkat(folderFd_.Get(), temporary_.c_str(), 0);
    }
}

}  // namespace dero
