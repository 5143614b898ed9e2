#include "conversion/conversionrun.h"

#include "app/clipsource.h"
#include "app/convertsettings.h"
#include "app/encoderbinding.h"
#include "app/pubfunction.h"
#include "conversion/infotext.h"
#include "conversion/sleepinhibitor.h"
#include "platform/filesystem.h"
#include "platform/shell.h"
#include "platform/windowhandle.h"

namespace {

const QString kNoClipText =
    QStringLiteral("No clip to convert!\nPlease add clip to list, then convert it!");
const QString kFolderFailedText = QStringLiteral("Can not create output folder!");
const QString kStoppedText = QStringLiteral("Stop converting process by user!");

QString WithSeparator(QString folder) {
    if (!folder.endsWith('/')) {
        folder += '/';
    }
    return folder;
}

// The list a run that was never given one converts: nothing.
class TNoClips : public TClipSource {
  public:
    const ClipRecord* ClipAt(int32_t) const override { return nullptr; }
};
const TNoClips kNoClips;

}  // namespace

TConversionRun::TConversionRun(QObject* parent)
    : QObject(parent),
      handle_(new TWindowHandle(this)),
      converter_(MyConvertDef),
      inhibitor_(new TSleepInhibitor(this)) {
    // The relay emits on this (the user-interface) thread only.
    connect(&relay_, &TProgressRelay::Text, this, &TConversionRun::InfoText);
    converter_.SetBeforeConvert([this](const ConvertSettings& settings) { BeginClip(settings); });
}

TConversionRun::~TConversionRun() {
    if (converting_) {
        // The library's worker posts the clip's end through handle_ as it finishes; UnInit
        // waits for that, and the message then dies unread with the handle.
        if (DllStop) {
            DllStop();
        }
        if (DllUnInit) {
            DllUnInit();
        }
    }
    // Before the library can be uninitialised: no callback may reach this run any more.
    relay_.Unregister();
}

void TConversionRun::Prepare(const TClipSource* clips, TApplyProfile applyProfile) {
    clips_ = clips;
    applyProfile_ = std::move(applyProfile);
    Reset();
}

void TConversionRun::SetDesktopBuses(const QDBusConnection& session,
                                     const QDBusConnection& system) {
    delete inhibitor_;
    inhibitor_ = new TSleepInhibitor(session, system, this);
    notice_ = TDesktopNotice(session);
}

DeroWindowHandle* TConversionRun::Handle() {
    return handle_->Handle();
}

intptr_t TConversionRun::WindowMessage(uint32_t message, uintptr_t, intptr_t) {
    if (message != WM_CONVERT_NEXT) {
        return 0;
    }
    ConvertNext();
    return 1;
}

const TClipSource& TConversionRun::Clips() const {
    return clips_ ? *clips_ : kNoClips;
}

int32_t TConversionRun::CountClips() const {
    int32_t count = 0;
    while (Clips().ClipAt(count)) {
        ++count;
    }
    return count;
}

void TConversionRun::Reset() {
    converter_.SetConvertIndex(0);
    clipCount_ = CountClips();
    path_Work = WithSeparator(path_Work);
    emit Cleared();
}

int32_t TConversionRun::TotalPercent(int32_t clipPercent) const {
    if (clipCount_ == 0) {
        return 0;
    }
    return (converter_.ConvertIndex() * 100 + clipPercent) / clipCount_;
}

bool TConversionRun::EnsureOutputFolder() {
    if (FolderExists(path_Work) || CreateFolder(path_Work)) {
        return true;
    }
    path_Work = DefaultWorkFolder();
    if (!FolderExists(path_Work) && !CreateFolder(path_Work)) {
        emit Tell(TMessageKind::Error, kFolderFailedText);
        return false;
    }
    return true;
}

