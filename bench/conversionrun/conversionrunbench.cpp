// conversion-run: a whole conversion run through the progress window, measured against the same
// conversions done by dero-encode back to back.
//
//   conversion-run [rounds [family]]
//                  (defaults 3 and 1: three rounds, the "psp" family's default profile)
//
// Makes five 10-second 1280x720 H.264 + AAC clips with the `ffmpeg` command in a scratch folder.
// Each round converts them once through the progress window (offscreen, the real encoder library
// from the build's program folder) and once with dero-encode, one process per clip, given the
// very argument vectors the window hands the library. Prints per round and as medians: the wall
// ratio window run / dero-encode, the longest time the user-interface thread went without its
// event loop during the window run, and the peak resident memory of this process, which is the
// window run's (dero-encode runs as child processes and is not counted in it). Ratios, not
// absolute times, are the result: on a shared machine absolute times wander. The window run
// loads the library once, before it is timed; dero-encode pays a process start and the library's
// initialisation per clip, a few tenths of a second each, which counts in its total as it would
// for a user running it clip by clip.
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "conversion/runfixtures.h"
#include "profiles/devicefamily.h"
#include "profiles/profilefile.h"
#include "support/tempdir.h"
#include "support/testmedia.h"
#include "windowrun.h"

namespace {

constexpr int kClipCount = 5;
constexpr int kClipSeconds = 10;
constexpr int kClipWidth = 1280;
constexpr int kClipHeight = 720;
constexpr int kRunTimeoutMs = 10 * 60 * 1000;
constexpr double kRatioGoal = 1.05;
constexpr double kStallGoalMs = 50;

struct TChildRun {
    double Seconds = 0;
    bool Ok = false;
};

TChildRun RunChild(const std::string& program, const std::vector<std::string>& arguments) {
    TChildRun run;
    const auto start = std::chrono::steady_clock::now();
    run.Ok = TestMedia::Run(program, arguments);
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

std::vector<QString> MakeClips(const QString& folder) {
    std::vector<QString> clips;
    const std::string duration = std::to_string(kClipSeconds);
    const std::string size = std::to_string(kClipWidth) + "x" + std::to_string(kClipHeight);
    for (int i = 1; i <= kClipCount; ++i) {
        const QString path = folder + QStringLiteral("clip%1.mp4").arg(i);
        // Each clip a different tone, so no two sources are byte for byte the same.
        const std::vector<std::string> arguments = {
            "-hide_banner",
            "-nostdin",
            "-loglevel",
            "error",
            "-y",
            "-f",
            "lavfi",
            "-i",
            "testsrc2=size=" + size + ":rate=25:d=" + duration,
            "-f",
            "lavfi",
            "-i",
            "sine=frequency=" + std::to_string(330 + 110 * i) + ":sample_rate=44100:d=" + duration,
            "-ac",
            "2",
            "-c:v",
            "libx264",
            "-pix_fmt",
            "yuv420p",
            "-c:a",
            "aac",
            "-shortest",
            path.toStdString()};
        std::printf("making %s ...\n", qPrintable(path));
        std::fflush(stdout);
        if (!TestMedia::Run("ffmpeg", arguments) || !QFileInfo::exists(path)) {
            std::fprintf(stderr, "could not make %s with the ffmpeg command\n", qPrintable(path));
            return {};
        }
        clips.push_back(path);
    }
    return clips;
}

// Every planned output exists and holds the whole clip with both streams.
bool OutputsComplete(const std::vector<QStringList>& plan, const char* who) {
    bool complete = true;
    for (const QStringList& arguments : plan) {
        const QString output = arguments.last();
        const runfixtures::TOutputFacts facts = runfixtures::ReadOutput(output);
        if (!facts.readable || !facts.hasVideo || !facts.hasAudio ||
            std::abs(facts.seconds - kClipSeconds) > 0.5) {
            std::fprintf(stderr, "%s: %s is not a whole converted clip (%.2f s)\n", who,
                         qPrintable(output), facts.seconds);
            complete = false;
        }
    }
    return complete;
}

struct TEncodeBatch {
    double Seconds = 0;
    bool Ok = true;
};

TEncodeBatch EncodeBackToBack(const std::vector<QStringList>& plan) {
    TEncodeBatch batch;
    const std::string program = DERO_BIN_DIR "/dero-encode";
    for (const QStringList& texts : plan) {
        // The vector's first entry is the program name the library expects in argv[0].
        std::vector<std::string> arguments;
        for (qsizetype i = 1; i < texts.size(); ++i) {
            arguments.push_back(texts[i].toStdString());
        }
        const TChildRun run = RunChild(program, arguments);
        batch.Seconds += run.Seconds;
        batch.Ok = batch.Ok && run.Ok;
    }
    return batch;
}

long OwnPeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int familyNumber = argc > 2 ? std::atoi(argv[2]) : 1;

    const TDeviceFamily* family = FindDeviceFamily(familyNumber);
    if (!family) {
        std::fprintf(stderr, "no device family %d\n", familyNumber);
        return 2;
    }
    const TProfileFile profiles(QStringLiteral(DERO_BIN_DIR "/") + TProfileFile::FileName);
    const QString profileLine =
        profiles.Profile(family->Section, profiles.DefaultIndex(family->Section));
    if (!runfixtures::BindEncoderOnce()) {
        std::fprintf(stderr, "the encoder library is not in %s\n", DERO_BIN_DIR);
        return 1;
    }

    TempDir sources;
    const std::vector<QString> clipFiles = MakeClips(sources.Path());
    if (clipFiles.empty()) {
        return 1;
    }
    // The letter-box bars the keep-ratio button adds are part of the work a user usually asks for.
    TWindowRun windowRun(profileLine, family->OutputExt, family->OutputFormat, true);
    for (const QString& file : clipFiles) {
        windowRun.AddClip(file, kClipSeconds, kClipWidth, kClipHeight);
    }
    std::printf("profile: [%s] %s, keep ratio\n", qPrintable(family->Section),
                qPrintable(profileLine));
    std::printf("%d clips of %d s, %dx%d H.264 + AAC\n\n", kClipCount, kClipSeconds, kClipWidth,
                kClipHeight);
    // A child's peak is not reported: the kernel starts it at its parent's, this process's.
    const long peakBeforeRuns = OwnPeakKilobytes();
    std::printf(
        "round  first   window s  dero-encode s  ratio  longest stall ms (CPU, queued)  "
        "stalls > 50 ms  load\n");

    std::vector<double> ratios;
    std::vector<double> stalls;
    std::vector<double> windowSeconds;
    std::vector<double> encodeSeconds;
    bool allGood = true;
    for (int round = 1; round <= rounds; ++round) {
        // A fresh folder per round, so the output names are the first choices every time.
        TempDir outputs;
        const std::vector<QStringList> plan = windowRun.PlanArguments(outputs.Path());
        if (plan.size() != clipFiles.size()) {
            std::fprintf(stderr, "the profile line could not be applied: %s\n",
                         qPrintable(profileLine));
            return 1;
        }
        // Which side goes first alternates, so neither always meets the other's leftovers (a
        // warm or a flushed page cache, a CI job starting or ending).
        const bool encodeFirst = round % 2 == 0;
        TEncodeBatch batch;
        bool good = true;
        if (encodeFirst) {
            batch = EncodeBackToBack(plan);
            good = batch.Ok && OutputsComplete(plan, "dero-encode");
            // The window must find the names free, or it picks others than the plan's.
            for (const QStringList& arguments : plan) {
                QFile::remove(arguments.last());
            }
        }
        const TWindowRun::TResult window = windowRun.Run(outputs.Path(), kRunTimeoutMs);
        good = good && window.Finished && window.Written == kClipCount && window.Boxes.isEmpty() &&
               OutputsComplete(plan, "window run");
        // What dero-encode is given must be what the window gave the library, or the ratio
        // compares different work.
        if (window.LastArguments != plan.back()) {
            std::fprintf(stderr, "the planned arguments differ from the run's:\n  %s\n  %s\n",
                         qPrintable(plan.back().join(' ')),
                         qPrintable(window.LastArguments.join(' ')));
            good = false;
        }
        for (size_t i = 0; i < plan.size() && i < windowRun.Report().Clips().size(); ++i) {
            if (windowRun.Report().Clips()[i].OutputFile != plan[i].last()) {
                std::fprintf(stderr, "clip %zu went to %s, not %s\n", i + 1,
                             qPrintable(windowRun.Report().Clips()[i].OutputFile),
                             qPrintable(plan[i].last()));
                good = false;
            }
        }
        for (const QString& box : window.Boxes) {
            std::fprintf(stderr, "the run showed: %s\n", qPrintable(box));
        }
        if (!encodeFirst) {
            batch = EncodeBackToBack(plan);
            good = good && batch.Ok && OutputsComplete(plan, "dero-encode");
        }

        const double ratio = window.Seconds / batch.Seconds;
        double load = 0;
        getloadavg(&load, 1);
        std::printf("%5d  %-6s  %8.2f  %13.2f  %5.3f  %14.1f (%5.1f, %5.1f)  %14d  %4.1f%s\n",
                    round, encodeFirst ? "encode" : "window", window.Seconds, batch.Seconds, ratio,
                    window.LongestStallMs, window.LongestStallCpuMs, window.LongestStallQueuedMs,
                    window.StallsOver50Ms, load, good ? "" : "  (FAILED)");
        std::fflush(stdout);
        allGood = allGood && good;
        ratios.push_back(ratio);
        stalls.push_back(window.LongestStallMs);
        windowSeconds.push_back(window.Seconds);
        encodeSeconds.push_back(batch.Seconds);
    }

    const double medianRatio = Median(ratios);
    const double worstStall = *std::max_element(stalls.begin(), stalls.end());
    std::printf("\nmedian of %d round%s: window %.2f s, dero-encode %.2f s\n", rounds,
                rounds == 1 ? "" : "s", Median(windowSeconds), Median(encodeSeconds));
    std::printf("wall ratio window run / dero-encode back to back: %.3f  (goal <= %.2f) %s\n",
                medianRatio, kRatioGoal, medianRatio <= kRatioGoal ? "met" : "MISSED");
    std::printf(
        "longest user-interface stall: %.1f ms, median of rounds %.1f ms  (goal <= %.0f) %s\n",
        worstStall, Median(stalls), kStallGoalMs, worstStall <= kStallGoalMs ? "met" : "MISSED");
    std::printf("peak memory of the window run process: %.1f MB (%.1f MB before the first run)\n",
                OwnPeakKilobytes() / 1024.0, peakBeforeRuns / 1024.0);
    if (!allGood) {
        std::printf("some conversions FAILED; see above\n");
    }
    return allGood ? 0 : 1;
}
