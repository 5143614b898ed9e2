#include "image.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "platform/scaledpicture.h"

namespace {

QImage WithoutColour(const QImage& picture, QRgb colour) {
    QImage shown = picture.convertToFormat(QImage::Format_ARGB32);
    colour &= RGB_MASK;
    for (int y = 0; y < shown.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(shown.scanLine(y));
        for (int x = 0; x < shown.width(); ++x) {
            if ((row[x] & RGB_MASK) == colour) {
                row[x] = 0;
            }
        }
    }
    return shown;
}

}  // namespace

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPicture(const QImage& picture) {
    picture_ = picture;
    PrepareShown();
}

void TImage::ClearPicture() {
    SetPicture(QImage());
}

void TImage::SetStretch(bool stretch) {
    stretch_ = stretch;
    update();
}

void TImage::SetCenter(bool center) {
    center_ = center;
    update();
}

void TImage::SetTransparent(bool transparent) {
    transparent_ = transparent;
    PrepareShown();
}

void TImage::PrepareShown() {
    const bool cut = transparent_ && !picture_.isNull();
    shown_ = cut ? WithoutColour(picture_, picture_.pixel(0, picture_.height() - 1)) : picture_;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (shown_.isNull()) {
        return;
    }
    QPainter painter(this);
    // A 1 x picture on a denser screen is enlarged; smoothly rather than in blocks.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (stretch_) {
        painter.drawImage(rect(), shown_);
    } else if (center_) {
        const QSize size = PictureSize(shown_);
        painter.drawImage((width() - size.width()) / 2, (height() - size.height()) / 2, shown_);
    } else {
        painter.drawImage(0, 0, shown_);
    }
}

void TImage::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit MouseDown(event->button(), event->position().toPoint(), event->globalPosition().toPoint());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const QPoint pos = event->position().toPoint();
    QPointer<TImage> alive(this);
    emit MouseUp(event->button(), pos, event->globalPosition().toPoint());
    if (alive && event->button() == Qt::LeftButton && rect().contains(pos)) {
        emit Click();
    }
}
