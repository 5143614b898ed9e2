#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "skin/image.h"
#include "skin/skin.h"

class TDynamicImageButton;

// The device chooser: the first window made at start-up and the application's main window, so
// closing it ends the application. One big button per device family; the family's picture
// shows while the mouse is over its button.
class TSelectWindow : public QWidget, public TSkinnedWindow {
    Q_OBJECT
  public:
    explicit TSelectWindow(QWidget* parent = nullptr);
    ~TSelectWindow() override;

    std::vector<TSkinComponent> SkinComponents() override;
    // Dresses this window, then every other long-lived window; false at the first failure.
    bool ApplySkins();

    // The family picture shown now, or null.
    TImage* ShownPicture() const { return shownPicture_; }

    TImage* Img_3gp = nullptr;
    TImage* Img_psp = nullptr;
    TImage* Img_ipod = nullptr;
    TImage* Img_mp4 = nullptr;
    TImage* Img_Background = nullptr;
    TDynamicImageButton* TB_Exit = nullptr;
    TDynamicImageButton* TB_Min = nullptr;
    TDynamicImageButton* TB_Help = nullptr;
    TDynamicImageButton* TB_3GP = nullptr;
    TDynamicImageButton* TB_PSP = nullptr;
    TDynamicImageButton* TB_IPOD = nullptr;
    TDynamicImageButton* TB_MP4 = nullptr;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    void CreateControls();
    void WireDeviceButton(TDynamicImageButton* button, int32_t family, TImage* picture);
    TImage* MakePicture(const char* name);
    TDynamicImageButton* MakeButton(const char* name);
    void ShowPicture(TImage* picture);
    void DeviceButtonClick(int32_t family);
    void TB_ExitClick();

    QPointer<TImage> shownPicture_;
};

extern TSelectWindow* SelectWindow;
