#include "skinart.h"

#include "glyphs.h"
#include "palette.h"

namespace art {

QFont Font(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage NewPicture(int width, int height, int scale, const QColor& fill) {
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(fill);
    return image;
}

int Scale(const QImage& picture) {
    return qMax(1, qRound(picture.devicePixelRatio()));
}

QSize Size(const QImage& picture) {
    return picture.size() / Scale(picture);
}

QImage Copy(const QImage& picture, const QRect& rect) {
    const int scale = Scale(picture);
    QImage part = picture.copy(QRect(rect.topLeft() * scale, rect.size() * scale));
    part.setDevicePixelRatio(scale);
    return part;
}

void Prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void FillVertical(QPainter& painter, const QRectF& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(rect, gradient);
}

QPainterPath Rounded(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void DrawCard(QPainter& painter, const QRect& rect, int radius, const QColor& fill) {
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        QColor shadow = palette::kShadow;
        shadow.setAlpha(28 * (4 - i) / 2);
        painter.setBrush(shadow);
        painter.drawPath(
            Rounded(QRectF(rect).translated(0, i).adjusted(-0.5, 0, 0.5, 0.5), radius + 1));
    }
    painter.setBrush(fill);
    painter.setPen(QPen(palette::kCardBorder, 1));
    painter.drawPath(Rounded(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), radius));
    painter.restore();
}

void DrawGroove(QPainter& painter, const QPoint& from, const QPoint& to) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const bool horizontal = from.y() == to.y();
    const QPoint step = horizontal ? QPoint(0, 1) : QPoint(1, 0);
    painter.setPen(QColor(0, 0, 0, 30));
    painter.drawLine(from, to);
    painter.setPen(QColor(255, 255, 255, 200));
    painter.drawLine(from + step, to + step);
    painter.restore();
}

void DrawText(QPainter& painter, const QRect& rect, int flags, const QString& text,
              const QFont& font, const QColor& colour) {
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(rect, flags, text);
    painter.restore();
}

QImage WindowBackground(int width, int height, int scale, const QString& title) {
    QImage image = NewPicture(width, height, scale, palette::kBodyTop);
    QPainter painter(&image);
    Prepare(painter);
    FillVertical(painter, QRectF(0, 0, width, height), palette::kBodyTop, palette::kBodyBottom);
    FillVertical(painter, QRectF(0, 0, width, kTitleBandHeight), palette::kBandTop,
                 palette::kBandBottom);
    DrawGroove(painter, QPoint(1, kTitleBandHeight - 1), QPoint(width - 2, kTitleBandHeight - 1));

    DrawGlyph(painter, TGlyph::AppMark, QRectF(12, 9, 18, 18), palette::kBlue);
    DrawText(painter, QRect(38, 0, width - 160, kTitleBandHeight), Qt::AlignVCenter | Qt::AlignLeft,
             title, Font(13, true), palette::kTitleText);

    // The frame follows the mask's corners; the highlight sits one pixel inside it.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(palette::kHighlight, 1));
    painter.drawPath(Rounded(QRectF(1.5, 1.5, width - 3, height - 3), kCornerRadius - 1));
    painter.setPen(QPen(palette::kFrame, 1));
    painter.drawPath(Rounded(QRectF(0.5, 0.5, width - 1, height - 1), kCornerRadius));
    return image;
}

QImage WindowMask(int width, int height, int radius) {
    QImage mask = NewPicture(width, height, 1, palette::kKey);
    QPainter painter(&mask);
    // Hard edges: a region is made of whole pixels, so the mask must be exactly two colours.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(Rounded(QRectF(0, 0, width, height), radius));
    return mask;
}

QImage Blend(const QImage& a, const QImage& b, qreal t) {
    QImage result = a.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&result);
    painter.setOpacity(t);
    painter.drawImage(0, 0, b);
    return result;
}

}  // namespace art
