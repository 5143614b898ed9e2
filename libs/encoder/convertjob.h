#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "dero_encoder.h"

namespace dero {

// The decoder's shortcuts, on unless a test turns them off to compare outputs.
struct TDecodeShortcuts {
    bool skipDroppedPictures = true;
    bool decodeSmall = true;
};

// One call of the convert entry: parses the arguments, converts, and reports through the
// callbacks: progress lines while it runs, then a final line; on failure the last line starts
// with "error:". The output file is closed (or removed) before Run returns.
class TConvertJob {
  public:
    enum class TOutcome { Finished, Failed, Stopped };

    TConvertJob(std::vector<std::string> arguments, DeroInfoCallback info,
                DeroPercentCallback percent, const std::atomic<bool>& stop,
                TDecodeShortcuts shortcuts = {});
    TOutcome Run();

    // "frame=  250 fps= 50 q=2.0 size=    1024kB time=10.00 bitrate= 838.9kbits/s"
    static std::string ProgressLine(int64_t frames, double fps, double quality, int64_t bytes,
                                    double seconds);

  private:
    void Inform(const std::string& text) const;
    void ReportPercent(double seconds, double planned) const;

    const std::vector<std::string> arguments_;
    const DeroInfoCallback info_;
    const DeroPercentCallback percent_;
    const std::atomic<bool>& stop_;
    const TDecodeShortcuts shortcuts_;
};

}  // namespace dero
