#include "image_item.h"

#include <QAccessible>

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/pubfunction.h"
#include "clips/fittedtext.h"
#include "platform/localpath.h"

namespace {

const QColor kGrey(128, 128, 128);
const QColor kSelected(0, 255, 0);
const QColor kUnselected(128, 128, 128);
const QColor kHover(255, 0, 0);
// Outlines keep the width the face was drawn with.
constexpr int kPenWidth = 2;
// The text rows are 14 pixels apart; the face font has to fit them.
constexpr int kFontPixelSize = 11;

// The two columns of the face; a line of the left one ends short of the right one.
constexpr int kLeftColumn = 90;
constexpr int kRightColumn = 250;
constexpr int kColumnGap = 4;
// Inside the outline.
constexpr int kTextRight = Image_Item::ItemWidth - 4;

int RoomOf(int x, bool hasRightNeighbour) {
    return (hasRightNeighbour ? kRightColumn - kColumnGap : kTextRight) - x;
}

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
    painter.setBrush(kGrey);
    painter.setPen(QPen(Qt::black, kPenWidth));
    painter.drawRect(QRectF(0, 0, ItemWidth - 1, ItemHeight - 1));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(2, 2, thumbnail);
    painter.setBrush(Qt::NoBrush);
    const TFittedText::TFit whole = TFittedText::TFit::KeepWhole;
    DrawText(painter, kLeftColumn, 4, "Clip Name : ", TLocalPath::Display(clip_.SourceFile),
             TFittedText::TFit::ElideMiddle);
    DrawText(painter, kLeftColumn, 18, "Clip Duration : ", TimeToText(clip_.Duration), whole);
    DrawText(painter, kRightColumn, 18,
             "Clip Resolution : ", QStringLiteral("%1x%2").arg(clip_.Width).arg(clip_.Height),
             whole);
    DrawText(painter, kLeftColumn, 32, "Video Format : ", clip_.VideoFormat, whole);
    DrawText(painter, kRightColumn, 32, "Audio Format : ", clip_.AudioFormat, whole);
    DrawTimes(painter);
    UpdateToolTip();
}

void Image_Item::DrawText(QPainter& painter, int x, int y, const QString& caption,
                          const QString& value, TFittedText::TFit fit) const {
    const int room = RoomOf(x, x == kLeftColumn && y != 4);
    const TFittedText::TLine line = TFittedText::Fit(caption, value, fit, FaceFont(), room);
    painter.setFont(line.Font);
    painter.drawText(QRect(x, y, room, ItemHeight - y),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line.Text);
}

void Image_Item::DrawTimes(QPainter& painter) const {
    const TFittedText::TFit whole = TFittedText::TFit::KeepWhole;
    DrawText(painter, kLeftColumn, 46, "Start Time : ", TimeToText(clip_.StartTime), whole);
    DrawText(painter, kRightColumn, 46, "Stop Time : ", TimeToText(clip_.StopTime), whole);
}

void Image_Item::DrawTrimLine() {
    QPainter painter(&picture_);
    painter.fillRect(QRect(QPoint(kLeftColumn, 46), QPoint(ItemWidth - 4, ItemHeight - 4)), kGrey);
    painter.setPen(Qt::black);
    DrawTimes(painter);
    UpdateToolTip();
    update();
}

void Image_Item::UpdateToolTip() {
    // Whatever the face had to shorten, the tooltip says in full.
    setToolTip(QStringList{
        "Clip Name : " + TLocalPath::Display(clip_.SourceFile),
        "Clip Duration : " + TimeToText(clip_.Duration),
        QStringLiteral("Clip Resolution : %1x%2").arg(clip_.Width).arg(clip_.Height),
        "Video Format : " + clip_.VideoFormat, "Audio Format : " + clip_.AudioFormat,
        "Start Time : " + TimeToText(clip_.StartTime), "Stop Time : " + TimeToText(clip_.StopTime)}
                   .join(QLatin1Char('\n')));
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
