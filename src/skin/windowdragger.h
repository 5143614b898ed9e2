#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QMouseEvent;
class QWidget;

// Moves a border-less window when the user drags its background. Presses that no child takes
// (the background pictures are disabled, so theirs pass through) reach the window and start a
// drag with the left button; the window follows the screen cursor, not the event's client
// coordinates, which shift as the window moves. Another button's press ends a drag.
//
// Where the windowing system places windows itself (Wayland ignores a client's own move), the
// first movement of a drag hands the move to it instead (QWindow::startSystemMove); the press
// alone changes nothing, so a plain click on the background still only clicks. When the hand-over
// is refused the window follows the cursor as above, except where only the compositor may move
// windows: there the window stays put.
//
// One per window: new TWindowDragger(window) installs itself as the window's event filter and
// is owned by the window. It only watches; the window's own mouse handlers still run.
class TWindowDragger : public QObject {
    Q_OBJECT
  public:
    // Asks the windowing system to move window with the pointer; false when it cannot.
    using TSystemMove = std::function<bool(QWidget& window)>;

    explicit TWindowDragger(QWidget* window);

    // The default: startSystemMove on platforms that keep window placement to themselves.
    static bool SystemMove(QWidget& window);
    // For tests, which have no compositor to hand a move to.
    void SetSystemMove(TSystemMove systemMove) { systemMove_ = std::move(systemMove); }

    bool DragActive() const { return dragActive_; }
    // True from the moment the current drag was handed to the windowing system until its end.
    bool HandedOver() const { return handedOver_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Press(const QMouseEvent& event);
    void Move(const QMouseEvent& event);
    void Release(const QMouseEvent& event);

    QWidget* window_;
    TSystemMove systemMove_;
    bool dragActive_ = false;
    bool moved_ = false;
    bool handedOver_ = false;
    QPoint dragStartCursor_;
    int dragStartLeft_ = 0;
    int dragStartTop_ = 0;
};
