#pragma once

#include "avhandles.h"

namespace dero {

// Keeps a filter chain's input steady: the first picture fixes size and pixel format, and a
// later picture that differs (streams that change resolution midway) is converted to them, so
// no filter ever reads a picture of a shape it was not set up for.
class TPictureConformer {
  public:
    // The picture to filter: `frame` itself, or a converted copy held until the next call.
    AVFrame* Conform(AVFrame* frame);

  private:
    int width_ = 0;
    int height_ = 0;
    int format_ = -1;
    SwsContextPtr scaler_;
    FramePtr converted_;
};

}  // namespace dero
