#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "avhandles.h"
#include "boundedqueue.h"
#include "convertoptions.h"
#include "filtergraph.h"
#include "inputfile.h"
#include "outputfile.h"
#include "progress.h"
#include "soundconformer.h"
#include "streamfacts.h"

namespace dero {

class TDecodeSkipPlanner;

// Converts one source into one output file. Demuxing, video decoding, video filtering, video
// encoding, audio decoding with filtering, and audio encoding each run on their own thread, joined
// by bounded queues, so on a machine with several cores the stages overlap instead of waiting for
// each other.
class TTranscoder {
  public:
    enum class TResult { Finished, Stopped };

    // Opens the source, sets up the encoders and creates the output file. Throws TEncodeError.
    TTranscoder(const TConvertOptions& options, const std::atomic<bool>& stop);
    ~TTranscoder();
    TTranscoder(const TTranscoder&) = delete;
    TTranscoder& operator=(const TTranscoder&) = delete;

    // The length of output to expect in seconds; 0 when it is not known.
    double PlannedSeconds() const { return plannedSeconds_; }
    // Runs to the end, calling report on this thread several times a second. The output file is
    // complete when this returns Finished and removed otherwise. Throws TEncodeError.
    TResult Run(const std::function<void(const TProgress&)>& report);
    // What a finished run wants the user to know besides progress, as "note: ..." lines.
    const std::vector<std::string>& Notes() const { return notes_; }

  private:
    struct TFrameItem {
        FramePtr frame;  // null: the end, at endPts
        int64_t endPts = 0;
    };

    void OpenSource();
    void SetUpVideoEncoder();
    void SetUpAudioEncoder();
    bool Deinterlaces(const AVFrame& first) const;
    std::string VideoChain(const AVFrame& first) const;
    std::string AudioChain() const;

    void ReadPackets();
    void DecodeVideo();
    void SendVideoPacket(AVPacket* packet, TDecodeSkipPlanner& planner);
    void FilterVideo();
    void EncodeVideo();
    void ConvertAudio();
    void EncodeAudio();
    static int FilterThreads();
    // Where a decoded picture falls against the part to convert; Inside restamps it.
    enum class TPlace { Outside, Inside, AfterEnd };
    TPlace PlaceVideoFrame(AVFrame* frame);
    // Filters and encodes one decoded audio frame; false once it lies past the end.
    bool FilterAudioFrame(AVFrame* frame);
    void DrainAudio();
    void EncodeAudioFrame(AVFrame* frame);
    void EncodeSilenceUntil(int64_t videoPts);
    void WritePackets(AVCodecContext* encoder, AVStream* stream, bool video);

    std::vector<std::thread> StartStages();
    void Supervise(const std::function<void(const TProgress&)>& report);
    void RunStage(void (TTranscoder::*stage)());
    void Fail(const std::string& message);
    void Abort();
    TProgress Snapshot() const;

    const TConvertOptions options_;
    const std::atomic<bool>& stop_;
    std::atomic<bool> abort_{false};

    std::unique_ptr<TInputFile> input_;
    // Read once at opening; the stages never look at the demuxer's streams.
    TStreamFacts videoIn_;
    std::optional<TStreamFacts> audioIn_;
    CodecContextPtr videoDecoder_;
    CodecContextPtr audioDecoder_;
    int64_t startUs_ = 0;  // source time that becomes output time 0
    std::optional<int64_t> lengthUs_;
    double plannedSeconds_ = 0;

    int outWidth_ = 0;
    int outHeight_ = 0;
    AVRational outRate_{25, 1};
    std::unique_ptr<TOutputFile> output_;
    CodecContextPtr videoEncoder_;
    CodecContextPtr audioEncoder_;
    AVStream* videoOut_ = nullptr;
    AVStream* audioOut_ = nullptr;
    int64_t silentSamples_ = 0;

    TBoundedQueue<PacketPtr> videoPackets_{48};
    TBoundedQueue<PacketPtr> audioPackets_{96};
    TBoundedQueue<TFrameItem> decodedFrames_{3};
    TBoundedQueue<FramePtr> filteredFrames_{3};
    // Filtered sound on its way to the AAC encoder's own thread; null: the end.
    TBoundedQueue<FramePtr> soundFrames_{8};
    std::atomic<bool> videoDone_{false};
    // Video decoding thread only, in the source stream's time base.
    int64_t videoOffset_ = 0;
    int64_t videoEnd_ = INT64_MAX;
    int64_t defaultVideoDuration_ = 1;
    int64_t lastVideoPts_ = AV_NOPTS_VALUE;
    int64_t lastVideoDuration_ = 1;
    // Audio thread only; pts counted in samples of sampleBase_.
    std::optional<TFilterGraph> audioGraph_;
    TSoundConformer soundConformer_;
    AVRational sampleBase_{1, 1};
    int64_t audioOffset_ = 0;
    int64_t audioEnd_ = INT64_MAX;
    int64_t nextAudioPts_ = 0;
    std::atomic<bool> audioDone_{false};

    std::atomic<int64_t> framesEncoded_{0};
    // Counts decoded pictures and sounds and encoded packets: the supervisor's sign of life.
    std::atomic<int64_t> progressMarks_{0};
    std::atomic<int64_t> videoFramesDecoded_{0};
    std::atomic<bool> sourceDamaged_{false};
    std::vector<std::string> notes_;
    std::atomic<int> qualityTenths_{0};
    std::chrono::steady_clock::time_point started_;

    mutable std::mutex stateMutex_;
    std::condition_variable stageEnded_;
    int runningStages_ = 0;
    std::string error_;
};

}  // namespace dero
