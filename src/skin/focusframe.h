#pragma once

#include <QWidget>

class QPainter;

// The keyboard focus mark of every skinned control. Skins ship no focus pictures, so the program
// draws it over whatever the skin shows: a dotted frame in two tones, visible on light and dark
// art alike, one pixel inside the control's outline.
//
// A control that paints itself calls Paint at the end of its paint event. A control made of
// child pictures that would cover its own painting gets a TFocusFrame: a child that lies over
// the others while the control has the focus and lets the mouse through.
class TFocusFrame : public QWidget {
    Q_OBJECT
  public:
    explicit TFocusFrame(QWidget* target);

    // Draws the frame around widget's rectangle when widget has the keyboard focus.
    static void Paint(const QWidget& widget, QPainter& painter);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void Follow();

    QWidget* target_;
};
