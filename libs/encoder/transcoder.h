#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "avhandles.h"
#include "convertoptions.h"
#include "inputfile.h"
#include "outputfile.h"
#include "pathends.h"
#include "pipeline.h"
#include "progress.h"
#include "streamfacts.h"

namespace dero {

class TAudioPath;
class TSilentTrack;
class TVideoPath;

// Converts one source into one output file. The reader, the video path's stages and the audio
// path's stages each run on their own thread, joined by bounded queues, so on a machine with
// several cores the stages overlap instead of waiting for each other.
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
    void OpenSource();
    void PlanLength();
    void SeekToStart();
    void ChooseStreams(AVStream* videoIn, AVStream* audioIn);
    CodecContextPtr OpenSound(AVStream* audioIn);
    // How far the video decoder may shrink the pictures for the output's size.
    int DecodeLevel(const AVCodecParameters* video) const;
    CodecContextPtr VideoEncoder() const;
    CodecContextPtr AudioEncoder() const;
    void SetUpVideo();
    void SetUpAudio();
    TPathEnds Ends(const TStreamFacts& source, CodecContextPtr decoder,
                   CodecContextPtr encoder) const;

    std::vector<TPipeline::TStage> Stages();
    void WakeStages();
    void ReadPackets();
    void NoteDamage(const TProgress& last);
    TProgress Snapshot() const;

    const TConvertOptions options_;
    const std::atomic<bool>& stop_;
    TPipeline pipeline_;

    std::unique_ptr<TInputFile> input_;
    // Read once at opening; the stages never look at the demuxer's streams.
    TStreamFacts videoIn_;
    std::optional<TStreamFacts> audioIn_;
    CodecContextPtr videoDecoder_;
    CodecContextPtr audioDecoder_;
    int64_t startUs_ = 0;  // source time that becomes output time 0
    std::optional<int64_t> lengthUs_;
    double plannedSeconds_ = 0;

    std::unique_ptr<TOutputFile> output_;
    std::unique_ptr<TSilentTrack> silence_;
    std::unique_ptr<TVideoPath> video_;
    std::unique_ptr<TAudioPath> audio_;

    // Reader thread: the file ended on a read error.
    std::atomic<bool> readDamaged_{false};
    std::vector<std::string> notes_;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace dero
