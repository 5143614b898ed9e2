#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "avhandles.h"
#include "boundedqueue.h"
#include "convertoptions.h"
#include "filtergraph.h"
#include "pathends.h"
#include "soundconformer.h"

namespace dero {

class TPipeline;

// The sound's way through a conversion: decoding with filtering (cut, volume, steady timing,
// rate and layout) on one thread, AAC encoding on another. The state of each stage belongs to
// its thread alone.
class TAudioPath {
  public:
    TAudioPath(const TConvertOptions& options, TPathEnds ends, TPipeline& pipeline);
    TAudioPath(const TAudioPath&) = delete;
    TAudioPath& operator=(const TAudioPath&) = delete;

    // The filter chain from decoded sound to what the AAC encoder takes.
    static std::string Chain(const TConvertOptions& options, std::optional<int64_t> lengthUs);
    // Sets the chain up once for sound as the opened decoder describes it, so that sound the
    // chain cannot take (more channels than the resampler mixes) is found before the run
    // starts. Throws TEncodeError naming the reason; passes when the decoder tells the layout
    // only with its first frame.
    static void CheckFilterable(const AVCodecContext& decoder, const TConvertOptions& options,
                                std::optional<int64_t> lengthUs);

    // From the reader: the next packet of the audio stream, null at the end. False once the path
    // needs nothing more.
    bool Accept(PacketPtr packet) { return packets_.Push(std::move(packet)); }
    // True once the decoder has reached the end of the part to convert.
    bool Done() const { return done_.load(); }
    // Makes every stage that waits on a queue return.
    void Wake();

    void Convert();
    void Encode();

  private:
    // Filters one decoded frame; false once it lies past the end.
    bool FilterFrame(AVFrame* frame);
    void StartFiltering(const AVFrame& first);
    void Drain();
    void EncodeFrame(const AVFrame* frame);

    const TConvertOptions& options_;
    TPathEnds ends_;
    TPipeline& pipeline_;

    TBoundedQueue<PacketPtr> packets_{96};
    // Filtered sound on its way to the encoder's thread; null: the end.
    TBoundedQueue<FramePtr> sound_{8};
    std::atomic<bool> done_{false};

    // Decoding thread only; pts counted in samples of sampleBase_.
    std::optional<TFilterGraph> graph_;
    TSoundConformer conformer_;
    AVRational sampleBase_{1, 1};
    int64_t offset_ = 0;
    int64_t end_ = INT64_MAX;
    int64_t nextPts_ = 0;
};

}  // namespace dero