bool TConversionRun::Start() {
    if (converting_ || !EnsureOutputFolder()) {
        return false;
    }
    relay_.Register();
    Reset();
    target_ = TConvertTarget{};
    if (!applyProfile_ || !applyProfile_(MyConvertDef, target_)) {
        return false;
    }
    target_.WorkPath = path_Work;
    if (!converter_.PrepareClip(Clips(), 0, target_)) {
        emit Tell(TMessageKind::Information, kNoClipText);
        return false;
    }
    userStopped_ = false;
    converting_ = true;
    report_.Clear();
    inhibitor_->Acquire();
    emit Started();
    converter_.ConvertClip(Handle());
    return true;
}

void TConversionRun::BeginClip(const ConvertSettings& settings) {
    clipStart_ = settings.Start;
    clipLength_ = settings.Length;
    report_.BeginClip(settings.InputFile, settings.OutputFile);
    emit ClipStarted(settings);
}

void TConversionRun::InfoText(const QString& text) {
    report_.NoteText(text);
    const float seconds = InfoTextSeconds(text);
    if (!(seconds < static_cast<float>(clipLength_) + 1)) {
        return;
    }
    // A clip of length 0 has no share to show; its percent stays 0.
    const int32_t percent = Clamp<int32_t>(
        clipLength_ > 0 ? CutTowardZero(seconds * 100 / static_cast<float>(clipLength_)) : 0, 0,
        100);
    emit Progress(percent, TotalPercent(percent));
    emit CurrentTime(CutTowardZero(static_cast<float>(clipStart_) + seconds));
}

void TConversionRun::Stop() {
    if (!converting_) {
        return;
    }
    userStopped_ = true;
    if (DllStop) {
        DllStop();
    }
}

void TConversionRun::ConvertNext() {
    // Only the conversion this run started ends here; a stray message finds no run.
    if (!converting_) {
        return;
    }
    EndClip();
    if (!userStopped_ && converter_.PrepareClip(Clips(), converter_.ConvertIndex() + 1, target_)) {
        converter_.ConvertClip(Handle());
        return;
    }
    Finish();
}

void TConversionRun::EndClip() {
    // The clip's last text (its "error:" line, if any) was sent before the message.
    relay_.Flush();
    report_.EndClip(userStopped_);
    if (!report_.Clips().empty()) {
        emit ClipEnded(converter_.ConvertIndex(), report_.Clips().back());
    }
}

void TConversionRun::Finish() {
    // Asked first: the boxes of the end would take the user's eye away from the run.
    const bool inView = inView_ && inView_();
    converting_ = false;
    inhibitor_->Release();
    if (userStopped_) {
        RemovePartialFile();
    } else {
        emit Progress(100, TotalPercent(100));
        // The library's last progress line comes a little before the end; the time shown ends
        // where the bars do.
        emit CurrentTime(clipStart_ + clipLength_);
    }
    emit Finished(userStopped_);
    SendNotice(inView);
    TellEnd();
    if (!userStopped_ && report_.Count(TRunReport::TOutcome::Written) > 0) {
        ShellOpen(path_Work);
    }
}

void TConversionRun::RemovePartialFile() {
    if (FileExists(MyConvertDef.OutputFile)) {
        DeleteFile(MyConvertDef.OutputFile);
        report_.Unwrite(MyConvertDef.OutputFile);
    }
}

void TConversionRun::SendNotice(bool inView) {
    if (inView) {
        return;
    }
    const int written = report_.Count(TRunReport::TOutcome::Written);
    const int failed = report_.Count(TRunReport::TOutcome::Failed);
    const QString summary =
        userStopped_ ? QStringLiteral("Converting stopped") : QStringLiteral("Converting finished");
    notice_.Send(summary, QStringLiteral("%1 converted, %2 failed").arg(written).arg(failed));
}

void TConversionRun::TellEnd() {
    if (userStopped_) {
        emit Tell(TMessageKind::Information, kStoppedText);
    }
    const QString failures = report_.FailureText();
    if (!failures.isEmpty()) {
        emit Tell(TMessageKind::Information, failures);
    }
}
