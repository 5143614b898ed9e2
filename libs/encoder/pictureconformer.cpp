#include "pictureconformer.h"

#include "encodeerror.h"

namespace dero {

AVFrame* TPictureConformer::Conform(AVFrame* frame) {
    if (format_ < 0) {
        width_ = frame->width;
        height_ = frame->height;
        format_ = frame->format;
    }
    if (frame->width == width_ && frame->height == height_ && frame->format == format_) {
        return frame;
    }
    const auto target = static_cast<AVPixelFormat>(format_);
    scaler_.reset(sws_getCachedContext(scaler_.release(), frame->width, frame->height,
                                       static_cast<AVPixelFormat>(frame->format), width_, height_,
                                       target, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler_) {
        throw TEncodeError("cannot convert a picture whose size changed");
    }
    converted_ = MakeFrame();
    converted_->width = width_;
    converted_->height = height_;
    converted_->format = format_;
    Check(av_frame_get_buffer(converted_.get(), 0), "picture conversion");
    Check(av_frame_copy_props(converted_.get(), frame), "picture conversion");
    Check(sws_scale(scaler_.get(), frame->data, frame->linesize, 0, frame->height, converted_->data,
                    converted_->linesize),
          "picture conversion");
    return converted_.get();
}

}  // namespace dero
