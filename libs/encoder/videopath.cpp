#include "videopath.h"

#include <algorithm>
#include <optional>
#include <thread>

#include "colourplan.h"
#include "decodeskipplanner.h"
#include "encodeerror.h"
#include "filtergraph.h"
#include "nonreferencegate.h"
#include "outputfile.h"
#include "pictureconformer.h"
#include "pipeline.h"
#include "silenttrack.h"

namespace dero {
namespace {

// Key pictures come every few seconds even in long groups; this many packets in a row without a
// picture, before any picture at all, means the video cannot be decoded at all. Once pictures
// have come, a barren stretch is damage that costs only itself.
constexpr int kBarrenPacketLimit = 600;
// A picture this far ahead of where the video's clock stands is held back until the next one
// shows whether the clock really jumped (a gap in the source) or the picture's time is wrong.
constexpr int64_t kJumpLimitUs = 10 * int64_t{AV_TIME_BASE};

std::string Ratio(AVRational value) {
    return std::to_string(value.num) + "/" + std::to_string(value.den);
}

}  // namespace

TVideoPath::TVideoPath(const TConvertOptions& options, TPathEnds ends, TPipeline& pipeline)
    : options_(options),
      ends_(std::move(ends)),
      encoder_(ends_.encoder.get()),
      pipeline_(pipeline) {}

TVideoPath::~TVideoPath() = default;

void TVideoPath::Wake() {
    packets_.Abort();
    decoded_.Abort();
    filtered_.Abort();
}

void TVideoPath::StartDecoding() {
    const AVRational timeBase = ends_.source.timeBase;
    offset_ = av_rescale_q(ends_.startUs, AV_TIME_BASE_Q, timeBase);
    end_ = ends_.lengthUs ? av_rescale_q(*ends_.lengthUs, AV_TIME_BASE_Q, timeBase) : INT64_MAX;
    const AVRational sourceRate = ends_.source.frameRate;
    defaultDuration_ = std::max<int64_t>(
        1, sourceRate.num > 0 ? av_rescale_q(1, av_inv_q(sourceRate), timeBase) : 1);
    lastDuration_ = defaultDuration_;
    jumpLimit_ = av_rescale_q(kJumpLimitUs, AV_TIME_BASE_Q, timeBase);
}

void TVideoPath::Decode() {
    StartDecoding();
    AVCodecContext* decoder = ends_.decoder.get();
    TNonReferenceGate gate(decoder->codec_id, decoder->extradata, decoder->extradata_size);
    TDecodeSkipPlanner planner(ends_.source.timeBase, encoder_->framerate, end_,
                               options_.skipDroppedPictures && gate.Supported());
    FramePtr frame = MakeFrame();
    bool reachedEnd = false;
    int barrenPackets = 0;
    while (!reachedEnd) {
        std::optional<PacketPtr> packet = packets_.Pop();
        if (!packet) {
            return;
        }
        SendPacket(packet->get(), gate, planner);
        int received = 0;
        ++barrenPackets;
        while (!reachedEnd &&
               (received = avcodec_receive_frame(ends_.decoder.get(), frame.get())) >= 0) {
            pipeline_.Mark();
            ++framesDecoded_;
            barrenPackets = 0;
            planner.Decoded(frame->pts, frame->best_effort_timestamp);
            FramePtr next = MakeFrame();
            std::optional<TPlace> place = Offer(std::move(frame), planner);
            frame = std::move(next);
            if (!place) {
                return;
            }
            reachedEnd = *place == TPlace::AfterEnd;
        }
        // After the final flush nothing follows, whether the decoder says end or error.
        if (!*packet) {
            sourceDamaged_ = received < 0 && received != AVERROR_EOF;
            break;
        }
        if (barrenPackets > kBarrenPacketLimit && framesDecoded_ == 0) {
            throw TEncodeError(
                "the video cannot be decoded: " + std::to_string(kBarrenPacketLimit) +
                " packets in a row gave no picture");
        }
    }
    // The last picture of the source may stand after a real gap: nothing can tell against it.
    if (held_ && !reachedEnd && !Take(std::move(held_), planner)) {
        return;
    }
    EndDecoding(reachedEnd);
}

std::optional<TVideoPath::TPlace> TVideoPath::Offer(FramePtr frame, TDecodeSkipPlanner& planner) {
    const int64_t pts = frame->best_effort_timestamp;
    if (held_) {
        FramePtr held = std::move(held_);
        const int64_t heldPts = held->best_effort_timestamp;
        if (pts != AV_NOPTS_VALUE && pts > heldPts && pts - heldPts <= jumpLimit_) {
            // The clock did jump: both pictures are the video's.
            std::optional<TPlace> place = Take(std::move(held), planner);
            if (!place || *place == TPlace::AfterEnd) {
                return place;
            }
        } else {
            ++outliersDropped_;
        }
    } else if (pts != AV_NOPTS_VALUE && pts - offset_ > ExpectedPts() + jumpLimit_) {
        held_ = std::move(frame);
        return TPlace::Outside;
    }
    return Take(std::move(frame), planner);
}

std::optional<TVideoPath::TPlace> TVideoPath::Take(FramePtr frame, TDecodeSkipPlanner& planner) {
    const bool first = lastPts_ == AV_NOPTS_VALUE;
    const TPlace place = Place(frame.get());
    if (first && place == TPlace::Inside) {
        planner.FirstKept(frame->pts, Deinterlaces(*frame));
    }
    if (place == TPlace::Inside && !decoded_.Push(TFrameItem{std::move(frame)})) {
        return std::nullopt;
    }
    return place;
}

int64_t TVideoPath::ExpectedPts() const {
    return lastPts_ == AV_NOPTS_VALUE ? 0 : lastPts_ + lastDuration_;
}

void TVideoPath::EndDecoding(bool reachedEnd) {
    done_ = true;
    packets_.Abort();
    const int64_t endPts =
        reachedEnd ? end_ : (lastPts_ == AV_NOPTS_VALUE ? 0 : lastPts_ + lastDuration_);
    decoded_.Push(TFrameItem{nullptr, endPts});
}

void TVideoPath::SendPacket(AVPacket* packet, TNonReferenceGate& gate,
                            TDecodeSkipPlanner& planner) {
    AVCodecContext* decoder = ends_.decoder.get();
    decoder->skip_frame = AVDISCARD_DEFAULT;
    // The gate reads every packet, for the parameter sets it may carry.
    const bool allowed =
        packet && gate.Allows(packet->data, static_cast<std::size_t>(packet->size));
    if (packet && packet->pts != AV_NOPTS_VALUE && planner.Skippable(packet->pts - offset_) &&
        allowed) {
        // Read as each packet is submitted, also by frame threads; a reference picture is
        // decoded all the same.
        decoder->skip_frame = AVDISCARD_NONREF;
    }
    // A damaged packet only costs its picture.
    avcodec_send_packet(decoder, packet);
}

TVideoPath::TPlace TVideoPath::Place(AVFrame* frame) {
    const int64_t pts = frame->best_effort_timestamp != AV_NOPTS_VALUE
                            ? frame->best_effort_timestamp - offset_
                            : ExpectedPts();
    if (pts >= end_) {
        return TPlace::AfterEnd;
    }
    // Pictures before the start only served to decode the first one; a repeated timestamp would
    // only confuse the rate conversion.
    if (pts < 0 || (lastPts_ != AV_NOPTS_VALUE && pts <= lastPts_)) {
        return TPlace::Outside;
    }
    frame->pts = pts;
    lastDuration_ = frame->pkt_duration > 0 ? frame->pkt_duration : defaultDuration_;
    lastPts_ = pts;
    return TPlace::Inside;
}

bool TVideoPath::Deinterlaces(const AVFrame& first) const {
    const AVFieldOrder order = ends_.source.fieldOrder;
    return first.interlaced_frame || (order != AV_FIELD_UNKNOWN && order != AV_FIELD_PROGRESSIVE);
}

std::string TVideoPath::Chain(const AVFrame& first) const {
    std::string chain;
    if (Deinterlaces(first)) {
        chain += "yadif=deint=interlaced,";
    }
    // Dropping pictures before scaling them saves the work on every picture the rate
    // conversion would throw away; when pictures are repeated, scaling first does less.
    // start_time=0 repeats the first picture when the video starts after the audio, so both
    // tracks begin together.
    const AVRational outRate = encoder_->framerate;
    const std::string rate = "fps=" + Ratio(outRate) + ":start_time=0,";
    const AVRational sourceRate = ends_.source.frameRate;
    const bool fewerPictures = sourceRate.num > 0 && av_cmp_q(outRate, sourceRate) <= 0;
    if (fewerPictures) {
        chain += rate;
    }
    const int outWidth = encoder_->width;
    const int outHeight = encoder_->height;
    const int innerWidth = outWidth - options_.padLeft - options_.padRight;
    const int innerHeight = outHeight - options_.padTop - options_.padBottom;
    chain += TFilterGraph::UprightScale(innerWidth, innerHeight, ends_.source.rotation, "bicubic");
    const std::string colour = TColourPlan(ends_.source.colour).AfterScale();
    if (!colour.empty()) {
        chain += "," + colour;
    }
    if (innerWidth != outWidth || innerHeight != outHeight) {
        chain += ",pad=" + std::to_string(outWidth) + ":" + std::to_string(outHeight) + ":" +
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

void TVideoPath::Filter() {
    std::optional<TFilterGraph> graph;
    TPictureConformer conformer;
    FramePtr filtered = MakeFrame();
    auto drain = [&]() {
        while (graph->Pull(filtered.get()) == 0) {
            filtered->pts =
                av_rescale_q(filtered->pts, graph->OutputTimeBase(), encoder_->time_base);
            if (!filtered_.Push(std::move(filtered))) {
                return false;
            }
            filtered = MakeFrame();
        }
        return true;
    };
    for (;;) {
        std::optional<TFrameItem> item = decoded_.Pop();
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
            graph = TFilterGraph::ForVideo(*picture, ends_.source.timeBase, Chain(*picture),
                                           FilterThreads());
        }
        graph->Push(picture);
        if (!drain()) {
            return;
        }
    }
    filtered_.Push(nullptr);
}

// Scaling a large source is the longest step that runs on one core once decoding leaves out
// what is dropped; the scaler's slices spread it over the cores. Slicing changes no pixel.
int TVideoPath::FilterThreads() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

void TVideoPath::Encode() {
    for (;;) {
        std::optional<FramePtr> frame = filtered_.Pop();
        if (!frame) {
            return;
        }
        EncodeFrame(frame->get());
        if (!*frame) {
            break;
        }
    }
    if (silence_) {
        silence_->Finish(framesEncoded_.load(), encoder_->time_base);
    }
}

void TVideoPath::EncodeFrame(AVFrame* frame) {
    if (frame) {
        // Let the encoder place key frames by its own group size, not the source's.
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        if (silence_) {
            silence_->FillUntil(frame->pts + 1, encoder_->time_base);
        }
    }
    Check(avcodec_send_frame(encoder_, frame), "video encoding");
    pipeline_.Mark(
        ends_.output->WriteReady(encoder_, ends_.stream, "video encoding",
                                 [this](const AVPacket& packet) { NotePacket(packet); }));
}

void TVideoPath::NotePacket(const AVPacket& packet) {
    std::size_t size = 0;
    const uint8_t* stats = av_packet_get_side_data(&packet, AV_PKT_DATA_QUALITY_STATS, &size);
    if (stats && size >= 4) {
        qualityTenths_ = static_cast<int>(AV_RL32(stats) * 10 / FF_QP2LAMBDA);
    }
    ++framesEncoded_;
}

}  // namespace dero
