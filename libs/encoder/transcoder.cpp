#include "transcoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

#include "decodeskipplanner.h"
#include "encodeerror.h"
#include "filtergraph.h"
#include "pictureconformer.h"
#include "rateplan.h"
#include "soundconformer.h"
#include "timestampmender.h"

namespace dero {
namespace {

// Local files open in well under a second; the limit ends a demuxer that searches forever.
constexpr std::chrono::seconds kOpenTimeLimit{30};
// Conversions run for hours at most; while they run, the supervisor's watch on progress bounds
// every read instead.
constexpr std::chrono::hours kNoTimeLimit{24 * 365};
// A source that yields no decoded picture or sound and no encoded packet for this long is
// damaged in a way that would otherwise keep the run waiting forever.
constexpr std::chrono::seconds kStallLimit{15};
// Key pictures come every few seconds even in long groups; this many packets in a row without a
// picture means the video cannot be decoded at all.
constexpr int kBarrenPacketLimit = 600;
// A clip that ends this much before its planned length was cut short.
constexpr double kShortfallSeconds = 0.5;
constexpr auto kReportInterval = std::chrono::milliseconds(250);
constexpr auto kStopPollInterval = std::chrono::milliseconds(20);

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

// Filters need to know which channel is which; an unnamed layout of n channels is taken as the
// usual layout of n (WMA and some AVI audio say nothing).
void NameChannels(AVFrame* frame) {
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        const int channels = frame->ch_layout.nb_channels;
        av_channel_layout_uninit(&frame->ch_layout);
        av_channel_layout_default(&frame->ch_layout, channels);
    }
}

std::string Ratio(AVRational value) {
    return std::to_string(value.num) + "/" + std::to_string(value.den);
}

}  // namespace

TTranscoder::TTranscoder(const TConvertOptions& options, const std::atomic<bool>& stop)
    : options_(options), stop_(stop) {
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
    SetUpVideoEncoder();
    SetUpAudioEncoder();
    output_->Open(options_.overwrite);
}

TTranscoder::~TTranscoder() = default;

void TTranscoder::OpenSource() {
    // A stop during opening interrupts the reads; failures of later stages stop the reader through
    // abort_, which it checks per packet.
    input_ = std::make_unique<TInputFile>(options_.inputFile, &stop_, kOpenTimeLimit);
    AVStream* videoIn = input_->VideoStream();
    AVStream* audioIn = input_->AudioStream();
    if (!videoIn) {
        throw TEncodeError("the source has no video that can be decoded: " + options_.inputFile);
    }
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

    AVFormatContext* context = input_->Context();
    videoIn_ = TStreamFacts::Of(context, videoIn);
    if (audioIn) {
        audioIn_ = TStreamFacts::Of(context, audioIn);
    }
    const int64_t timestamp = startUs_ + input_->StartMicroseconds();
    if (startUs_ > 0) {
        int64_t seekTo = timestamp;
        // Without pts seeking a stream with reordered frames lands slightly late; start earlier
        // and let the exact cut below drop the surplus.
        if (!(context->iformat->flags & AVFMT_SEEK_TO_PTS) && videoIn_.videoDelay) {
            seekTo -= 3 * AV_TIME_BASE / 23;
        }
        avformat_seek_file(context, -1, INT64_MIN, seekTo, seekTo, 0);
    }
    startUs_ = timestamp;
    input_->SetReadLimit(kNoTimeLimit, &abort_);
    videoDecoder_ = TInputFile::OpenDecoder(videoIn, 0);
    if (audioIn) {
        audioDecoder_ = TInputFile::OpenDecoder(audioIn, 1);
    }
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        AVStream* stream = context->streams[i];
        stream->discard =
            (stream == videoIn || stream == audioIn) ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
}

