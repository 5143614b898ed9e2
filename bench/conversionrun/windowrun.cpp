#include "windowrun.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "app/convertsettings.h"
#include "app/pubfunction.h"
#include "conversion/clipconverter.h"
#include "conversion/encoderarguments.h"
#include "profiles/outputstate.h"
#include "profiles/profileline.h"

TWindowRun::TWindowRun(const QString& profileLine, const QString& outputExt,
                       const QString& outputFormat, bool keepRatio)
    : profileLine_(profileLine),
      outputExt_(outputExt),
      outputFormat_(outputFormat),
      keepRatio_(keepRatio) {}

void TWindowRun::AddClip(const QString& file, int32_t seconds, int32_t width, int32_t height) {
    clips_.Add(file, 0, seconds, width, height);
}

bool TWindowRun::ApplyProfile(ConvertSettings& settings, TConvertTarget& target) const {
    // What the main window's profile choice does, without its combo box.
    TOutputState state;
    state.OutputExt = outputExt_;
    state.OutputFormat = outputFormat_;
    if (!TakeProfileLineApart(profileLine_, state, settings)) {
        return false;
    }
    target.OutputExt = state.OutputExt;
    target.OutputWidth = state.OutputWidth;
    target.OutputHeight = state.OutputHeight;
    target.KeepRatio = keepRatio_;
    return true;
}

std::vector<QStringList> TWindowRun::PlanArguments(const QString& outputFolder) const {
    ConvertSettings settings;
    TConvertTarget target;
    std::vector<QStringList> plan;
    if (!ApplyProfile(settings, target)) {
        return plan;
    }
    target.WorkPath = outputFolder;
    TClipConverter converter(settings);
    for (int32_t index = 0; converter.PrepareClip(clips_, index, target); ++index) {
        plan.push_back(TEncoderArguments(settings).Texts());
    }
    return plan;
}

TWindowRun::TResult TWindowRun::Run(const QString& outputFolder, int timeoutMs) {
    path_Work = outputFolder;
    window_.PrepareRun(&clips_, [this](ConvertSettings& settings, TConvertTarget& target) {
        return ApplyProfile(settings, target);
    });
    window_.ShowModal();
    const int boxesBefore = static_cast<int>(answerer_.Texts().size());

    // A real event loop, not a wait helper that sleeps between its rounds: the sleeps would be
    // stalls of the measurement's own making. The end is polled at a fraction of the meter's
    // interval, so it adds next to nothing to the wall time.
    QEventLoop loop;
    QTimer endPoll;
    endPoll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&endPoll, &QTimer::timeout, &loop, [this, &loop] {
        if (!window_.Run().Converting()) {
            loop.quit();
        }
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);

    TResult result;
    QElapsedTimer wall;
    wall.start();
    stalls_.Start();
    window_.TB_StartClick();
    if (window_.Run().Converting()) {
        endPoll.start(1);
        loop.exec();
    }
    result.Seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    stalls_.Stop();
    endPoll.stop();

    result.Finished = !window_.Run().Converting();
    result.LongestStallMs = stalls_.LongestStallMs();
    result.LongestStallCpuMs = stalls_.LongestStallCpuMs();
    result.LongestStallQueuedMs = stalls_.LongestStallQueuedMs();
    result.StallsOver50Ms = stalls_.StallsOver50Ms();
    result.Written = window_.Run().Report().Count(TRunReport::TOutcome::Written);
    result.Boxes = answerer_.Texts().mid(boxesBefore);
    result.LastArguments = TEncoderArguments(MyConvertDef).Texts();
    if (!result.Finished) {
        // The library still posts the stopped clip's end; the window must see it before the
        // next run or the end of the program.
        window_.TB_StopClick();
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        endPoll.start(1);
        loop.exec();
    }
    window_.hide();
    return result;
}
