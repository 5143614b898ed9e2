#pragma once

#include <QWidget>

class QFocusEvent;
class QPainter;

// The keyboard focus mark of every skinned control. Skins ship no focus pictures, so the program
// draws it over whatever the skin shows: a dotted frame in two tones, visible on light and dark
// art alike, one pixel inside the control's outline.
//
// The mark shows only once the user has moved the focus by keyboard in that window (Tab,
// Backtab, a shortcut): a window gives its first control the focus when it opens, and a mouse
// user must not find a frame on the skin for it. The choice is kept per top-level window.
//
// A control that paints itself calls Paint at the end of its paint event and NoteFocusIn from its
// focus-in event. A control made of child pictures that would cover its own painting gets a
// TFocusFrame: a child that lies over the others while the control shows the focus and lets the
// mouse through; it notes the control's focus-in events itself.
class TFocusFrame : public QWidget {
    Q_OBJECT
  public:
    explicit TFocusFrame(QWidget* target);

    // Draws the frame around widget's rectangle when widget shows the keyboard focus.
    static void Paint(const QWidget& widget, QPainter& painter);
    // Records how widget got the focus: by keyboard the window shows the focus from now on,
    // by the mouse it hides it again; any other reason leaves the window's choice as it is.
    static void NoteFocusIn(QWidget& widget, const QFocusEvent& event);
    // A key that acted on widget: the user works by keyboard, so its window shows the focus.
    static void NoteKeyboardUse(QWidget& widget);
    // True when widget has the focus and its window shows the focus.
    static bool Shows(const QWidget& widget);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void Follow();

    QWidget* target_;
};
