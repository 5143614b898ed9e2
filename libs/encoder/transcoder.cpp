#include "transcoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

#include "audiopath.h"
#include "colourplan.h"
#include "encodeerror.h"
#include "lowreschoice.h"
#include "rateplan.h"
#include "signaltypewriter.h"
#include "silenttrack.h"
#include "timestampmender.h"
#include "videopath.h"

namespace dero {
namespace {

// Local files open in well under a second; the limit ends a demuxer that searches forever.
constexpr std::chrono::seconds kOpenTimeLimit{30};
// Conversions run for hours at most; while they run, the supervisor's watch on progress bounds
// every read instead.
constexpr std::chrono::hours kNoTimeLimit{24 * 365};
// A clip that ends this much before its planned length was cut short.
constexpr double kShortfallSeconds = 0.5;

// Profile texts give NTSC rates as 14.985, 23.976, 29.97; their exact values keep the MPEG-4
// time base small and the timing free of drift.
AVRational FrameRateOf(double fps) {
    for (const int base : {15, 24, 30, 48, 60}) {
        const AVRational ntsc{base * 1000, 1001};
        if (std::fabs(av_q2d(ntsc) - fps) < 0.002) {
            return ntsc;
        }
    }
    return av_d2q(fps, 65535);
}

// One frame thread more than the decoder's own choice (a core more than there are): while a
// picture waits for rows of the one it is predicted from, another goes on, and the cores stay
// busy when the filter and encoder threads wait too. Measured on two cores at 1080p: 2-4 % less
// wall time for the same CPU.
int VideoDecoderThreads() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency() + 2, 2u, 16u));
}

}  // namespace

TTranscoder::TTranscoder(const TConvertOptions& options, const std::atomic<bool>& stop)
    : options_(options), stop_(stop), pipeline_(stop) {
    if (options_.durationSeconds && *options_.durationSeconds <= 0) {
        throw TEncodeError("nothing to convert: the length (-t) is 0 seconds");
    }
    OpenSource();
    if (input_->IsSameFile(options_.outputFile)) {
        throw TEncodeError("the output file is the source file: " + options_.outputFile);
    }
    // Writing the trailer may move megabytes to put the index in front; a stop interrupts that too.
    output_ = std::make_unique<TOutputFile>(options_.outputFile, options_.format, options_.bitExact,
                                            &stop_);
    SetUpVideo();
    SetUpAudio();
    output_->Open(options_.overwrite);
}

TTranscoder::~TTranscoder() = default;

void TTranscoder::OpenSource() {
    // A stop during opening interrupts the reads; failures of later stages stop the reader through
    // the pipeline's abort flag, which it checks per packet.
    input_ = std::make_unique<TInputFile>(options_.inputFile, &stop_, kOpenTimeLimit);
    AVStream* videoIn = input_->VideoStream();
    AVStream* audioIn = input_->AudioStream();
    if (!videoIn) {
        throw TEncodeError("the source has no video that can be decoded: " + options_.inputFile);
    }
    videoIn_ = TStreamFacts::Of(input_->Context(), videoIn);
    if (audioIn) {
        audioIn_ = TStreamFacts::Of(input_->Context(), audioIn);
    }
    PlanLength();
    SeekToStart();
    input_->SetReadLimit(kNoTimeLimit, &pipeline_.AbortFlag());
    videoDecoder_ =
        TInputFile::OpenDecoder(videoIn, VideoDecoderThreads(), DecodeLevel(videoIn->codecpar));
    if (audioIn) {
        audioDecoder_ = OpenSound(audioIn);
    }
    if (!audioDecoder_) {
        audioIn = nullptr;
        audioIn_.reset();
    }
    ChooseStreams(videoIn, audioIn);
}

int TTranscoder::DecodeLevel(const AVCodecParameters* video) const {
    const AVCodec* codec = avcodec_find_decoder(video->codec_id);
    if (!options_.decodeSmall || !codec || options_.width <= 0) {
        return 0;
    }
    const int width = options_.width - options_.padLeft - options_.padRight;
    const int height = options_.height - options_.padTop - options_.padBottom;
    return TLowresChoice::Level(video->codec_id, codec->max_lowres, video->width, video->height,
                                videoIn_.rotation, width, height);
}

// A sound track that cannot be decoded or filtered costs the sound, not the picture; null then.
CodecContextPtr TTranscoder::OpenSound(AVStream* audioIn) {
    try {
        CodecContextPtr decoder = TInputFile::OpenDecoder(audioIn, 1);
        TAudioPath::CheckFilterable(*decoder, options_, lengthUs_);
        return decoder;
    } catch (const TEncodeError& error) {
        const char* instead = options_.format == "psp" ? "converted with silence in its place"
                                                       : "converted without it";
        notes_.push_back(std::string("note: the sound could not be read (") + error.what() + "); " +
                         instead);
    }
    return nullptr;
}

