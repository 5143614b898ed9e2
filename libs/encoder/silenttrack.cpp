#include "silenttrack.h"

#include "encodeerror.h"
#include "outputfile.h"
#include "pipeline.h"

namespace dero {

TSilentTrack::TSilentTrack(CodecContextPtr encoder, AVStream* stream, TOutputFile& output,
                           TPipeline& pipeline)
    : encoder_(std::move(encoder)), stream_(stream), output_(output), pipeline_(pipeline) {}

void TSilentTrack::FillUntil(int64_t pts, AVRational timeBase) {
    const int64_t until = av_rescale_q(pts, timeBase, encoder_->time_base);
    while (samples_ < until) {
        FramePtr silence = SilentFrame();
        silence->pts = samples_;
        samples_ += silence->nb_samples;
        Encode(silence.get());
    }
}

void TSilentTrack::Finish(int64_t pts, AVRational timeBase) {
    FillUntil(pts, timeBase);
    Encode(nullptr);
}

FramePtr TSilentTrack::SilentFrame() const {
    FramePtr silence = MakeFrame();
    silence->nb_samples = encoder_->frame_size;
    silence->format = encoder_->sample_fmt;
    silence->sample_rate = encoder_->sample_rate;
    Check(av_channel_layout_copy(&silence->ch_layout, &encoder_->ch_layout), "audio");
    Check(av_frame_get_buffer(silence.get(), 0), "audio");
    av_samples_set_silence(silence->extended_data, 0, silence->nb_samples,
                           silence->ch_layout.nb_channels, encoder_->sample_fmt);
    return silence;
}

void TSilentTrack::Encode(const AVFrame* frame) {
    Check(avcodec_send_frame(encoder_.get(), frame), "audio encoding");
    pipeline_.Mark(output_.WriteReady(encoder_.get(), stream_, "audio encoding"));
}

}  // namespace dero
