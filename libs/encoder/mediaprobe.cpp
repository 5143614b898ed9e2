#include "mediaprobe.h"

#include "encodeerror.h"
#include "inputfile.h"

namespace dero {

namespace {
// Local files open in milliseconds; the limit only guards against files that make a demuxer
// search forever.
constexpr std::chrono::seconds kProbeTimeLimit{20};
}  // namespace

TMediaFacts TMediaProbe::Describe(const TInputFile& input) {
    TMediaFacts facts;
    const int64_t duration = input.DurationMicroseconds();
    facts.durationSeconds = static_cast<int>(
        std::min<int64_t>((duration + AV_TIME_BASE - 1) / AV_TIME_BASE, INT32_MAX));
    const AVStream* audio = input.AudioStream();
    facts.audioFormat = audio ? avcodec_get_name(audio->codecpar->codec_id) : "none";
    if (const AVStream* video = input.VideoStream()) {
        facts.videoFormat = avcodec_get_name(video->codecpar->codec_id);
        input.DisplaySize(facts.width, facts.height);
    }
    return facts;
}

TMediaFacts TMediaProbe::Probe(const std::string& path) {
    TMediaFacts facts;
    try {
        TInputFile input(path, nullptr, kProbeTimeLimit);
        facts = Describe(input);
    } catch (const std::exception&) {
        facts = TMediaFacts();
    }
    return facts;
}

}  // namespace dero
