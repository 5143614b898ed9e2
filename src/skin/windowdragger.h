#pragma once

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

// Moves a border-less window when the user drags its background. Presses that no child takes
// (the background pictures are disabled, so theirs pass through) reach the window and start a
// drag with the left button; the window follows the screen cursor, not the event's client
// coordinates, which shift as the window moves. Another button's press ends a drag.
//
// One per window: new TWindowDragger(window) installs itself as the window's event filter and
// is owned by the window. It only watches; the window's own mouse handlers still run.
class TWindowDragger : public QObject {
    Q_OBJECT
  public:
    explicit TWindowDragger(QWidget* window);

    bool DragActive() const { return dragActive_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Press(const QMouseEvent& event);
    void Move(const QMouseEvent& event);
    void Release(const QMouseEvent& event);

    QWidget* window_;
    bool dragActive_ = false;
    QPoint dragStartCursor_;
    int dragStartLeft_ = 0;
    int dragStartTop_ = 0;
};
