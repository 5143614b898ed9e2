#include "focusframe.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QPen>
#include <QVariant>

namespace {

// Kept on the top-level window, so every control of a window agrees and windows do not.
constexpr char kFocusVisibleProperty[] = "focusVisible";

void DrawFrame(QPainter& painter, const QRect& bounds) {
    const QRect frame = bounds.adjusted(1, 1, -2, -2);
    if (frame.width() < 2 || frame.height() < 2) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    // The light line shows through the gaps of the dark dashes, so the frame reads on any art.
    painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    painter.drawRect(frame);
    QPen dashes(QColor(0, 0, 0), 1, Qt::CustomDashLine);
    dashes.setDashPattern({2, 2});
    painter.setPen(dashes);
    painter.drawRect(frame);
    painter.restore();
}

}  // namespace

TFocusFrame::TFocusFrame(QWidget* target) : QWidget(target), target_(target) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    target_->installEventFilter(this);
    Follow();
}

void TFocusFrame::Paint(const QWidget& widget, QPainter& painter) {
    if (Shows(widget)) {
        DrawFrame(painter, widget.rect());
    }
}

bool TFocusFrame::Shows(const QWidget& widget) {
    return widget.hasFocus() && widget.window()->property(kFocusVisibleProperty).toBool();
}

void TFocusFrame::NoteFocusIn(QWidget& widget, const QFocusEvent& event) {
    switch (event.reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            widget.window()->setProperty(kFocusVisibleProperty, true);
            break;
        case Qt::MouseFocusReason:
            widget.window()->setProperty(kFocusVisibleProperty, false);
            break;
        default:
            break;
    }
}

void TFocusFrame::NoteKeyboardUse(QWidget& widget) {
    QWidget* window = widget.window();
    if (!window->property(kFocusVisibleProperty).toBool()) {
        window->setProperty(kFocusVisibleProperty, true);
        widget.update();
    }
}

void TFocusFrame::Follow() {
    setGeometry(target_->rect());
    if (Shows(*target_)) {
        raise();
        show();
    } else {
        hide();
    }
}

bool TFocusFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_) {
        switch (event->type()) {
            case QEvent::FocusIn:
                NoteFocusIn(*target_, static_cast<const QFocusEvent&>(*event));
                Follow();
                break;
            case QEvent::FocusOut:
            case QEvent::Resize:
                Follow();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFocusFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawFrame(painter, rect());
}
