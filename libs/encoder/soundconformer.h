#pragma once

#include "avhandles.h"

namespace dero {

// Keeps an audio chain's input steady: the first frame fixes sample rate, sample format and
// channel layout, and later frames that differ (broadcast recordings switch between stereo and
// 5.1) are converted to them, so the chain never reads a frame laid out otherwise than it expects.
class TSoundConformer {
  public:
    TSoundConformer() = default;
    ~TSoundConformer();
    TSoundConformer(const TSoundConformer&) = delete;
    TSoundConformer& operator=(const TSoundConformer&) = delete;

    // The frame to filter: `frame` itself, or a converted copy held until the next call; null
    // when the resampler kept all of a converted frame's samples for later.
    AVFrame* Conform(AVFrame* frame);

  private:
    bool Matches(const AVFrame* frame, const AVChannelLayout& layout, int rate, int format) const;
    void Prepare(AVFrame* frame);

    int rate_ = 0;
    int format_ = -1;
    AVChannelLayout layout_{};
    // What the resampler is set up to read.
    int sourceRate_ = 0;
    int sourceFormat_ = -1;
    AVChannelLayout sourceLayout_{};
    SwrContextPtr resampler_;
    FramePtr converted_;
};

}  // namespace dero
