#pragma once

#include <QFileDialog>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "conversion/clipconverter.h"
#include "conversion/desktopnotice.h"
#include "conversion/progressrelay.h"
#include "conversion/runreport.h"
#include "dero_window.h"
#include "skin/percentlabel.h"
#include "skin/skin.h"

class QDBusConnection;

class QLabel;
class QLineEdit;
class TClipSource;
class TDynamicImageButton;
class TImage;
class TSleepInhibitor;
struct ConvertSettings;

// The window a conversion run happens in, opened modally from the main window. It converts
// every clip of the list, in list order, with the chosen profile, one clip per library call,
// and moves two bars: the current clip's and the whole run's.
//
// It knows nothing of the main window: PrepareRun gives it the clips, the way to read the chosen
// profile and the handle the library posts message 1212 through; the owner of that handle hands
// each 1212 to ConvertNext. Everything here runs on the user-interface thread; the library's
// progress texts arrive through a TProgressRelay.
class TProgressWindow : public QWidget, public TSkinnedWindow {
    Q_OBJECT
  public:
    // Reads the chosen profile into the settings' profile fields and the target's extension,
    // frame size and keep-ratio flag (the window sets the folder); false stops the run before
    // it starts, the callable having told the user what was wrong.
    using TApplyProfile = std::function<bool(ConvertSettings& settings, TConvertTarget& target)>;

    // Added to every fill position: a fill as wide as the panel is hidden at 0 %, shown at 100 %.
    static constexpr int32_t kBarOffset = -280;

    explicit TProgressWindow(QWidget* parent = nullptr);
    ~TProgressWindow() override;

    std::vector<TSkinComponent> SkinComponents() override;

    // What the next runs work with. clips and convertWindow must outlive the window's use of
    // them (both belong to the main window, which outlives every run). Resets the window.
    void PrepareRun(const TClipSource* clips, TApplyProfile applyProfile,
                    DeroWindowHandle* convertWindow);
    // Resets the window and shows it application-modal; it ends by hiding (Closed).
    void ShowModal();
    // Message 1212: the clip being converted has ended. The next clip, or the end of the run.
    void ConvertNext();

    void Reset();
    // Shows percent of the current clip and the whole run's share.
    void SetProgress(int32_t percent);
    // A progress text of the library (already on the user-interface thread).
    void InfoText(const QString& text);

    void TB_StartClick();
    void TB_StopClick();
    void TB_CloseClick();
    void TB_BrowseClick();

    // Where the idle inhibition and the end-of-run notice go: the desktop's buses by default.
    void SetDesktopBuses(const QDBusConnection& session, const QDBusConnection& system);

    bool UserStopped() const { return userStopped_; }
    bool Converting() const { return converting_; }
    int32_t ClipStart() const { return clipStart_; }
    int32_t ClipLength() const { return clipLength_; }
    int32_t ClipCount() const { return clipCount_; }
    int32_t ConvertIndex() const { return converter_.ConvertIndex(); }
    const TRunReport& Report() const { return report_; }
    const TProgressRelay& Relay() const { return relay_; }
    const TSleepInhibitor& Inhibitor() const { return *inhibitor_; }
    QFileDialog* FolderDialog() const { return folderDialog_; }

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label_SrcName = nullptr;
    QLabel* Label_DesName = nullptr;
    QLabel* Label_StartTime = nullptr;
    QLabel* Label_StopTime = nullptr;
    QLabel* Label_Length = nullptr;
    QLabel* Label_CurrentTime = nullptr;
    QWidget* Panel_Progress = nullptr;
    TPercentLabel* Label_CP = nullptr;
    QLabel* Label10 = nullptr;
    TPercentLabel* Label_TP = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* Edit_WorkingFolder = nullptr;

    TImage* Img_Background = nullptr;
    TImage* Img_Progress = nullptr;
    TImage* Img_CP = nullptr;
    TImage* Img_TP = nullptr;
    TDynamicImageButton* TB_Start = nullptr;
    TDynamicImageButton* TB_Stop = nullptr;
    TDynamicImageButton* TB_Close = nullptr;
    TDynamicImageButton* TB_Browse = nullptr;

  signals:
    // The window has closed (hidden): the modal part is over.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateFormParts();
    void CreateProgressPanel();
    QLabel* MakeLabel(const char* name, const QString& caption, const QRect& bounds,
                      QWidget* parent);
    // Names and places a label and lets the skin and the presses through it.
    static void DressLabel(QLabel* label, const char* name, const QRect& bounds);
    void FormCreate();
    TImage* MakeImage(const char* name, QWidget* parent, const QRect& bounds);
    TDynamicImageButton* MakeButton(const char* name);
    void WireControls();
    void MakeAccessible();

    bool EnsureOutputFolder();
    int32_t CountClips() const;
    void ShowClip(const ConvertSettings& settings);
    void Finish();
    void TellRunEnd(bool wasActive);
    void OutputFolderChosen(const QString& folder);

    const TClipSource* clips_ = nullptr;
    TApplyProfile applyProfile_;
    DeroWindowHandle* convertWindow_ = nullptr;
    TClipConverter converter_;
    TConvertTarget target_;
    TProgressRelay relay_;
    TRunReport report_;
    TSleepInhibitor* inhibitor_;
    TDesktopNotice notice_;
    QPointer<QFileDialog> folderDialog_;

    bool userStopped_ = false;
    bool converting_ = false;
    int32_t clipStart_ = 0;
    int32_t clipLength_ = 0;
    int32_t clipCount_ = 0;
};

extern TProgressWindow* ProgressWindow;
