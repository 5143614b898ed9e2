#pragma once

#include <QImage>
#include <QWidget>

#include "skin/stateimages.h"

// A clickable picture: one image per mouse state (normal, hover, down, disabled), all cut once
// from a horizontal strip by LoadStateStrip. Created hidden and empty; a successful load sizes
// it, shows it and may cut its outline from the magenta pixels of the normal image.
//
// Mouse handling, in this order for each event:
//   1. the state picture changes (MouseHook: leave, enter, left release, left press);
//   2. the owner's handlers run: the signals below, emitted synchronously.
// The press, move and release signals fire for every button; Click fires after MouseUp on a
// left release inside the button that follows a left press on it. A disabled button gets no mouse
// input and keeps its disabled image. Hints are the widget's tooltip.
//
// The keyboard reaches a button through Tab only (a mouse click does not move the focus, so a
// mouse user sees the skin unchanged); Space or Return then clicks it, and the focus is drawn
// over the picture by TFocusFrame.
class TImageButton : public QWidget {
    Q_OBJECT
  public:
    explicit TImageButton(QWidget* parent = nullptr);

    // Cuts the state images from strip: each width x height, in the order normal, hover, down,
    // disabled, with only the flagged optional ones present. False, and nothing changed, when the
    // strip is null or narrower than width x count. On success the button takes the size
    // width x height, shows the normal image, becomes visible and is shaped (shaped = true) or
    // rectangular again.
    bool LoadStateStrip(const QImage& strip, int width, int height, bool shaped, bool hover,
                        bool down, bool disabled);
    // Enables or disables the button and shows the normal or disabled image.
    virtual void SetButtonEnabled(bool enabled);
    // Clicks the button as a finished left click would, without the mouse signals: for the
    // keyboard and for assistive technology. Nothing when the button is disabled.
    void Activate();

    const QImage& NormalImage() const { return images_.Normal(); }
    const QImage& HoverImage() const { return images_.Hover(); }
    const QImage& DownImage() const { return images_.Down(); }
    const QImage& DisabledImage() const { return images_.Disabled(); }
    // The picture the button shows now.
    const QImage& Face() const { return face_; }
    bool MouseOver() const { return mouseOver_; }
    bool Pressed() const { return pressed_; }
    bool Shaped() const { return shaped_; }
    bool HoverEnabled() const { return hoverEnabled_; }

  signals:
    void Click();
    void MouseDown(Qt::MouseButton button, const QPoint& pos, const QPoint& globalPos);
    void MouseMove(Qt::MouseButtons buttons, const QPoint& pos, const QPoint& globalPos);
    void MouseUp(Qt::MouseButton button, const QPoint& pos, const QPoint& globalPos);

  protected:
    enum class TMouseCase { Leave, Enter, LeftUp, LeftDown };

    // Changes the picture for one of the four mouse cases, before the owner hears of the event.
    // Subclasses extend it and call the base first.
    virtual void MouseHook(TMouseCase mouseCase, const QPoint& pos);

    void ShowFace(const QImage& image);
    const TStateImages& Images() const { return images_; }
    // Replaces the four current state images without touching size, shape or the face.
    void SetImages(const TStateImages& images) { images_ = images; }
    void SetHoverEnabled(bool enabled) { hoverEnabled_ = enabled; }

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Makes the key colour of a shaped button's images see-through on a denser screen.
    void SeeThroughKey(TStateImages& images);

  private:
    void ApplyShape();

    TStateImages images_;
    QImage face_;
    bool mouseOver_ = false;
    bool pressed_ = false;
    bool shaped_ = false;
    bool hoverEnabled_ = true;
};
