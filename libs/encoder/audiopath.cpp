#include "audiopath.h"

#include "encodeerror.h"
#include "outputfile.h"
#include "pipeline.h"

namespace dero {
namespace {

// Filters need to know which channel is which; an unnamed layout of n channels is taken as the
// usual layout of n (WMA and some AVI audio say nothing).
void NameChannels(AVFrame* frame) {
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        const int channels = frame->ch_layout.nb_channels;
        av_channel_layout_uninit(&frame->ch_layout);
        av_channel_layout_default(&frame->ch_layout, channels);
    }
}

}  // namespace

TAudioPath::TAudioPath(const TConvertOptions& options, TPathEnds ends, TPipeline& pipeline)
    : options_(options), ends_(std::move(ends)), pipeline_(pipeline) {}

std::string TAudioPath::Chain(const TConvertOptions& options, std::optional<int64_t> lengthUs) {
    std::string chain = "atrim=start=0";
    if (lengthUs) {
        chain += ":duration=" + std::to_string(*lengthUs) + "us";
    }
    if (options.volumePercent != 100) {
        chain += ",volume=" + std::to_string(options.volumePercent / 100.0);
    }
    // async=1 stretches or pads audio whose timestamps jump (AVI, VBR MP3) into a continuous
    // track instead of failing.
    chain += ",aresample=async=1:first_pts=0,aformat=sample_fmts=fltp:sample_rates=" +
             std::to_string(options.sampleRate) +
             ":channel_layouts=" + (options.audioChannels == 1 ? "mono" : "stereo");
    return chain;
}

void TAudioPath::CheckFilterable(const AVCodecContext& decoder, const TConvertOptions& options,
                                 std::optional<int64_t> lengthUs) {
    if (decoder.sample_rate <= 0 || decoder.sample_fmt == AV_SAMPLE_FMT_NONE ||
        decoder.ch_layout.nb_channels <= 0) {
        return;
    }
    FramePtr described = MakeFrame();
    described->format = decoder.sample_fmt;
    described->sample_rate = decoder.sample_rate;
    Check(av_channel_layout_copy(&described->ch_layout, &decoder.ch_layout), "audio");
    NameChannels(described.get());
    try {
        TFilterGraph::ForAudio(*described, {1, decoder.sample_rate}, Chain(options, lengthUs));
    } catch (const TEncodeError& error) {
        throw TEncodeError(std::to_string(decoder.ch_layout.nb_channels) + " channels at " +
                           std::to_string(decoder.sample_rate) +
                           " Hz cannot be converted: " + error.what());
    }
}

void TAudioPath::Wake() {
    packets_.Abort();
    sound_.Abort();
}

void TAudioPath::Convert() {
    offset_ = av_rescale_q(ends_.startUs, AV_TIME_BASE_Q, ends_.source.timeBase);
    AVCodecContext* decoder = ends_.decoder.get();
    FramePtr frame = MakeFrame();
    bool reachedEnd = false;
    while (!reachedEnd) {
        std::optional<PacketPtr> packet = packets_.Pop();
        if (!packet) {
            return;
        }
        avcodec_send_packet(decoder, packet->get());
        while (!reachedEnd && avcodec_receive_frame(decoder, frame.get()) >= 0) {
            pipeline_.Mark();
            reachedEnd = !FilterFrame(frame.get());
            av_frame_unref(frame.get());
        }
        // After the final flush nothing follows, whether the decoder says end or error.
        if (!*packet) {
            break;
        }
    }
    done_ = true;
    packets_.Abort();
    if (graph_) {
        graph_->Close(reachedEnd ? end_ : nextPts_);
        Drain();
    }
    sound_.Push(nullptr);
}

void TAudioPath::StartFiltering(const AVFrame& first) {
    // The chain counts in samples of the source's first rate.
    sampleBase_ = {1, first.sample_rate};
    end_ = ends_.lengthUs ? av_rescale_q(*ends_.lengthUs, AV_TIME_BASE_Q, sampleBase_) : INT64_MAX;
    graph_ = TFilterGraph::ForAudio(first, sampleBase_, Chain(options_, ends_.lengthUs));
    av_buffersink_set_frame_size(graph_->Sink(), ends_.encoder->frame_size);
}

bool TAudioPath::FilterFrame(AVFrame* frame) {
    NameChannels(frame);
    if (!graph_) {
        StartFiltering(*frame);
    }
    const int64_t pts = frame->best_effort_timestamp != AV_NOPTS_VALUE
                            ? av_rescale_q(frame->best_effort_timestamp - offset_,
                                           ends_.source.timeBase, sampleBase_)
                            : nextPts_;
    nextPts_ = pts + av_rescale_q(frame->nb_samples, {1, frame->sample_rate}, sampleBase_);
    if (pts >= end_) {
        return false;
    }
    if (nextPts_ > 0) {
        frame->pts = pts;
        if (AVFrame* sound = conformer_.Conform(frame)) {
            graph_->Push(sound);
            Drain();
        }
    }
    return true;
}

// A refused push means the run is being torn down; the next packet read ends this thread.
void TAudioPath::Drain() {
    FramePtr filtered = MakeFrame();
    while (graph_->Pull(filtered.get()) == 0) {
        if (!sound_.Push(std::move(filtered))) {
            return;
        }
        filtered = MakeFrame();
    }
}

void TAudioPath::Encode() {
    for (;;) {
        std::optional<FramePtr> frame = sound_.Pop();
        if (!frame) {
            return;
        }
        EncodeFrame(frame->get());
        if (!*frame) {
            return;
        }
    }
}

void TAudioPath::EncodeFrame(const AVFrame* frame) {
    Check(avcodec_send_frame(ends_.encoder.get(), frame), "audio encoding");
    pipeline_.Mark(ends_.output->WriteReady(ends_.encoder.get(), ends_.stream, "audio encoding"));
}

}  // namespace dero
