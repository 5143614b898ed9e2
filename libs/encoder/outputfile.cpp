#include "outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "encodeerror.h"

namespace dero {

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
    // O_EXCL makes "do not overwrite" hold even against a file that appears meanwhile.
    const int descriptor =
        ::open(path_.c_str(), O_WRONLY | O_CREAT | (overwrite ? O_TRUNC : O_EXCL), 0644);
    if (descriptor < 0) {
        throw TEncodeError(errno == EEXIST
                               ? "the output file exists (give -y to overwrite it): " + path_
                               : "cannot create the output file " + path_);
    }
    ::close(descriptor);
    created_ = true;
    Check(avio_open2(&context_->pb, path_.c_str(), AVIO_FLAG_WRITE, &context_->interrupt_callback,
                     nullptr),
          "cannot write the output file " + path_);
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "+faststart", 0);
    const int written = avformat_write_header(context_.get(), &options);
    av_dict_free(&options);
    Check(written, "cannot write the output header");
}

void TOutputFile::Write(AVPacket* packet, const AVCodecContext* encoder, const AVStream* stream) {
    std::lock_guard lock(mutex_);
    packet->stream_index = stream->index;
    av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
    Check(av_interleaved_write_frame(context_.get(), packet), "writing the output file");
    bytes_ = avio_tell(context_->pb);
}

void TOutputFile::Finish() {
    std::lock_guard lock(mutex_);
    Check(av_write_trailer(context_.get()), "finishing the output file");
    Check(avio_closep(&context_->pb), "closing the output file");
    finished_ = true;
    // Moving the index to the front rewrote the file; its size is the true count now.
    struct stat status {};
    if (stat(path_.c_str(), &status) == 0) {
        bytes_ = status.st_size;
    }
}

void TOutputFile::CloseAndRemove() {
    if (context_ && context_->pb) {
        avio_closep(&context_->pb);
    }
    if (created_) {
        std::remove(path_.c_str());
    }
}

}  // namespace dero
