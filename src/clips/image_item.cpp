#include "image_item.h"

#include <QAccessible>

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/pubfunction.h"

namespace {

const QColor kGrey(128, 128, 128);
const QColor kSelected(0, 255, 0);
const QColor kUnselected(128, 128, 128);
const QColor kHover(255, 0, 0);
// Outlines keep the width the face was drawn with.
constexpr int kPenWidth = 2;
// The text rows are 14 pixels apart; the face font has to fit them.
constexpr int kFontPixelSize = 11;

QFont FaceFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(kFontPixelSize);
    return font;
}

}  // namespace

Image_Item::Image_Item(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(ItemLeft, 0, ItemWidth, ItemHeight);
    // The face is drawn once per change and then only copied to the screen, so it is drawn at
    // the screen's density: its texts stay as sharp as the labels around it.
    const int ratio = std::max(1, static_cast<int>(std::ceil(devicePixelRatioF())));
    picture_ = QImage(ItemWidth * ratio, ItemHeight * ratio, QImage::Format_RGB32);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(kGrey);
    hide();
}

void Image_Item::Fill(const ClipRecord& record, const QImage& thumbnail) {
    clip_ = record;
    clip_.Selected = false;
    clip_.StartTime = 0;
    clip_.StopTime = clip_.Duration;
    DrawFace(thumbnail);
    hide();
}

void Image_Item::DrawFace(const QImage& thumbnail) {
    QPainter painter(&picture_);
    painter.setFont(FaceFont());
    painter.setBrush(kGrey);
    painter.setPen(QPen(Qt::black, kPenWidth));
    painter.drawRect(QRectF(0, 0, ItemWidth - 1, ItemHeight - 1));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(2, 2, thumbnail);
    painter.setBrush(Qt::NoBrush);
    DrawText(painter, 90, 4, "Clip Name : " + clip_.SourceFile);
    DrawText(painter, 90, 18, "Clip Duration : " + TimeToText(clip_.Duration));
    DrawText(painter, 250, 18,
             QStringLiteral("Clip Resolution : %1x%2").arg(clip_.Width).arg(clip_.Height));
    DrawText(painter, 90, 32, "Video Format : " + clip_.VideoFormat);
    DrawText(painter, 250, 32, "Audio Format : " + clip_.AudioFormat);
    DrawText(painter, 90, 46, "Start Time : " + TimeToText(clip_.StartTime));
    DrawText(painter, 250, 46, "Stop Time : " + TimeToText(clip_.StopTime));
}

void Image_Item::DrawText(QPainter& painter, int x, int y, const QString& text) const {
    // Long texts (deep paths) are cut at the item's edge.
    const QRect room(x, y, ItemWidth - x, ItemHeight - y);
    painter.drawText(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void Image_Item::DrawTrimLine() {
    QPainter painter(&picture_);
    painter.setFont(FaceFont());
    painter.fillRect(QRect(QPoint(90, 46), QPoint(ItemWidth - 4, ItemHeight - 4)), kGrey);
    painter.setPen(Qt::black);
    DrawText(painter, 90, 46, "Start Time : " + TimeToText(clip_.StartTime));
    DrawText(painter, 250, 46, "Stop Time : " + TimeToText(clip_.StopTime));
    update();
}

void Image_Item::DrawOutline(const QColor& colour) {
    QPainter painter(&picture_);
    painter.setPen(QPen(colour, kPenWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1, 1, ItemWidth - 2, ItemHeight - 2));
    update();
}

void Image_Item::MarkSelected() {
    clip_.Selected = true;
    DrawOutline(kSelected);
    AnnounceSelected();
}

void Image_Item::MarkUnselected() {
    clip_.Selected = false;
    DrawOutline(kUnselected);
    AnnounceSelected();
}

void Image_Item::AnnounceSelected() {
    if (QAccessible::isActive()) {
        QAccessible::State state;
        state.selected = true;
        QAccessibleStateChangeEvent event(this, state);
        QAccessible::updateAccessibility(&event);
    }
}

bool Image_Item::SetTrim(int32_t start, int32_t stop) {
    if (start < 0 || stop > clip_.Duration) {
        return false;
    }
    // A stop before the start is pushed to the start just set, so that even a call that moves
    // both ends the wrong way round keeps start <= stop.
    clip_.StartTime = std::min(start, clip_.StopTime);
    clip_.StopTime = std::max(stop, clip_.StartTime);
    DrawTrimLine();
    if (QAccessible::isActive()) {
        // The times are part of the clip's spoken name.
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    return true;
}

void Image_Item::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void Image_Item::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(this, event->button(), event->modifiers());
}

void Image_Item::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(this, event->button(), event->globalPosition().toPoint());
}

void Image_Item::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click still selects, as a single press would.
    emit MouseDown(this, event->button(), event->modifiers());
    emit DoubleClicked(this);
}

void Image_Item::enterEvent(QEnterEvent*) {
    DrawOutline(kHover);
}

void Image_Item::leaveEvent(QEvent*) {
    DrawOutline(clip_.Selected ? kSelected : kUnselected);
}