void TTranscoder::SetUpVideoEncoder() {
    if (options_.width > 0) {
        outWidth_ = options_.width;
        outHeight_ = options_.height;
    } else {
        input_->DisplaySize(outWidth_, outHeight_);
        outWidth_ = std::max(outWidth_ & ~1, 16);
        outHeight_ = std::max(outHeight_ & ~1, 16);
    }
    if (options_.frameRate > 0) {
        outRate_ = FrameRateOf(options_.frameRate);
    } else {
        const AVRational guessed = videoIn_.frameRate;
        const double fps = guessed.num > 0 && guessed.den > 0 ? av_q2d(guessed) : 25.0;
        outRate_ = FrameRateOf(std::clamp(fps, 1.0, 120.0));
    }
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec) {
        throw TEncodeError("no MPEG-4 video encoder");
    }
    videoEncoder_.reset(avcodec_alloc_context3(codec));
    AVCodecContext* encoder = videoEncoder_.get();
    encoder->width = outWidth_;
    encoder->height = outHeight_;
    encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder->sample_aspect_ratio = {1, 1};
    encoder->time_base = av_inv_q(outRate_);
    encoder->framerate = outRate_;
    encoder->gop_size = 12;
    // Simple Profile: no B-frames, no quarter-pel, no global motion compensation.
    encoder->max_b_frames = 0;
    TRatePlan::For(outWidth_, outHeight_, outRate_, options_.videoKbps, options_.format)
        .ApplyTo(encoder);
    // One slice per picture: the stream does not depend on the machine's core count, and the
    // pipeline keeps the cores busy anyway.
    encoder->thread_count = 1;
    if (output_->NeedsGlobalHeader()) {
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (options_.bitExact) {
        encoder->flags |= AV_CODEC_FLAG_BITEXACT;
    }
    Check(avcodec_open2(encoder, codec, nullptr), "cannot open the MPEG-4 encoder");
    videoOut_ = output_->AddStream(encoder);
}

void TTranscoder::SetUpAudioEncoder() {
    // The PSP's muxer and players need an audio track: a silent source gets a silent one.
    if (!audioIn_ && options_.format != "psp") {
        return;
    }
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!codec) {
        throw TEncodeError("no AAC encoder");
    }
    audioEncoder_.reset(avcodec_alloc_context3(codec));
    AVCodecContext* encoder = audioEncoder_.get();
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
    Check(avcodec_open2(encoder, codec, nullptr), "cannot open the AAC encoder");
    audioOut_ = output_->AddStream(encoder);
}

bool TTranscoder::Deinterlaces(const AVFrame& first) const {
    const AVFieldOrder order = videoIn_.fieldOrder;
    return first.interlaced_frame || (order != AV_FIELD_UNKNOWN && order != AV_FIELD_PROGRESSIVE);
}

std::string TTranscoder::VideoChain(const AVFrame& first) const {
    std::string chain;
    if (Deinterlaces(first)) {
        chain += "yadif=deint=interlaced,";
    }
    // Dropping pictures before scaling them saves the work on every picture the rate
    // conversion would throw away; when pictures are repeated, scaling first does less.
    // start_time=0 repeats the first picture when the video starts after the audio, so both
    // tracks begin together.
    const std::string rate = "fps=" + Ratio(outRate_) + ":start_time=0,";
    const AVRational sourceRate = videoIn_.frameRate;
    const bool fewerPictures = sourceRate.num > 0 && av_cmp_q(outRate_, sourceRate) <= 0;
    if (fewerPictures) {
        chain += rate;
    }
    const int innerWidth = outWidth_ - options_.padLeft - options_.padRight;
    const int innerHeight = outHeight_ - options_.padTop - options_.padBottom;
    chain += TFilterGraph::UprightScale(innerWidth, innerHeight, videoIn_.rotation, "bicubic");
    if (innerWidth != outWidth_ || innerHeight != outHeight_) {
        chain += ",pad=" + std::to_string(outWidth_) + ":" + std::to_string(outHeight_) + ":" +
                 std::to_string(options_.padLeft) + ":" + std::to_string(options_.padTop) +
                 ":black";
    }
    chain += ",setsar=1,";
    if (!fewerPictures) {
        chain += rate;
    }
    chain += "format=yuv420p";
    return chain;
}

std::string TTranscoder::AudioChain() const {
    std::string chain = "atrim=start=0";
    if (lengthUs_) {
        chain += ":duration=" + std::to_string(*lengthUs_) + "us";
    }
    if (options_.volumePercent != 100) {
        chain += ",volume=" + std::to_string(options_.volumePercent / 100.0);
    }
    // async=1 stretches or pads audio whose timestamps jump (AVI, VBR MP3) into a continuous
    // track instead of failing.
    chain += ",aresample=async=1:first_pts=0,aformat=sample_fmts=fltp:sample_rates=" +
             std::to_string(options_.sampleRate) +
             ":channel_layouts=" + (options_.audioChannels == 1 ? "mono" : "stereo");
    return chain;
}