void TTranscoder::PlanLength() {
    startUs_ = std::llround(options_.startSeconds * AV_TIME_BASE);
    const int64_t durationUs = input_->DurationMicroseconds();
    if (durationUs > 0 && startUs_ >= durationUs) {
        throw TEncodeError("nothing to convert: the start time lies beyond the end of the source");
    }
    if (options_.durationSeconds) {
        lengthUs_ = std::llround(*options_.durationSeconds * AV_TIME_BASE);
    }
    const int64_t available = durationUs > 0 ? durationUs - startUs_ : 0;
    const int64_t planned =
        lengthUs_ ? (available > 0 ? std::min(*lengthUs_, available) : *lengthUs_) : available;
    plannedSeconds_ = double(planned) / AV_TIME_BASE;
}

void TTranscoder::SeekToStart() {
    AVFormatContext* context = input_->Context();
    const int64_t timestamp = startUs_ + input_->StartMicroseconds();
    if (startUs_ > 0) {
        int64_t seekTo = timestamp;
        // Without pts seeking a stream with reordered frames lands slightly late; start earlier
        // and let the exact cut drop the surplus.
        if (!(context->iformat->flags & AVFMT_SEEK_TO_PTS) && videoIn_.videoDelay) {
            seekTo -= 3 * AV_TIME_BASE / 23;
        }
        avformat_seek_file(context, -1, INT64_MIN, seekTo, seekTo, 0);
    }
    startUs_ = timestamp;
}

// The reader hands on only the chosen streams' packets; the demuxer need not even read the rest.
void TTranscoder::ChooseStreams(AVStream* videoIn, AVStream* audioIn) {
    AVFormatContext* context = input_->Context();
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        AVStream* stream = context->streams[i];
        stream->discard =
            (stream == videoIn || stream == audioIn) ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
}

CodecContextPtr TTranscoder::VideoEncoder() const {
    int width = options_.width;
    int height = options_.height;
    if (width <= 0) {
        input_->DisplaySize(width, height);
        width = std::max(width & ~1, 16);
        height = std::max(height & ~1, 16);
    }
    AVRational rate{25, 1};
    if (options_.frameRate > 0) {
        rate = FrameRateOf(options_.frameRate);
    } else {
        const AVRational guessed = videoIn_.frameRate;
        const double fps = guessed.num > 0 && guessed.den > 0 ? av_q2d(guessed) : 25.0;
        rate = FrameRateOf(std::clamp(fps, 1.0, 120.0));
    }
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec) {
        throw TEncodeError("no MPEG-4 video encoder");
    }
    CodecContextPtr encoder = MakeCodecContext(codec);
    encoder->width = width;
    encoder->height = height;
    encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder->sample_aspect_ratio = {1, 1};
    encoder->time_base = av_inv_q(rate);
    encoder->framerate = rate;
    encoder->gop_size = 12;
    // Simple Profile: no B-frames, no quarter-pel, no global motion compensation.
    encoder->max_b_frames = 0;
    TRatePlan::For(width, height, rate, options_.videoKbps, options_.format).ApplyTo(encoder.get());
    // One slice per picture: the stream does not depend on the machine's core count, and the
    // pipeline keeps the cores busy anyway.
    encoder->thread_count = 1;
    if (output_->NeedsGlobalHeader()) {
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (options_.bitExact) {
        encoder->flags |= AV_CODEC_FLAG_BITEXACT;
    }
    TColourPlan(videoIn_.colour).Tag(encoder.get());
    Check(avcodec_open2(encoder.get(), codec, nullptr), "cannot open the MPEG-4 encoder");
    TSignalTypeWriter::Apply(encoder.get());
    return encoder;
}

CodecContextPtr TTranscoder::AudioEncoder() const {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!codec) {
        throw TEncodeError("no AAC encoder");
    }
    CodecContextPtr encoder = MakeCodecContext(codec);
    encoder->sample_fmt = AV_SAMPLE_FMT_FLTP;
    encoder->sample_rate = options_.sampleRate;
    av_channel_layout_default(&encoder->ch_layout, options_.audioChannels);
    encoder->bit_rate = int64_t{options_.audioKbps} * 1000;
    encoder->profile = FF_PROFILE_AAC_LOW;
    encoder->time_base = {1, options_.sampleRate};
    if (output_->NeedsGlobalHeader()) {
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (options_.bitExact) {
        encoder->flags |= AV_CODEC_FLAG_BITEXACT;
    }
    Check(avcodec_open2(encoder.get(), codec, nullptr), "cannot open the AAC encoder");
    return encoder;
}

