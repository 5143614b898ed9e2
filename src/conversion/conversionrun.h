#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "conversion/clipconverter.h"
#include "conversion/desktopnotice.h"
#include "conversion/progressrelay.h"
#include "conversion/runreport.h"
#include "dero_window.h"
#include "platform/messagebox.h"
#include "platform/messagemap.h"

class QDBusConnection;
class TClipSource;
class TSleepInhibitor;
class TWindowHandle;
struct ConvertSettings;

// One conversion run: every clip of a list, in list order, with the chosen profile, one clip per
// library call. It holds no widget, so it runs the same with or without a window to show it.
//
// The encoder library ends each clip by posting message 1212 through the run's own handle; the
// run then starts the next clip or ends. A stop asks the library to end the clip at once and
// removes the file it left unfinished. What became of each clip is kept in the report, and what
// the user has to be told goes out through Tell, for whoever shows the run to put on screen.
//
// Everything here runs on the user-interface thread; the library's progress texts arrive
// through the run's TProgressRelay.
class TConversionRun : public QObject, public TMessageMap {
    Q_OBJECT
  public:
    // Reads the chosen profile into the settings' profile fields and the target's extension,
    // frame size and keep-ratio flag (the run sets the folder); false stops the run before it
    // starts, the callable having told the user what was wrong.
    using TApplyProfile = std::function<bool(ConvertSettings& settings, TConvertTarget& target)>;
    // Whether the user sees the run as it ends; one that ends unseen sends a desktop notice.
    using TInView = std::function<bool()>;

    explicit TConversionRun(QObject* parent = nullptr);
    // A run still converting stops the library's conversion and waits for it, so the library
    // never posts to a handle that is gone.
    ~TConversionRun() override;
    TConversionRun(const TConversionRun&) = delete;
    TConversionRun& operator=(const TConversionRun&) = delete;

    // What the next runs work with; clips must outlive the run's use of it. Resets the run.
    void Prepare(const TClipSource* clips, TApplyProfile applyProfile);
    void SetInView(TInView inView) { inView_ = std::move(inView); }
    // Where the idle inhibition and the end-of-run notice go: the desktop's buses by default.
    void SetDesktopBuses(const QDBusConnection& session, const QDBusConnection& system);

    // Back to the first clip of the list as it is now; emits Cleared.
    void Reset();
    // Makes sure of the output folder, reads the profile and converts the first clip. False
    // when no run started (already running, no folder, no profile or no clip).
    bool Start();
    // Asks the library to end the clip being converted; its 1212 then ends the run.
    void Stop();
    // Message 1212: the clip being converted has ended. The next clip, or the end of the run.
    void ConvertNext();
    // A progress text of the library, already on the user-interface thread.
    void InfoText(const QString& text);

    // The handle the library posts 1212 through.
    DeroWindowHandle* Handle();
    intptr_t WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // The whole run's percent when the current clip is at clipPercent.
    int32_t TotalPercent(int32_t clipPercent) const;
    bool Converting() const { return converting_; }
    bool UserStopped() const { return userStopped_; }
    int32_t ClipStart() const { return clipStart_; }
    int32_t ClipLength() const { return clipLength_; }
    int32_t ClipCount() const { return clipCount_; }
    int32_t ConvertIndex() const { return converter_.ConvertIndex(); }
    const TRunReport& Report() const { return report_; }
    const TProgressRelay& Relay() const { return relay_; }
    const TSleepInhibitor& Inhibitor() const { return *inhibitor_; }

  signals:
    // The run is back at its start; path_Work is the folder it will write into.
    void Cleared();
    // The first clip is about to be handed to the library.
    void Started();
    // The clip about to be converted, with its settings filled.
    void ClipStarted(const ConvertSettings& settings);
    // The current clip's percent and the whole run's.
    void Progress(int32_t clipPercent, int32_t totalPercent);
    // Where in its source the current clip's conversion is, in seconds.
    void CurrentTime(int32_t seconds);
    // The clip at index has ended; clip says how.
    void ClipEnded(int32_t index, const TRunReport::TClip& clip);
    // The run is over (stopped: by the user); the end's messages follow through Tell.
    void Finished(bool stopped);
    // Something the user must be told, in a box of the given kind.
    void Tell(TMessageKind kind, const QString& text);

  private:
    const TClipSource& Clips() const;
    int32_t CountClips() const;
    bool EnsureOutputFolder();
    void BeginClip(const ConvertSettings& settings);
    void EndClip();
    void Finish();
    void RemovePartialFile();
    void SendNotice(bool inView);
    void TellEnd();

    const TClipSource* clips_ = nullptr;
    TApplyProfile applyProfile_;
    TInView inView_;
    TWindowHandle* handle_;
    TClipConverter converter_;
    TConvertTarget target_;
    TProgressRelay relay_;
    TRunReport report_;
    TSleepInhibitor* inhibitor_;
    TDesktopNotice notice_;

    bool userStopped_ = false;
    bool converting_ = false;
    int32_t clipStart_ = 0;
    int32_t clipLength_ = 0;
    int32_t clipCount_ = 0;
};
