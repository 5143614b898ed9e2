#include "outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "encodeerror.h"

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

// A hidden name in the output's folder, so the final rename never crosses file systems.
std::string TemporaryBeside(const std::string& target) {
    const std::string::size_type slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    char tag[16];
    std::snprintf(tag, sizeof tag, "%08x", av_get_random_seed());
    return folder + "." + name + "." + tag + ".part";
}

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
    if (!finished_) {
        CloseAndRemove();
    }
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
    overwrite_ = overwrite;
    target_ = WritableTarget(path_, overwrite);
    CreateTemporary();
    Check(avio_open2(&context_->pb, temporary_.c_str(), AVIO_FLAG_WRITE,
                     &context_->interrupt_callback, nullptr),
          "cannot write the output file " + path_);
    AVDictionary* options = nullptr;
    // The colour box tells players what the pictures hold instead of leaving them to guess.
    av_dict_set(&options, "movflags", "+faststart+write_colr", 0);
    const int written = avformat_write_header(context_.get(), &options);
    av_dict_free(&options);
    Check(written, "cannot write the output header");
}

void TOutputFile::CreateTemporary() {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string candidate = TemporaryBeside(target_);
        const int descriptor = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (descriptor >= 0) {
            ::close(descriptor);
            temporary_ = candidate;
            created_ = true;
            break;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    if (!created_) {
        throw TEncodeError("cannot create the output file " + path_);
    }
    // The index move at the end reopens the file by the context's name, so it must be this one.
    av_free(context_->url);
    context_->url = av_strdup(temporary_.c_str());
    if (!context_->url) {
        throw TEncodeError("out of memory");
    }
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
    Check(avio_closep(&context_->pb), "closing the output file");
    // Moving the index to the front rewrote the file; its size is the true count now.
    struct stat status {};
    if (stat(temporary_.c_str(), &status) == 0) {
        bytes_ = status.st_size;
    }
    Publish();
    finished_ = true;
}

void TOutputFile::Publish() {
    if (overwrite_) {
        if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
            throw TEncodeError("cannot write the output file " + path_);
        }
        return;
    }
    // Without overwriting, a file that appeared during the run is kept, not replaced.
    if (::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) ==
        0) {
        return;
    }
    if (errno == EEXIST) {
        throw TEncodeError("the output file exists (give -y to overwrite it): " + path_);
    }
    // Some file systems cannot rename without replacing; a hard link refuses an existing name too.
    if (errno == EINVAL && ::link(temporary_.c_str(), target_.c_str()) == 0) {
        ::unlink(temporary_.c_str());
        return;
    }
    throw TEncodeError(errno == EEXIST
                           ? "the output file exists (give -y to overwrite it): " + path_
                           : "cannot write the output file " + path_);
}

void TOutputFile::CloseAndRemove() {
    if (context_ && context_->pb) {
        avio_closep(&context_->pb);
    }
    // Only the temporary file is ever removed: it is the one thing this run created.
    if (created_) {
        ::unlink(temporary_.c_str());
    }
}

}  // namespace dero
