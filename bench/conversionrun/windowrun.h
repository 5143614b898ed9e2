#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "conversion/progresswindow.h"
#include "conversion/runfixtures.h"
#include "platform/urlcatcher.h"
#include "stallmeter.h"
#include "support/modalanswerer.h"

// A conversion run the way the user starts one: the progress window, given the clip list and the
// chosen profile, started by its start button, with the encoder library converting on its own
// thread and posting each clip's end through the run's handle. Only the desktop is stood in for:
// the output folder a finished run opens and any message box are caught instead of shown.
class TWindowRun {
  public:
    struct TResult {
        bool Finished = false;  // false: the run did not end within the time allowed
        double Seconds = 0;     // from the start button to the end of the run
        double LongestStallMs = 0;
        double LongestStallCpuMs = 0;     // the UI thread's own CPU time within that stall
        double LongestStallQueuedMs = 0;  // its time within that stall waiting for a core
        int StallsOver50Ms = 0;
        int Written = 0;
        QStringList Boxes;  // texts of the message boxes the run opened
        // The argument vector the window handed the library for its last clip.
        QStringList LastArguments;
    };

    // profileLine: a line of the profile file; outputExt and outputFormat: its family's.
    TWindowRun(const QString& profileLine, const QString& outputExt, const QString& outputFormat,
               bool keepRatio);

    void AddClip(const QString& file, int32_t seconds, int32_t width, int32_t height);

    // The encoder's argument vectors, one per clip, that a run into outputFolder (still empty)
    // builds: the same profile and the same clip converter, on settings of their own.
    std::vector<QStringList> PlanArguments(const QString& outputFolder) const;

    // Converts every clip into outputFolder through the window and waits for the run's end.
    TResult Run(const QString& outputFolder, int timeoutMs);

    const TRunReport& Report() const { return window_.Run().Report(); }

  private:
    bool ApplyProfile(ConvertSettings& settings, TConvertTarget& target) const;

    QString profileLine_;
    QString outputExt_;
    QString outputFormat_;
    bool keepRatio_;
    runfixtures::TVectorClips clips_;
    TProgressWindow window_;
    UrlCatcher desktop_;
    TModalAnswerer answerer_;
    TStallMeter stalls_;
};
