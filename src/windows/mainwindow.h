#pragma once

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/encoderbinding.h"
#include "platform/messagemap.h"
#include "skin/skin.h"

class QComboBox;
class QTimer;
class TAboutWindow;
class TAddFilesCommand;
class TCheckImageButton;
class TDynamicImageButton;
class TFixProgress;
class TImage;
class TListPanel;
class TPreviewPanel;
class TPreviewTransport;
class TProfileSelection;
class TWindowHandle;

// The conversion window: the clip list, the preview panel with its transport and position bar,
// the output profile box and the buttons that add, remove and convert clips. It holds the encoder
// library from its creation to its destruction and answers the numbered messages of the clip
// list, the position bar and the libraries. Closing it only hides it and brings the device
// chooser back.
class TMainWindow : public QWidget, public TMessageMap, public TSkinnedWindow {
    Q_OBJECT
  public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    intptr_t WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    std::vector<TSkinComponent> SkinComponents() override;
    // The start-up skinning after the device chooser's: this window, the progress window and the
    // profile editor; then the version text and the keep-ratio button. False at the first failure.
    bool ApplyWindowSkins();

    // The handle the libraries post their messages through.
    DeroWindowHandle* Handle();
    // False when the encoder library could not be bound; the window is then never used.
    bool EncoderBound() const { return encoder_.IsLoaded(); }

    // Lists the family's profiles, sets the output extension and container and shows the
    // family's picture in the preview panel.
    void SelectDeviceFamily(int32_t family);
    int32_t DeviceFamily() const;
    void ShowHelpMenu(const QPoint& globalPos);
    // Null until the first use.
    QMenu* HelpMenu() const { return helpMenu_; }
    bool AddingFiles() const;
    int32_t SnapshotSerial() const;
    void AdvanceSnapshotSerial();

    TProfileSelection* ProfileSelection() const { return profileSelection_; }
    TAddFilesCommand* AddFilesCommand() const { return addFiles_.get(); }
    // Null when the controls were never built.
    TPreviewTransport* Preview() const { return preview_.get(); }

    // Form parts.
    TPreviewPanel* Panel_Preview = nullptr;
    QComboBox* ComboBox_OutputSetting = nullptr;
    // Run-time controls, in creation order.
    TListPanel* TP_ImageList = nullptr;
    TImage* Img_Background = nullptr;
    TDynamicImageButton* TB_Play = nullptr;
    TDynamicImageButton* TB_Stop = nullptr;
    TDynamicImageButton* TB_Pause = nullptr;
    TDynamicImageButton* TB_Next = nullptr;
    TDynamicImageButton* TB_Previous = nullptr;
    TFixProgress* TP_Progress = nullptr;
    TDynamicImageButton* TB_Close = nullptr;
    TCheckImageButton* TB_AS_Keep = nullptr;
    TDynamicImageButton* TB_Min = nullptr;
    TDynamicImageButton* TB_Help = nullptr;
    TDynamicImageButton* TB_AddFile = nullptr;
    TDynamicImageButton* TB_DelFile = nullptr;
    TDynamicImageButton* TB_Edit = nullptr;
    TDynamicImageButton* TB_Convert = nullptr;
    TImage* Img_VideoPic = nullptr;
    QTimer* PreviewTimer = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateFormParts();
    void FormCreate();
    void FormDestroy();
    void FormShow();
    void FormClose();
    void CreateControls();
    void CreateVideoPicture();
    void WireControls();
    TDynamicImageButton* MakeButton(const char* name);
    void DestroyControls();
    void SaveSettingsOnExit();

    void TB_CloseClick();
    void TB_AS_KeepClick();
    void TB_ConvertClick();
    void HelpMenuClick(const QString& itemName);
    void ShowAboutWindow();
    void ShowFamilyPicture();

    // The preview's parts the window itself calls; the transport buttons, the position bar
    // and the timer talk to the transport directly. Each does nothing when the controls were
    // never built.
    void PreviewStop();
    void PreviewSetVideoWindow();
    // Messages 1154 and 1156 to 1159.
    void PreviewMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void PreviewShutdown();

    // Where the conversion run connects: TB_Convert once a profile is chosen.
    void StartConversionRun();

    // Where the profile editor connects: the chosen profile, by the number of its key, and a
    // new one. Both open the editor and return; its Closed signal tells the profile box whether
    // to fill itself again.
    void EditProfile(int32_t family, int number);
    void ComposeProfile(int32_t family);
    void ConnectProfileEditor();

    TEncoderBinding encoder_;
    bool settingsRead_ = false;
    TWindowHandle* handle_;
    std::unique_ptr<TAddFilesCommand> addFiles_;
    TProfileSelection* profileSelection_ = nullptr;
    QPointer<QMenu> helpMenu_;
    std::unique_ptr<TPreviewTransport> preview_;
};

extern TMainWindow* MainWindow;
