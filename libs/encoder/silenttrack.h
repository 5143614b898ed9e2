#pragma once

#include <cstdint>

#include "avhandles.h"

namespace dero {

class TOutputFile;
class TPipeline;

// A track of silence that keeps pace with the video, for a format whose players need sound when
// the source gives none. It runs on the video encoder's thread.
class TSilentTrack {
  public:
    TSilentTrack(CodecContextPtr encoder, AVStream* stream, TOutputFile& output,
                 TPipeline& pipeline);

    // Encodes silence up to the video time pts, counted in timeBase.
    void FillUntil(int64_t pts, AVRational timeBase);
    // The same, then flushes the encoder.
    void Finish(int64_t pts, AVRational timeBase);

  private:
    FramePtr SilentFrame() const;
    void Encode(const AVFrame* frame);

    CodecContextPtr encoder_;
    AVStream* stream_;
    TOutputFile& output_;
    TPipeline& pipeline_;
    int64_t samples_ = 0;
};

}  // namespace dero
