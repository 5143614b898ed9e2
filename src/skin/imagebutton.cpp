#include "imagebutton.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "platform/scaledpicture.h"
#include "skin/buttonaccessible.h"
#include "skin/colourkeyregion.h"
#include "skin/focusframe.h"

namespace {

void InstallButtonAccessibility() {
    QAccessible::installFactory(&TButtonAccessible::Create);
}

}  // namespace

// Every program that makes a button makes an application first; the factory is in place before
// any window is shown.
Q_COREAPP_STARTUP_FUNCTION(InstallButtonAccessibility)

TImageButton::TImageButton(QWidget* parent) : QWidget(parent) {
    // Painted from cut images only; no background of its own to flicker under them.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    hide();
}

bool TImageButton::LoadStateStrip(const QImage& strip, int width, int height, bool shaped,
                                  bool hover, bool down, bool disabled) {
    auto images = TStateImages::Cut(strip, width, height, hover, down, disabled);
    if (!images) {
        return false;
    }
    shaped_ = shaped;
    images_ = std::move(*images);
    resize(width, height);
    if (shaped_) {
        ApplyShape();
    } else {
        clearMask();
    }
    // After the shape, which is cut from the key colour.
    SeeThroughKey(images_);
    ShowFace(images_.Normal());
    show();
    return true;
}

void TImageButton::SetButtonEnabled(bool enabled) {
    setEnabled(enabled);
    ShowFace(enabled ? images_.Normal() : images_.Disabled());
}

void TImageButton::SeeThroughKey(TStateImages& images) {
    // At 1 x the shape leaves out exactly the key pixels, and the button keeps painting opaque.
    const bool seeThrough = shaped_ && devicePixelRatioF() > 1.0;
    setAttribute(Qt::WA_OpaquePaintEvent, !seeThrough);
    if (seeThrough) {
        images.Change([](const QImage& image) { return WithoutKeyColour(image, kShapeKeyColour); });
    }
}

void TImageButton::ApplyShape() {
    const QRegion key =
        MakeColourKeyRegion(UnitShapePicture(images_.Normal(), kShapeKeyColour), kShapeKeyColour)
            .value_or(QRegion());
    SetWidgetShape(*this, QRegion(rect()).subtracted(key));
}

void TImageButton::ShowFace(const QImage& image) {
    face_ = image;
    update();
}

void TImageButton::MouseHook(TMouseCase mouseCase, const QPoint& pos) {
    switch (mouseCase) {
        case TMouseCase::Leave:
            ShowFace(isEnabled() ? images_.Normal() : images_.Disabled());
            mouseOver_ = false;
            break;
        case TMouseCase::Enter:
            if (hoverEnabled_) {
                ShowFace(images_.Hover());
            }
            mouseOver_ = true;
            break;
        case TMouseCase::LeftUp: {
            const bool inside = rect().contains(pos);
            mouseOver_ = inside;
            ShowFace(inside ? images_.Hover() : images_.Normal());
            pressed_ = false;
            break;
        }
        case TMouseCase::LeftDown:
            ShowFace(images_.Down());
            pressed_ = true;
            break;
    }
}

void TImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (face_.isNull()) {
        return;
    }
    // A 1 x picture on a denser screen is enlarged; smoothly rather than in blocks.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, face_);
    TFocusFrame::Paint(*this, painter);
}

void TImageButton::Activate() {
    if (isEnabled()) {
        emit Click();
    }
}

void TImageButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            TFocusFrame::NoteKeyboardUse(*this);
            if (!event->isAutoRepeat()) {
                Activate();
            }
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void TImageButton::focusInEvent(QFocusEvent* event) {
    TFocusFrame::NoteFocusIn(*this, *event);
    update();
    QWidget::focusInEvent(event);
}

void TImageButton::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void TImageButton::enterEvent(QEnterEvent* event) {
    // Qt still tells a disabled widget that the mouse entered; a disabled window hears nothing.
    if (isEnabled()) {
        MouseHook(TMouseCase::Enter, event->position().toPoint());
    }
    QWidget::enterEvent(event);
}

void TImageButton::leaveEvent(QEvent* event) {
    MouseHook(TMouseCase::Leave, QPoint());
    QWidget::leaveEvent(event);
}

void TImageButton::hideEvent(QHideEvent* event) {
    // A click that hides the window (a close button) leaves the mouse where no leave is ever
    // reported: the hover look would greet the user again when the window is next shown.
    if (mouseOver_ || pressed_) {
        pressed_ = false;
        MouseHook(TMouseCase::Leave, QPoint());
    }
    QWidget::hideEvent(event);
}

void TImageButton::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        MouseHook(TMouseCase::LeftDown, pos);
    }
    event->accept();
    emit MouseDown(event->button(), pos, event->globalPosition().toPoint());
}

void TImageButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit MouseMove(event->buttons(), event->position().toPoint(),
                   event->globalPosition().toPoint());
}

void TImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && pressed_ && rect().contains(pos);
    if (event->button() == Qt::LeftButton) {
        MouseHook(TMouseCase::LeftUp, pos);
    }
    event->accept();
    // A click handler may open a modal window or close this one; the release is told first.
    QPointer<TImageButton> alive(this);
    emit MouseUp(event->button(), pos, event->globalPosition().toPoint());
    if (click && alive) {
        emit Click();
    }
}
