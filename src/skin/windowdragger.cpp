#include "windowdragger.h"

#include <QMouseEvent>
#include <QWidget>

TWindowDragger::TWindowDragger(QWidget* window) : QObject(window), window_(window) {
    window_->installEventFilter(this);
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
    if (!dragActive_ || !(event.buttons() & Qt::LeftButton)) {
        return;
    }
    const QPoint cursor = event.globalPosition().toPoint();
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
    }
}
