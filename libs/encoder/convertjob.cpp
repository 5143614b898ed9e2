#include "convertjob.h"

#include <algorithm>
#include <cstdio>

#include "convertoptions.h"
#include "encodeerror.h"
#include "transcoder.h"

namespace dero {

TConvertJob::TConvertJob(std::vector<std::string> arguments, DeroInfoCallback info,
                         DeroPercentCallback percent, const std::atomic<bool>& stop,
                         TDecodeShortcuts shortcuts)
    : arguments_(std::move(arguments)),
      info_(info),
      percent_(percent),
      stop_(stop),
      shortcuts_(shortcuts) {}

std::string TConvertJob::ProgressLine(int64_t frames, double fps, double quality, int64_t bytes,
                                      double seconds) {
    const double kilobits = double(bytes) * 8 / 1000;
    const double bitrate = seconds > 0 ? kilobits / seconds : 0;
    char line[160];
    std::snprintf(line, sizeof line,
                  "frame=%5lld fps=%3.0f q=%.1f size=%8lldkB time=%.2f bitrate=%6.1fkbits/s",
                  static_cast<long long>(frames), fps, quality,
                  static_cast<long long>(bytes / 1024), seconds, bitrate);
    return line;
}

void TConvertJob::Inform(const std::string& text) const {
    if (info_) {
        // One line per call: a file name with a line break must not split a message.
        std::string line = text;
        std::replace_if(
            line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
        info_(line.c_str());
    }
}

void TConvertJob::ReportPercent(double seconds, double planned) const {
    if (percent_ && planned > 0) {
        percent_(static_cast<int32_t>(std::clamp(seconds * 100 / planned, 0.0, 100.0)));
    }
}

TConvertJob::TOutcome TConvertJob::Run() {
    try {
        TConvertOptions options = TConvertOptions::Parse(arguments_);
        options.skipDroppedPictures = shortcuts_.skipDroppedPictures;
        options.decodeSmall = shortcuts_.decodeSmall;
        TTranscoder transcoder(options, stop_);
        const double planned = transcoder.PlannedSeconds();
        std::string lastLine;
        const auto result = transcoder.Run([&](const TProgress& progress) {
            const double fps = progress.elapsed > 0 ? progress.frames / progress.elapsed : 0;
            lastLine = ProgressLine(progress.frames, fps, progress.quality, progress.bytes,
                                    progress.seconds);
            Inform(lastLine);
            ReportPercent(progress.seconds, planned);
        });
        if (result == TTranscoder::TResult::Stopped) {
            Inform("stopped: the conversion was stopped; its output file was removed");
            return TOutcome::Stopped;
        }
        // Notes go before a last repeat of the final progress line, which readers of the last
        // line expect.
        for (const std::string& note : transcoder.Notes()) {
            Inform(note);
        }
        if (!transcoder.Notes().empty()) {
            Inform(lastLine);
        }
        if (percent_) {
            percent_(100);
        }
        return TOutcome::Finished;
    } catch (const TEncodeError& error) {
        Inform(std::string("error: ") + error.what());
    } catch (const std::exception& error) {
        Inform(std::string("error: internal failure: ") + error.what());
    } catch (...) {
        Inform("error: internal failure");
    }
    return TOutcome::Failed;
}

}  // namespace dero
