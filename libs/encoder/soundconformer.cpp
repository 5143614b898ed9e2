#include "soundconformer.h"

#include "encodeerror.h"

namespace dero {

TSoundConformer::~TSoundConformer() {
    av_channel_layout_uninit(&layout_);
    av_channel_layout_uninit(&sourceLayout_);
}

bool TSoundConformer::Matches(const AVFrame* frame, const AVChannelLayout& layout, int rate,
                              int format) const {
    return frame->sample_rate == rate && frame->format == format &&
           av_channel_layout_compare(&frame->ch_layout, &layout) == 0;
}

void TSoundConformer::Prepare(AVFrame* frame) {
    if (resampler_ && Matches(frame, sourceLayout_, sourceRate_, sourceFormat_)) {
        return;
    }
    SwrContext* resampler = nullptr;
    Check(swr_alloc_set_opts2(&resampler, &layout_, static_cast<AVSampleFormat>(format_), rate_,
                              &frame->ch_layout, static_cast<AVSampleFormat>(frame->format),
                              frame->sample_rate, 0, nullptr),
          "audio conversion");
    resampler_.reset(resampler);
    Check(swr_init(resampler), "audio conversion");
    sourceRate_ = frame->sample_rate;
    sourceFormat_ = frame->format;
    av_channel_layout_uninit(&sourceLayout_);
    Check(av_channel_layout_copy(&sourceLayout_, &frame->ch_layout), "audio conversion");
}

AVFrame* TSoundConformer::Conform(AVFrame* frame) {
    if (format_ < 0) {
        rate_ = frame->sample_rate;
        format_ = frame->format;
        Check(av_channel_layout_copy(&layout_, &frame->ch_layout), "audio conversion");
    }
    if (Matches(frame, layout_, rate_, format_)) {
        return frame;
    }
    Prepare(frame);
    converted_ = MakeFrame();
    converted_->sample_rate = rate_;
    converted_->format = format_;
    Check(av_channel_layout_copy(&converted_->ch_layout, &layout_), "audio conversion");
    converted_->nb_samples = swr_get_out_samples(resampler_.get(), frame->nb_samples);
    if (converted_->nb_samples <= 0) {
        return nullptr;
    }
    Check(av_frame_get_buffer(converted_.get(), 0), "audio conversion");
    const int samples =
        Check(swr_convert(resampler_.get(), converted_->extended_data, converted_->nb_samples,
                          const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples),
              "audio conversion");
    converted_->nb_samples = samples;
    converted_->pts = frame->pts;
    return samples > 0 ? converted_.get() : nullptr;
}

}  // namespace dero