TPathEnds TTranscoder::Ends(const TStreamFacts& source, CodecContextPtr decoder,
                            CodecContextPtr encoder) const {
    TPathEnds ends;
    ends.source = source;
    ends.decoder = std::move(decoder);
    ends.startUs = startUs_;
    ends.lengthUs = lengthUs_;
    ends.stream = output_->AddStream(encoder.get());
    ends.encoder = std::move(encoder);
    ends.output = output_.get();
    return ends;
}

void TTranscoder::SetUpVideo() {
    video_ = std::make_unique<TVideoPath>(
        options_, Ends(videoIn_, std::move(videoDecoder_), VideoEncoder()), pipeline_);
}

void TTranscoder::SetUpAudio() {
    if (audioIn_) {
        audio_ = std::make_unique<TAudioPath>(
            options_, Ends(*audioIn_, std::move(audioDecoder_), AudioEncoder()), pipeline_);
        return;
    }
    // The PSP's muxer and players need an audio track: a silent source gets a silent one.
    if (options_.format == "psp") {
        CodecContextPtr encoder = AudioEncoder();
        AVStream* stream = output_->AddStream(encoder.get());
        silence_ = std::make_unique<TSilentTrack>(std::move(encoder), stream, *output_, pipeline_);
        video_->PaceSilence(silence_.get());
    }
}

TTranscoder::TResult TTranscoder::Run(const std::function<void(const TProgress&)>& report) {
    started_ = std::chrono::steady_clock::now();
    pipeline_.Run(
        Stages(), [this] { WakeStages(); }, [&] { report(Snapshot()); });
    if (stop_.load()) {
        return TResult::Stopped;
    }
    if (const std::string error = pipeline_.Error(); !error.empty()) {
        throw TEncodeError(error);
    }
    if (video_->FramesEncoded() == 0) {
        if (video_->FramesDecoded() == 0) {
            throw TEncodeError("the video cannot be decoded: the source gave no picture");
        }
        throw TEncodeError("nothing to convert: no picture lies in the chosen time range");
    }
    try {
        output_->Finish();
    } catch (const TEncodeError&) {
        if (stop_.load()) {
            return TResult::Stopped;
        }
        throw;
    }
    const TProgress last = Snapshot();
    NoteDamage(last);
    if (!output_->Note().empty()) {
        notes_.push_back(output_->Note());
    }
    report(last);
    return TResult::Finished;
}

void TTranscoder::NoteDamage(const TProgress& last) {
    if (readDamaged_.load() || video_->SourceDamaged() ||
        (plannedSeconds_ > 0 && last.seconds < plannedSeconds_ - kShortfallSeconds)) {
        char note[160];
        std::snprintf(note, sizeof note,
                      "note: the source is damaged or cut short: converted up to its last good "
                      "picture, %.2f s",
                      last.seconds);
        notes_.emplace_back(note);
    }
}

std::vector<TPipeline::TStage> TTranscoder::Stages() {
    std::vector<TPipeline::TStage> stages = {
        [this] { ReadPackets(); },
        [this] { video_->Decode(); },
        [this] { video_->Filter(); },
        [this] { video_->Encode(); },
    };
    if (audio_) {
        stages.emplace_back([this] { audio_->Convert(); });
        stages.emplace_back([this] { audio_->Encode(); });
    }
    return stages;
}

void TTranscoder::WakeStages() {
    video_->Wake();
    if (audio_) {
        audio_->Wake();
    }
}

TProgress TTranscoder::Snapshot() const {
    TProgress progress;
    progress.frames = video_->FramesEncoded();
    progress.seconds = double(progress.frames) / av_q2d(video_->Rate());
    progress.quality = video_->Quality();
    progress.bytes = output_->BytesWritten();
    progress.elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    return progress;
}

void TTranscoder::ReadPackets() {
    AVFormatContext* context = input_->Context();
    TTimestampMender mender(context);
    while (!pipeline_.Aborted() && !(video_->Done() && (!audio_ || audio_->Done()))) {
        PacketPtr packet = MakePacket();
        const int read = av_read_frame(context, packet.get());
        if (read == AVERROR(EAGAIN)) {
            continue;
        }
        if (read < 0) {
            // A damaged tail: convert what could be read, and say so.
            readDamaged_ = read != AVERROR_EOF;
            break;
        }
        mender.Mend(packet.get());
        // A queue refuses once its stage has all it needs; the packet is then dropped.
        if (packet->stream_index == videoIn_.index) {
            video_->Accept(std::move(packet));
        } else if (audio_ && packet->stream_index == audioIn_->index) {
            audio_->Accept(std::move(packet));
        }
    }
    video_->Accept(nullptr);
    if (audio_) {
        audio_->Accept(nullptr);
    }
}

}  // namespace dero
