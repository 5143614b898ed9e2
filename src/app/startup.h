#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

// The start-up splash: a borderless, always-on-top picture that fades in while the windows are
// built and fades out before the message loop starts. Without its picture it shows nothing.
// Any other window shown while it is up (an error box of start-up above all) hides it for good:
// a window manager keeps the always-on-top splash over the box, and the user would face a
// splash that never goes while the box waits unseen behind it.
// Where the windowing system has no window opacity (Wayland) it shows and hides at once.
class TStartUp : public QWidget {
    Q_OBJECT
  public:
    explicit TStartUp(QString imagePath);

    // Loads the picture, sizes and centres the window on it and fades it in (10, 20 … 250, 255;
    // 20 ms apart, letting pending messages run). Nothing happens without a readable picture.
    void ShowSplash();
    // Fades out (250, 245 … 0; 10 ms apart, no messages run); nothing when the splash never showed.
    void HideSplash();
    bool Shown() const { return shown_; }
    // False on platforms that ignore a window's opacity: there a fade would leave the splash
    // shown at full strength for its whole length, or invisible from the first step.
    static bool OpacitySupported();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Each visible alpha value, 0..255, goes through here.
    virtual void SetAlpha(int alpha);
    // The pause between two values; the fade-in also lets the application run its messages.
    virtual void Pause(int milliseconds, bool handleMessages);
    virtual bool Fades() const { return OpacitySupported(); }

  private:
    QString imagePath_;
    QImage image_;
    bool shown_ = false;
};

// The splash while start-up runs; null before and after.
extern TStartUp* StartUp;
