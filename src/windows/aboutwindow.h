#pragma once

// The windows that bring the subsystems together: the device select, main and about windows.
// Includes every subsystem below it and include/; only src/main.cpp includes it.

#include <QWidget>
#include <vector>

#include "skin/skin.h"

class QLabel;
class TDynamicImageButton;
class TImage;

// The about window: the product name with its version and the build text, the home page and a
// mail to the maker. Made on the first "About" of the help menu, then kept and shown again.
class TAboutWindow : public QWidget, public TSkinnedWindow {
    Q_OBJECT
  public:
    static constexpr char kTitle[] = "Dero Video Converter 2.1";

    explicit TAboutWindow(QWidget* owner);
    ~TAboutWindow() override;

    std::vector<TSkinComponent> SkinComponents() override;
    // Shows the window application-modal; it ends by hiding, never by being destroyed.
    void ShowModal();

    // The title twice, the lower one silver and a pixel off: a drop shadow.
    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label2 = nullptr;
    TImage* Img_Background = nullptr;
    TDynamicImageButton* TB_Home = nullptr;
    TDynamicImageButton* TB_Contact = nullptr;
    TDynamicImageButton* TB_Close = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateLabels();
    QLabel* MakeLabel(const QString& text, const QRect& bounds, const QFont& font,
                      const QColor& colour);
    void FormCreate();
    TDynamicImageButton* MakeButton(const char* name);
};

// The about window once it has been made; the main window destroys it.
extern TAboutWindow* AboutWindow;
