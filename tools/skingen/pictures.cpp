#include "pictures.h"

#include <QPainter>

#include "deviceart.h"
#include "glyphs.h"
#include "palette.h"
#include "skinart.h"

namespace pictures {

QImage Splash(const QString& version, int scale) {
    QImage image = art::NewPicture(480, 300, scale);
    const QRect whole(0, 0, 480, 300);
    QPainter p(&image);
    art::Prepare(p);
    art::FillVertical(p, whole, palette::kBodyTop, palette::kBandBottom);
    // A wide soft arc behind the mark gives the picture depth without a pattern.
    QRadialGradient glow(QPointF(240, 110), 220);
    glow.setColorAt(0, QColor(255, 255, 255, 200));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(whole, glow);
    DrawGlyph(p, TGlyph::AppMark, QRectF(208, 50, 64, 64), palette::kBlue);
    art::DrawText(p, QRect(0, 132, 480, 40), Qt::AlignCenter,
                  QStringLiteral("Dero Video Converter"), art::Font(28, true), palette::kTitleText);
    art::DrawText(p, QRect(0, 172, 480, 24), Qt::AlignCenter, QStringLiteral("Version ") + version,
                  art::Font(14), palette::kSubtleText);
    art::DrawText(p, QRect(0, 236, 480, 20), Qt::AlignCenter,
                  QStringLiteral("Video for phones, handhelds and players"), art::Font(13),
                  palette::kText);
    art::DrawText(p, QRect(0, 262, 480, 18), Qt::AlignCenter, QStringLiteral("Starting..."),
                  art::Font(12), palette::kSubtleText);
    p.setPen(QPen(palette::kFrame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 479, 299));
    return image;
}

namespace {

void Stage(QPainter& p, const QRect& rect) {
    art::FillVertical(p, rect, palette::kStageTop, palette::kStageBottom);
    QRadialGradient glow(QPointF(rect.center().x(), rect.top() + rect.height() * 0.42),
                         rect.width() * 0.55);
    glow.setColorAt(0, QColor(120, 150, 190, 70));
    glow.setColorAt(1, QColor(120, 150, 190, 0));
    p.fillRect(rect, glow);
}

}  // namespace

QImage PreviewPicture(const TDeviceFamily& family, int scale) {
    QImage image = art::NewPicture(300, 224, scale);
    QPainter p(&image);
    art::Prepare(p);
    Stage(p, QRect(0, 0, 300, 224));
    DrawDevice(p, family.Section, QRectF(90, 26, 120, 118));
    art::DrawText(p, QRect(0, 152, 300, 22), Qt::AlignCenter, QString::fromUtf8(family.Name),
                  art::Font(15, true), QColor(236, 241, 247));
    art::DrawText(p, QRect(0, 174, 300, 18), Qt::AlignCenter, QString::fromUtf8(family.FormatName),
                  art::Font(12), QColor(170, 186, 206));
    art::DrawText(p, QRect(0, 198, 300, 16), Qt::AlignCenter,
                  QStringLiteral("Pick a clip and press Play to preview it here"), art::Font(11),
                  QColor(140, 154, 172));
    return image;
}

QImage EmptyPreviewPicture(int scale) {
    QImage image = art::NewPicture(300, 224, scale);
    QPainter p(&image);
    art::Prepare(p);
    Stage(p, QRect(0, 0, 300, 224));
    DrawDevice(p, nullptr, QRectF(110, 60, 80, 70));
    art::DrawText(p, QRect(0, 150, 300, 20), Qt::AlignCenter, QStringLiteral("Preview"),
                  art::Font(14, true), QColor(220, 228, 238));
    return image;
}

QImage Showcase(const TDeviceFamily& family, const QImage& background, const QRect& rect) {
    QImage image = art::Copy(background, rect);
    QPainter p(&image);
    art::Prepare(p);
    const QRect card(0, 0, rect.width(), rect.height());
    art::DrawCard(p, card.adjusted(0, 0, 0, -4), 10);
    DrawDevice(p, family.Section, QRectF(36, 24, 220, card.height() - 56));
    art::DrawText(p, QRect(300, 40, card.width() - 330, 34), Qt::AlignLeft | Qt::AlignVCenter,
                  QString::fromUtf8(family.Name), art::Font(26, true), palette::kTitleText);
    art::DrawText(p, QRect(300, 78, card.width() - 330, 22), Qt::AlignLeft | Qt::AlignVCenter,
                  QString::fromUtf8(family.FormatName), art::Font(15, true), palette::kBlue);
    art::DrawText(p, QRect(300, 112, card.width() - 340, 60),
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                  QString::fromUtf8(family.Description), art::Font(13), palette::kText);
    art::DrawText(p, QRect(300, 182, card.width() - 330, 20), Qt::AlignLeft | Qt::AlignVCenter,
                  QStringLiteral("Click to choose this device"), art::Font(12),
                  palette::kSubtleText);
    return image;
}

QImage Icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    art::Prepare(p);
    const qreal u = size / 16.0;
    const QRectF tile(u * 0.5, u * 0.5, size - u, size - u);
    QLinearGradient gradient(tile.topLeft(), tile.bottomLeft());
    gradient.setColorAt(0, QColor(96, 160, 228));
    gradient.setColorAt(1, QColor(40, 96, 170));
    p.setPen(QPen(QColor(30, 72, 130), qMax<qreal>(1, u * 0.25)));
    p.setBrush(gradient);
    p.drawRoundedRect(tile, u * 3.2, u * 3.2);
    // The play triangle of the mark, and the accent arrow of the convert button.
    QPolygonF play;
    play << QPointF(u * 4.6, u * 3.6) << QPointF(u * 11.4, u * 8) << QPointF(u * 4.6, u * 12.4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawPolygon(play);
    p.setBrush(palette::kAccentTop);
    p.drawEllipse(QPointF(u * 12, u * 12), u * 2.6, u * 2.6);
    p.setBrush(Qt::white);
    QPolygonF arrow;
    arrow << QPointF(u * 11.2, u * 10.6) << QPointF(u * 13.2, u * 12)
          << QPointF(u * 11.2, u * 13.4);
    p.drawPolygon(arrow);
    return image;
}

}  // namespace pictures
