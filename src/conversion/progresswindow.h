#pragma once

#include <QFileDialog>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "conversion/conversionrun.h"
#include "skin/percentlabel.h"
#include "skin/skin.h"

class QLabel;
class QLineEdit;
class TClipSource;
class TDynamicImageButton;
class TImage;
struct ConvertSettings;

// The window a conversion run happens in, opened modally from the main window. It shows its
// TConversionRun (the current clip, its times and two bars: the clip's and the whole run's),
// hands the run its Start and Stop presses, and puts what the run has to say in message boxes.
// The output folder is chosen here. Everything runs on the user-interface thread.
class TProgressWindow : public QWidget, public TSkinnedWindow {
    Q_OBJECT
  public:
    // Added to every fill position: a fill as wide as the panel is hidden at 0 %, shown at 100 %.
    static constexpr int32_t kBarOffset = -280;

    explicit TProgressWindow(QWidget* parent = nullptr);
    ~TProgressWindow() override;

    std::vector<TSkinComponent> SkinComponents() override;

    // What the next runs work with (see TConversionRun::Prepare). Resets the window.
    void PrepareRun(const TClipSource* clips, TConversionRun::TApplyProfile applyProfile);
    // Resets the window and shows it application-modal; it ends by hiding (Closed).
    void ShowModal();
    void Reset();
    // Shows percent of the current clip and the whole run's share.
    void SetProgress(int32_t percent);

    void TB_StartClick();
    void TB_StopClick();
    void TB_CloseClick();
    void TB_BrowseClick();

    TConversionRun& Run() { return run_; }
    const TConversionRun& Run() const { return run_; }
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
    void WireRun();
    void MakeAccessible();

    void ShowCleared();
    void ShowBars(int32_t clipPercent, int32_t totalPercent);
    void ShowClip(const ConvertSettings& settings);
    void ShowRunning(bool running);
    // Ends every box of this window that is still open.
    void CloseStaleBoxes();
    void OutputFolderChosen(const QString& folder);

    TConversionRun run_;
    QPointer<QFileDialog> folderDialog_;
};

extern TProgressWindow* ProgressWindow;
