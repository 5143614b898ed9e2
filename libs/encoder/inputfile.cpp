#include "inputfile.h"

#include <sys/stat.h>

#include <cmath>

#include "dero_readers.h"
#include "encodeerror.h"

namespace dero {

namespace {

// Pipes, devices and folders are refused before opening: reading a pipe could wait forever and
// a device is not a clip.
void RequireRegularFile(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        throw TEncodeError("not a regular file: " + path);
    }
}

// Built once: every file opened asks for it.
const std::string& SingleFileFormats() {
    static const std::string kFormats = SingleFileReaders();
    return kFormats;
}

}  // namespace

TInputFile::TInputFile(const std::string& path, const std::atomic<bool>* cancel,
                       std::chrono::milliseconds timeLimit)
    : path_(path), cancel_(cancel), deadline_(std::chrono::steady_clock::now() + timeLimit) {
    RequireRegularFile(path);
    AVFormatContext* context = avformat_alloc_context();
    if (!context) {
        throw TEncodeError("out of memory");
    }
    context->interrupt_callback = {&TInputFile::Interrupted, this};
    context->opaque = this;
    openDefault_ = context->io_open;
    context->io_open = &TInputFile::OpenOnlySource;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", SingleFileFormats().c_str(), 0);
    // avformat_open_input frees the context itself when it fails.
    const int opened = avformat_open_input(&context, path.c_str(), nullptr, &options);
    av_dict_free(&options);
    Check(opened, "cannot open " + path);
    context_.reset(context);
    Check(avformat_find_stream_info(context, nullptr), "cannot read " + path);
    ChooseStreams();
}

int TInputFile::OpenOnlySource(AVFormatContext* context, AVIOContext** pb, const char* url,
                               int flags, AVDictionary** options) {
    // Playlists, concatenation lists and picture sequences name further files; a crafted clip
    // could pull any readable file of the user into its output that way. Only the clip itself
    // may be opened.
    const auto* self = static_cast<const TInputFile*>(context->opaque);
    if (!url || (self->path_ != url && "file:" + self->path_ != url)) {
        return AVERROR(EPERM);
    }
    return self->openDefault_(context, pb, url, flags, options);
}

void TInputFile::SetReadLimit(std::chrono::milliseconds limit, const std::atomic<bool>* flag) {
    deadline_ = std::chrono::steady_clock::now() + limit;
    alsoCancel_ = flag;
}

int TInputFile::Interrupted(void* opaque) {
    const auto* self = static_cast<const TInputFile*>(opaque);
    return (self->cancel_ && self->cancel_->load()) ||
           (self->alsoCancel_ && self->alsoCancel_->load()) ||
           std::chrono::steady_clock::now() > self->deadline_;
}

void TInputFile::ChooseStreams() {
    int64_t bestArea = 0;
    for (unsigned i = 0; i < context_->nb_streams; ++i) {
        const AVStream* stream = context_->streams[i];
        const AVCodecParameters* par = stream->codecpar;
        if (par->codec_type != AVMEDIA_TYPE_VIDEO ||
            (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) || par->width <= 0 ||
            par->height <= 0 || !avcodec_find_decoder(par->codec_id)) {
            continue;
        }
        const int64_t area = int64_t{par->width} * par->height;
        if (area > bestArea) {
            bestArea = area;
            video_ = static_cast<int>(i);
        }
    }
    const int audio =
        av_find_best_stream(context_.get(), AVMEDIA_TYPE_AUDIO, -1, video_, nullptr, 0);
    if (audio >= 0 && context_->streams[audio]->codecpar->sample_rate > 0 &&
        context_->streams[audio]->codecpar->ch_layout.nb_channels > 0 &&
        avcodec_find_decoder(context_->streams[audio]->codecpar->codec_id)) {
        audio_ = audio;
    }
}

AVStream* TInputFile::VideoStream() const {
    return video_ >= 0 ? context_->streams[video_] : nullptr;
}

AVStream* TInputFile::AudioStream() const {
    return audio_ >= 0 ? context_->streams[audio_] : nullptr;
}

bool TInputFile::IsSameFile(const std::string& path) const {
    struct stat mine {};
    struct stat other {};
    return ::stat(path_.c_str(), &mine) == 0 && ::stat(path.c_str(), &other) == 0 &&
           mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

int64_t TInputFile::DurationMicroseconds() const {
    if (context_->duration > 0 && context_->duration != AV_NOPTS_VALUE) {
        return context_->duration;
    }
    const AVStream* video = VideoStream();
    if (video && video->duration > 0 && video->duration != AV_NOPTS_VALUE) {
        return av_rescale_q(video->duration, video->time_base, AV_TIME_BASE_Q);
    }
    return 0;
}

int64_t TInputFile::StartMicroseconds() const {
    return context_->start_time == AV_NOPTS_VALUE ? 0 : context_->start_time;
}

int TInputFile::Rotation(const AVStream* stream) {
    const uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    if (!matrix) {
        return 0;
    }
    const double counterClockwise =
        av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
    if (std::isnan(counterClockwise)) {
        return 0;
    }
    const long quarterTurns = std::lround(-counterClockwise / 90.0);
    return static_cast<int>(((quarterTurns % 4) + 4) % 4) * 90;
}

void TInputFile::DisplaySize(int& width, int& height) const {
    width = height = 0;
    AVStream* stream = VideoStream();
    if (!stream) {
        return;
    }
    width = stream->codecpar->width;
    height = stream->codecpar->height;
    const AVRational sar = av_guess_sample_aspect_ratio(context_.get(), stream, nullptr);
    if (sar.num > 0 && sar.den > 0 && av_cmp_q(sar, AVRational{1, 1}) != 0) {
        width = static_cast<int>(std::lround(double(width) * sar.num / sar.den));
    }
    if (Rotation(stream) % 180 != 0) {
        std::swap(width, height);
    }
}

CodecContextPtr TInputFile::OpenDecoder(const AVStream* stream, int threads, int lowres) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        throw TEncodeError(std::string("no decoder for ") +
                           avcodec_get_name(stream->codecpar->codec_id));
    }
    CodecContextPtr decoder = MakeCodecContext(codec);
    Check(avcodec_parameters_to_context(decoder.get(), stream->codecpar), "decoder setup");
    decoder->pkt_timebase = stream->time_base;
    decoder->thread_count = threads;
    decoder->lowres = std::min(lowres, int{codec->max_lowres});
    Check(avcodec_open2(decoder.get(), codec, nullptr),
          std::string("cannot open the ") + codec->name + " decoder");
    return decoder;
}

}  // namespace dero