TTranscoder::TResult TTranscoder::Run(const std::function<void(const TProgress&)>& report) {
    started_ = std::chrono::steady_clock::now();
    std::vector<std::thread> stages = StartStages();
    Supervise(report);
    for (auto& stage : stages) {
        stage.join();
    }
    if (stop_.load()) {
        return TResult::Stopped;
    }
    if (!error_.empty()) {
        throw TEncodeError(error_);
    }
    if (framesEncoded_.load() == 0) {
        if (videoFramesDecoded_.load() == 0) {
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
    if (sourceDamaged_.load() ||
        (plannedSeconds_ > 0 && last.seconds < plannedSeconds_ - kShortfallSeconds)) {
        char note[160];
        std::snprintf(note, sizeof note,
                      "note: the source is damaged or cut short: converted up to its last good "
                      "picture, %.2f s",
                      last.seconds);
        notes_.emplace_back(note);
    }
    report(last);
    return TResult::Finished;
}

std::vector<std::thread> TTranscoder::StartStages() {
    std::vector<void (TTranscoder::*)()> bodies = {
        &TTranscoder::ReadPackets, &TTranscoder::DecodeVideo, &TTranscoder::FilterVideo,
        &TTranscoder::EncodeVideo};
    if (audioIn_) {
        bodies.push_back(&TTranscoder::ConvertAudio);
        bodies.push_back(&TTranscoder::EncodeAudio);
    }
    runningStages_ = static_cast<int>(bodies.size());
    std::vector<std::thread> stages;
    for (const auto body : bodies) {
        stages.emplace_back(&TTranscoder::RunStage, this, body);
    }
    return stages;
}

// Until every stage has ended: turns a stop request into an abort within a few milliseconds and
// reports progress at a steady pace.
void TTranscoder::Supervise(const std::function<void(const TProgress&)>& report) {
    auto nextReport = started_;
    auto lastAdvance = started_;
    int64_t lastMarks = progressMarks_.load();
    std::unique_lock lock(stateMutex_);
    while (runningStages_ > 0) {
        stageEnded_.wait_for(lock, kStopPollInterval);
        if (stop_.load() && !abort_.load()) {
            lock.unlock();
            Abort();
            lock.lock();
        }
        const auto now = std::chrono::steady_clock::now();
        if (const int64_t marks = progressMarks_.load(); marks != lastMarks) {
            lastMarks = marks;
            lastAdvance = now;
        } else if (now - lastAdvance > kStallLimit && !abort_.load()) {
            lock.unlock();
            Fail("the source gives nothing to convert: no picture or sound could be decoded for " +
                 std::to_string(kStallLimit.count()) + " s (a damaged file?)");
            lock.lock();
        }
        if (std::chrono::steady_clock::now() >= nextReport && runningStages_ > 0) {
            nextReport += kReportInterval;
            lock.unlock();
            report(Snapshot());
            lock.lock();
        }
    }
}

void TTranscoder::RunStage(void (TTranscoder::*stage)()) {
    try {
        (this->*stage)();
    } catch (const TEncodeError& error) {
        Fail(error.what());
    } catch (const std::exception& error) {
        Fail(std::string("internal failure: ") + error.what());
    }
    std::lock_guard lock(stateMutex_);
    --runningStages_;
    stageEnded_.notify_all();
}

void TTranscoder::Fail(const std::string& message) {
    {
        std::lock_guard lock(stateMutex_);
        if (error_.empty() && !stop_.load()) {
            error_ = message;
        }
    }
    Abort();
}

void TTranscoder::Abort() {
    abort_ = true;
    videoPackets_.Abort();
    audioPackets_.Abort();
    decodedFrames_.Abort();
    filteredFrames_.Abort();
    soundFrames_.Abort();
}

TProgress TTranscoder::Snapshot() const {
    TProgress progress;
    progress.frames = framesEncoded_.load();
    progress.seconds = double(progress.frames) / av_q2d(outRate_);
    progress.quality = qualityTenths_.load() / 10.0;
    progress.bytes = output_->BytesWritten();
    progress.elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    return progress;
}

void TTranscoder::ReadPackets() {
    AVFormatContext* context = input_->Context();
    TTimestampMender mender(context);
    while (!abort_.load() && !(videoDone_.load() && (!audioIn_ || audioDone_.load()))) {
        PacketPtr packet = MakePacket();
        const int read = av_read_frame(context, packet.get());
        if (read == AVERROR(EAGAIN)) {
            continue;
        }
        if (read < 0) {
            // A damaged tail: convert what could be read, and say so.
            if (read != AVERROR_EOF) {
                sourceDamaged_ = true;
            }
            break;
        }
        mender.Mend(packet.get());
        // A queue refuses once its stage has all it needs; the packet is then dropped.
        if (packet->stream_index == videoIn_.index) {
            videoPackets_.Push(std::move(packet));
        } else if (audioIn_ && packet->stream_index == audioIn_->index) {
            audioPackets_.Push(std::move(packet));
        }
    }
    videoPackets_.Push(nullptr);
    audioPackets_.Push(nullptr);
}

void TTranscoder::DecodeVideo() {
    const AVRational timeBase = videoIn_.timeBase;
    videoOffset_ = av_rescale_q(startUs_, AV_TIME_BASE_Q, timeBase);
    videoEnd_ = lengthUs_ ? av_rescale_q(*lengthUs_, AV_TIME_BASE_Q, timeBase) : INT64_MAX;
    const AVRational sourceRate = videoIn_.frameRate;
    defaultVideoDuration_ = std::max<int64_t>(
        1, sourceRate.num > 0 ? av_rescale_q(1, av_inv_q(sourceRate), timeBase) : 1);
    lastVideoDuration_ = defaultVideoDuration_;
    // Only the H.264 decoder is known to leave out exactly the non-reference pictures, with
    // frame threads too.
    TDecodeSkipPlanner planner(
        timeBase, outRate_, videoEnd_,
        options_.skipDroppedPictures && videoIn_.codecId == AV_CODEC_ID_H264);
    FramePtr frame = MakeFrame();
    bool reachedEnd = false;
    int barrenPackets = 0;
    while (!reachedEnd) {
        std::optional<PacketPtr> packet = videoPackets_.Pop();
        if (!packet) {
            return;
        }
        SendVideoPacket(packet->get(), planner);
        int received = 0;
        ++barrenPackets;
        while (!reachedEnd &&
               (received = avcodec_receive_frame(videoDecoder_.get(), frame.get())) >= 0) {
            ++progressMarks_;
            ++videoFramesDecoded_;
            barrenPackets = 0;
            planner.Decoded(frame->pts, frame->best_effort_timestamp);
            const bool first = lastVideoPts_ == AV_NOPTS_VALUE;
            const TPlace place = PlaceVideoFrame(frame.get());
            if (first && place == TPlace::Inside) {
                planner.FirstKept(frame->pts, Deinterlaces(*frame));
            }
            reachedEnd = place == TPlace::AfterEnd;
            if (place != TPlace::Inside) {
                av_frame_unref(frame.get());
            } else if (!decodedFrames_.Push(TFrameItem{std::move(frame)})) {
                return;
            } else {
                frame = MakeFrame();
            }
        }
        // After the final flush nothing follows, whether the decoder says end or error.
        if (!*packet) {
            sourceDamaged_ = sourceDamaged_ || (received < 0 && received != AVERROR_EOF);
            break;
        }
        if (barrenPackets > kBarrenPacketLimit) {
            throw TEncodeError(
                "the video cannot be decoded: " + std::to_string(kBarrenPacketLimit) +
                " packets in a row gave no picture");
        }
    }
    videoDone_ = true;
    videoPackets_.Abort();
    const int64_t endPts =
        reachedEnd ? videoEnd_
                   : (lastVideoPts_ == AV_NOPTS_VALUE ? 0 : lastVideoPts_ + lastVideoDuration_);
    decodedFrames_.Push(TFrameItem{nullptr, endPts});
}

void TTranscoder::SendVideoPacket(AVPacket* packet, TDecodeSkipPlanner& planner) {
    AVCodecContext* decoder = videoDecoder_.get();
    decoder->skip_frame = AVDISCARD_DEFAULT;
    if (packet && packet->pts != AV_NOPTS_VALUE && planner.Skippable(packet->pts - videoOffset_)) {
        // Read as each packet is submitted, also by frame threads; a reference picture is
        // decoded all the same.
        decoder->skip_frame = AVDISCARD_NONREF;
    }
    // A damaged packet only costs its picture.
    avcodec_send_packet(decoder, packet);
}

TTranscoder::TPlace TTranscoder::PlaceVideoFrame(AVFrame* frame) {
    const int64_t pts =
        frame->best_effort_timestamp != AV_NOPTS_VALUE
            ? frame->best_effort_timestamp - videoOffset_
            : (lastVideoPts_ == AV_NOPTS_VALUE ? 0 : lastVideoPts_ + lastVideoDuration_);
    if (pts >= videoEnd_) {
        return TPlace::AfterEnd;
    }
    // Pictures before the start only served to decode the first one; a repeated timestamp would
    // only confuse the rate conversion.
    if (pts < 0 || (lastVideoPts_ != AV_NOPTS_VALUE && pts <= lastVideoPts_)) {
        return TPlace::Outside;
    }
    frame->pts = pts;
    lastVideoDuration_ = frame->pkt_duration > 0 ? frame->pkt_duration : defaultVideoDuration_;
    lastVideoPts_ = pts;
    return TPlace::Inside;
}
void TTranscoder::FilterVideo() {
    std::optional<TFilterGraph> graph;
    TPictureConformer conformer;
    FramePtr filtered = MakeFrame();
    auto drain = [&]() {
        while (graph->Pull(filtered.get()) == 0) {
            filtered->pts =
                av_rescale_q(filtered->pts, graph->OutputTimeBase(), videoEncoder_->time_base);
            if (!filteredFrames_.Push(std::move(filtered))) {
                return false;
            }
            filtered = MakeFrame();
        }
        return true;
    };
    for (;;) {
        std::optional<TFrameItem> item = decodedFrames_.Pop();
        if (!item) {
            return;
        }
        if (!item->frame) {
            if (graph) {
                graph->Close(item->endPts);
                if (!drain()) {
                    return;
                }
            }
            break;
        }
        AVFrame* picture = conformer.Conform(item->frame.get());
        if (!graph) {
            graph = TFilterGraph::ForVideo(*picture, videoIn_.timeBase, VideoChain(*picture),
                                           FilterThreads());
        }
        graph->Push(picture);
        if (!drain()) {
            return;
        }
    }
    filteredFrames_.Push(nullptr);
}

// Scaling a large source is the longest step that runs on one core once decoding leaves out
// what is dropped; the scaler's slices spread it over the cores. Slicing changes no pixel.
int TTranscoder::FilterThreads() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

void TTranscoder::EncodeVideo() {
    for (;;) {
        std::optional<FramePtr> frame = filteredFrames_.Pop();
        if (!frame) {
            return;
        }
        if (*frame) {
            // Let the encoder place key frames by its own group size, not the source's.
            (*frame)->pict_type = AV_PICTURE_TYPE_NONE;
            if (!audioIn_ && audioEncoder_) {
                EncodeSilenceUntil((*frame)->pts + 1);
            }
        }
        Check(avcodec_send_frame(videoEncoder_.get(), frame->get()), "video encoding");
        WritePackets(videoEncoder_.get(), videoOut_, true);
        if (!*frame) {
            break;
        }
    }
    if (!audioIn_ && audioEncoder_) {
        EncodeSilenceUntil(framesEncoded_.load());
        Check(avcodec_send_frame(audioEncoder_.get(), nullptr), "audio encoding");
        WritePackets(audioEncoder_.get(), audioOut_, false);
    }
}

void TTranscoder::EncodeSilenceUntil(int64_t videoPts) {
    const int64_t until =
        av_rescale_q(videoPts, videoEncoder_->time_base, audioEncoder_->time_base);
    while (silentSamples_ < until) {
        FramePtr silence = MakeFrame();
        silence->nb_samples = audioEncoder_->frame_size;
        silence->format = audioEncoder_->sample_fmt;
        silence->sample_rate = audioEncoder_->sample_rate;
        Check(av_channel_layout_copy(&silence->ch_layout, &audioEncoder_->ch_layout), "audio");
        Check(av_frame_get_buffer(silence.get(), 0), "audio");
        av_samples_set_silence(silence->extended_data, 0, silence->nb_samples,
                               silence->ch_layout.nb_channels, audioEncoder_->sample_fmt);
        silence->pts = silentSamples_;
        silentSamples_ += silence->nb_samples;
        EncodeAudioFrame(silence.get());
    }
}

void TTranscoder::ConvertAudio() {
    audioOffset_ = av_rescale_q(startUs_, AV_TIME_BASE_Q, audioIn_->timeBase);
    FramePtr frame = MakeFrame();
    bool reachedEnd = false;
    while (!reachedEnd) {
        std::optional<PacketPtr> packet = audioPackets_.Pop();
        if (!packet) {
            return;
        }
        avcodec_send_packet(audioDecoder_.get(), packet->get());
        int received = 0;
        while (!reachedEnd &&
               (received = avcodec_receive_frame(audioDecoder_.get(), frame.get())) >= 0) {
            ++progressMarks_;
            reachedEnd = !FilterAudioFrame(frame.get());
            av_frame_unref(frame.get());
        }
        // After the final flush nothing follows, whether the decoder says end or error.
        if (!*packet) {
            break;
        }
    }
    audioDone_ = true;
    audioPackets_.Abort();
    if (audioGraph_) {
        audioGraph_->Close(reachedEnd ? audioEnd_ : nextAudioPts_);
        DrainAudio();
    }
    soundFrames_.Push(nullptr);
}

void TTranscoder::EncodeAudio() {
    for (;;) {
        std::optional<FramePtr> frame = soundFrames_.Pop();
        if (!frame) {
            return;
        }
        EncodeAudioFrame(frame->get());
        if (!*frame) {
            return;
        }
    }
}

bool TTranscoder::FilterAudioFrame(AVFrame* frame) {
    NameChannels(frame);
    if (!audioGraph_) {
        // The chain counts in samples of the source's first rate.
        sampleBase_ = {1, frame->sample_rate};
        audioEnd_ = lengthUs_ ? av_rescale_q(*lengthUs_, AV_TIME_BASE_Q, sampleBase_) : INT64_MAX;
        audioGraph_ = TFilterGraph::ForAudio(*frame, sampleBase_, AudioChain());
        av_buffersink_set_frame_size(audioGraph_->Sink(), audioEncoder_->frame_size);
    }
    const int64_t pts = frame->best_effort_timestamp != AV_NOPTS_VALUE
                            ? av_rescale_q(frame->best_effort_timestamp - audioOffset_,
                                           audioIn_->timeBase, sampleBase_)
                            : nextAudioPts_;
    nextAudioPts_ = pts + av_rescale_q(frame->nb_samples, {1, frame->sample_rate}, sampleBase_);
    if (pts >= audioEnd_) {
        return false;
    }
    if (nextAudioPts_ > 0) {
        frame->pts = pts;
        if (AVFrame* sound = soundConformer_.Conform(frame)) {
            audioGraph_->Push(sound);
            DrainAudio();
        }
    }
    return true;
}

// A refused push means the run is being torn down; the next packet read ends this thread.
void TTranscoder::DrainAudio() {
    FramePtr filtered = MakeFrame();
    while (audioGraph_->Pull(filtered.get()) == 0) {
        if (!soundFrames_.Push(std::move(filtered))) {
            return;
        }
        filtered = MakeFrame();
    }
}
void TTranscoder::EncodeAudioFrame(AVFrame* frame) {
    Check(avcodec_send_frame(audioEncoder_.get(), frame), "audio encoding");
    WritePackets(audioEncoder_.get(), audioOut_, false);
}

void TTranscoder::WritePackets(AVCodecContext* encoder, AVStream* stream, bool video) {
    PacketPtr packet = MakePacket();
    int received = 0;
    while ((received = avcodec_receive_packet(encoder, packet.get())) >= 0) {
        if (video) {
            std::size_t size = 0;
            const uint8_t* stats =
                av_packet_get_side_data(packet.get(), AV_PKT_DATA_QUALITY_STATS, &size);
            if (stats && size >= 4) {
                qualityTenths_ = static_cast<int>(AV_RL32(stats) * 10 / FF_QP2LAMBDA);
            }
            ++framesEncoded_;
        }
        ++progressMarks_;
        output_->Write(packet.get(), encoder, stream);
        av_packet_unref(packet.get());
    }
    if (received != AVERROR(EAGAIN) && received != AVERROR_EOF) {
        Check(received, video ? "video encoding" : "audio encoding");
    }
}

}  // namespace dero
