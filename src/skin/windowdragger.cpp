#include "windowdragger.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "platform/windowplacement.h"

TWindowDragger::TWindowDragger(QWidget* window)
    : QObject(window), window_(window), systemMove_(&TWindowDragger::SystemMove) {
    window_->installEventFilter(this);
}

bool TWindowDragger::SystemMove(QWidget& window) {
    // X11 window managers would take the move too, but there the program has always moved its
    // windows itself, and a desktop without a window manager would refuse the request anyway.
    if (!CompositorPlacesWindows()) {
        return false;
    }
    QWindow* handle = window.window()->windowHandle();
    return handle && handle->startSystemMove();
}

bool TWindowDragger::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                Press(static_cast<QMouseEvent&>(*event));
                break;
            case QEvent::MouseMove:
                Move(static_cast<QMouseEvent&>(*event));
                break;
            case QEvent::MouseButtonRelease:
                Release(static_cast<QMouseEvent&>(*event));
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TWindowDragger::Press(const QMouseEvent& event) {
    moved_ = false;
    handedOver_ = false;
    if (event.button() != Qt::LeftButton) {
        dragActive_ = false;
        return;
    }
    dragStartCursor_ = event.globalPosition().toPoint();
    dragStartLeft_ = window_->x();
    dragStartTop_ = window_->y();
    dragActive_ = true;
}

void TWindowDragger::Move(const QMouseEvent& event) {
    if (!dragActive_ || handedOver_ || !(event.buttons() & Qt::LeftButton)) {
        return;
    }
    const QPoint cursor = event.globalPosition().toPoint();
    if (!moved_ && cursor != dragStartCursor_) {
        moved_ = true;
        // The compositor ends the move itself; no release may reach this window afterwards.
        if (systemMove_ && systemMove_(*window_)) {
            handedOver_ = true;
            dragActive_ = false;
            return;
        }
        // Refused where only the compositor moves windows: a move of our own would change
        // nothing on the screen, yet the toolkit would believe it, and every later event's
        // screen position (the window's believed place plus the pointer's) would push the
        // window further off.
        if (CompositorPlacesWindows()) {
            dragActive_ = false;
            return;
        }
    }
    const QPoint target(dragStartLeft_ + cursor.x() - dragStartCursor_.x(),
                        dragStartTop_ + cursor.y() - dragStartCursor_.y());
    if (target != window_->pos()) {
        window_->move(target);
        window_->raise();
    }
}

void TWindowDragger::Release(const QMouseEvent& event) {
    if (event.button() == Qt::LeftButton) {
        dragActive_ = false;
        handedOver_ = false;
    }
}
