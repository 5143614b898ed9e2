#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
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

    // A family's button and picture (named by the family table, e.g. TB_3GP and Img_3gp), or
    // null when the chooser offers no button for it.
    TDynamicImageButton* DeviceButton(int32_t family) const;
    TImage* DevicePicture(int32_t family) const;

    TImage* Img_Background = nullptr;
    TDynamicImageButton* TB_Exit = nullptr;
    TDynamicImageButton* TB_Min = nullptr;
    TDynamicImageButton* TB_Help = nullptr;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    struct TDeviceChoice {
        int32_t family;
        TDynamicImageButton* button;
        TImage* picture;
    };

    void FormCreate();
    void CreateControls();
    void MakeAccessible();
    void WireDeviceButton(TDynamicImageButton* button, int32_t family, TImage* picture);
    TImage* MakePicture(const char* name);
    TDynamicImageButton* MakeButton(const char* name);
    void ShowPicture(TImage* picture);
    void DeviceButtonClick(int32_t family);
    void TB_ExitClick();

    const TDeviceChoice* FindChoice(int32_t family) const;

    // One for each family of the family table that has a button, in the table's order.
    std::vector<TDeviceChoice> devices_;
    QPointer<TImage> shownPicture_;
};

extern TSelectWindow* SelectWindow;
