#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "avhandles.h"
#include "boundedqueue.h"
#include "convertoptions.h"
#include "pathends.h"

namespace dero {

class TDecodeSkipPlanner;
class TPipeline;
class TSilentTrack;

// The pictures' way through a conversion: decoding, filtering (deinterlace, turn, scale, pad,
// constant rate) and MPEG-4 encoding, each a stage on its own thread, joined by bounded queues.
// The state of each stage belongs to its thread alone.
class TVideoPath {
  public:
    TVideoPath(const TConvertOptions& options, TPathEnds ends, TPipeline& pipeline);
    ~TVideoPath();
    TVideoPath(const TVideoPath&) = delete;
    TVideoPath& operator=(const TVideoPath&) = delete;

    // Before the stages start: a track of silence to encode in step with the pictures.
    void PaceSilence(TSilentTrack* silence) { silence_ = silence; }

    // From the reader: the next packet of the video stream, null at the end. False once the path
    // needs nothing more.
    bool Accept(PacketPtr packet) { return packets_.Push(std::move(packet)); }
    // True once the decoder has reached the end of the part to convert.
    bool Done() const { return done_.load(); }
    // Makes every stage that waits on a queue return.
    void Wake();

    void Decode();
    void Filter();
    void Encode();

    int64_t FramesDecoded() const { return framesDecoded_.load(); }
    int64_t FramesEncoded() const { return framesEncoded_.load(); }
    double Quality() const { return qualityTenths_.load() / 10.0; }
    AVRational Rate() const { return encoder_->framerate; }
    // True when the decoder ended on an error.
    bool SourceDamaged() const { return sourceDamaged_.load(); }
    // Pictures left out because their time lay far off the video's clock.
    int64_t OutliersDropped() const { return outliersDropped_.load(); }

  private:
    struct TFrameItem {
        FramePtr frame;  // null: the end, at endPts
        int64_t endPts = 0;
    };
    // Where a decoded picture falls against the part to convert; Inside restamps it.
    enum class TPlace { Outside, Inside, AfterEnd };

    void StartDecoding();
    void SendPacket(AVPacket* packet, TDecodeSkipPlanner& planner);
    // Holds back a picture that jumps far ahead until the next one tells whether it is an
    // outlier; hands on what is the video's. Empty when the path needs nothing more.
    std::optional<TPlace> Offer(FramePtr frame, TDecodeSkipPlanner& planner);
    std::optional<TPlace> Take(FramePtr frame, TDecodeSkipPlanner& planner);
    int64_t ExpectedPts() const;
    TPlace Place(AVFrame* frame);
    void EndDecoding(bool reachedEnd);
    bool Deinterlaces(const AVFrame& first) const;
    std::string Chain(const AVFrame& first) const;
    static int FilterThreads();
    void EncodeFrame(AVFrame* frame);
    void NotePacket(const AVPacket& packet);

    const TConvertOptions& options_;
    TPathEnds ends_;
    AVCodecContext* const encoder_;
    TPipeline& pipeline_;
    TSilentTrack* silence_ = nullptr;

    TBoundedQueue<PacketPtr> packets_{48};
    TBoundedQueue<TFrameItem> decoded_{3};
    TBoundedQueue<FramePtr> filtered_{3};
    std::atomic<bool> done_{false};

    // Decoding thread only, in the source stream's time base.
    int64_t offset_ = 0;
    int64_t end_ = INT64_MAX;
    int64_t defaultDuration_ = 1;
    int64_t lastPts_ = AV_NOPTS_VALUE;
    int64_t lastDuration_ = 1;
    int64_t jumpLimit_ = 1;
    FramePtr held_;

    std::atomic<int64_t> framesDecoded_{0};
    std::atomic<int64_t> framesEncoded_{0};
    std::atomic<int> qualityTenths_{0};
    std::atomic<bool> sourceDamaged_{false};
    std::atomic<int64_t> outliersDropped_{0};
};

}  // namespace dero
