#pragma once

#include <string>

#include "avhandles.h"

namespace dero {

// A filter chain between one buffer source and one buffer sink, video or audio.
class TFilterGraph {
  public:
    // chain is a filter description such as "scale=320:240,fps=15"; an empty chain connects the
    // source straight to the sink.
    // threads: how many threads filters with slices (the scaler among them) may use.
    static TFilterGraph ForVideo(const AVFrame& first, AVRational timeBase,
                                 const std::string& chain, int threads = 1);
    static TFilterGraph ForAudio(const AVFrame& first, AVRational timeBase,
                                 const std::string& chain);
    // Scales a picture turned by rotation degrees (0, 90, 180, 270) to width x height upright.
    // Scaling before turning moves fewer pixels.
    static std::string UprightScale(int width, int height, int rotation, const char* flags);

    // Takes the frame's data; throws TEncodeError on failure.
    void Push(AVFrame* frame);
    // Ends the input at pts (in the source's time base).
    void Close(int64_t pts);
    // 0 with a frame, AVERROR(EAGAIN) when the chain needs more input, AVERROR_EOF at the end.
    int Pull(AVFrame* frame);
    AVFilterContext* Sink() const { return sink_; }
    AVRational OutputTimeBase() const { return av_buffersink_get_time_base(sink_); }

  private:
    TFilterGraph() = default;
    void Build(const char* source, const std::string& sourceArgs, const char* sink,
               const std::string& chain, int threads);

    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
};

}  // namespace dero
