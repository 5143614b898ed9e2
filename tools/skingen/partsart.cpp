#include "partsart.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "palette.h"
#include "skinart.h"

namespace parts {

namespace {

const QColor kGroove(218, 224, 231);
const QColor kGrooveShade(190, 198, 208);
const QColor kListContent(250, 251, 252);
const QColor kListTrack(238, 241, 245);

// Draws art over base and keys out every pixel the shape covers less than half, so a shaped
// part keeps anti-aliased edges inside and clean magenta outside.
QImage Shaped(const QImage& base, const std::function<void(QPainter&)>& draw) {
    QImage picture = base.convertToFormat(QImage::Format_RGB32);
    QPainter p(&picture);
    art::Prepare(p);
    draw(p);
    p.end();
    // The same drawing on a clear picture measures how much of each pixel the shape covers.
    QImage coverage(base.size(), QImage::Format_ARGB32_Premultiplied);
    coverage.setDevicePixelRatio(base.devicePixelRatio());
    coverage.fill(Qt::transparent);
    QPainter c(&coverage);
    c.setRenderHint(QPainter::Antialiasing, true);
    draw(c);
    c.end();
    for (int y = 0; y < coverage.height(); ++y) {
        for (int x = 0; x < coverage.width(); ++x) {
            if (qAlpha(coverage.pixel(x, y)) < 128) {
                picture.setPixel(x, y, palette::kKey.rgb());
            }
        }
    }
    return picture;
}

void Groove(QPainter& p, const QRectF& rect) {
    const qreal r = rect.height() / 2;
    p.setPen(QPen(kGrooveShade, 1));
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, kGrooveShade);
    gradient.setColorAt(0.35, kGroove);
    gradient.setColorAt(1, kGroove.lighter(104));
    p.setBrush(gradient);
    p.drawRoundedRect(rect, r, r);
}

QImage ThreeFrames(int width, int height, int scale,
                   const std::function<void(QPainter&, int)>& frame) {
    QImage strip = art::NewPicture(width * 3, height, scale);
    QPainter p(&strip);
    art::Prepare(p);
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(i * width, 0);
        p.setClipRect(0, 0, width, height);
        frame(p, i);
        p.restore();
    }
    return strip;
}

}  // namespace

QImage BarTrack(int scale) {
    QImage image = art::NewPicture(kBarWidth, kBarHeight, scale, palette::kCard);
    QPainter p(&image);
    art::Prepare(p);
    Groove(p, QRectF(0.5, 5.5, kBarWidth - 1, 5));
    return image;
}

QImage BarRangeFill(int scale) {
    QImage image = art::NewPicture(8, 6, scale);
    QPainter p(&image);
    art::FillVertical(p, QRect(0, 0, 8, 6), QColor(126, 176, 232), QColor(58, 120, 196));
    return image;
}

// The track's column under a moving part: the same groove at every x.
QImage TrackColumn(int width, int scale) {
    return art::Copy(BarTrack(scale), QRect(kBarWidth / 2 - width / 2, 0, width, kBarHeight));
}

QImage BarThumb(int scale) {
    QImage strip = art::NewPicture(kThumbSize * 3, kBarHeight, scale);
    QPainter p(&strip);
    const QImage column = TrackColumn(kThumbSize, scale);
    for (int i = 0; i < 3; ++i) {
        const bool hover = i > 0;
        p.drawImage(i * kThumbSize, 0, Shaped(column, [hover](QPainter& q) {
                        QLinearGradient g(0, 1, 0, 15);
                        g.setColorAt(0, Qt::white);
                        g.setColorAt(1, hover ? palette::kHoverBottom : QColor(232, 236, 241));
                        q.setPen(QPen(hover ? palette::kHoverBorder : palette::kButtonBorder, 1));
                        q.setBrush(g);
                        q.drawEllipse(QRectF(0.5, 1.5, 13, 13));
                        q.setPen(Qt::NoPen);
                        q.setBrush(hover ? palette::kBlue : QColor(140, 152, 166));
                        q.drawEllipse(QRectF(5, 6, 4, 4));
                    }));
    }
    return strip;
}

QImage BarMarker(bool start, int scale) {
    QImage strip = art::NewPicture(kMarkerWidth * 3, kBarHeight, scale);
    QPainter p(&strip);
    const QImage column = TrackColumn(kMarkerWidth, scale);
    for (int i = 0; i < 3; ++i) {
        const QColor colour = i > 0 ? palette::kAccentBottom : palette::kBlue;
        // A bracket whose inner edge stands on the range's end.
        p.drawImage(i * kMarkerWidth, 0, Shaped(column, [start, colour](QPainter& q) {
                        q.setPen(Qt::NoPen);
                        q.setBrush(colour);
                        QPainterPath path;
                        if (start) {
                            path.addRoundedRect(QRectF(4, 0, 4, 16), 1, 1);
                            path.addRoundedRect(QRectF(0, 0, 8, 3), 1, 1);
                            path.addRoundedRect(QRectF(0, 13, 8, 3), 1, 1);
                        } else {
                            path.addRoundedRect(QRectF(0, 0, 4, 16), 1, 1);
                            path.addRoundedRect(QRectF(0, 0, 8, 3), 1, 1);
                            path.addRoundedRect(QRectF(0, 13, 8, 3), 1, 1);
                        }
                        q.drawPath(path.simplified());
                    }));
    }
    return strip;
}

QImage ListThumb(int scale) {
    return ThreeFrames(kScrollWidth, 40, scale, [](QPainter& p, int i) {
        p.fillRect(0, 0, kScrollWidth, 40, kListTrack);
        const QColor colours[] = {QColor(196, 204, 214), QColor(160, 176, 196),
                                  QColor(126, 146, 172)};
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i]);
        p.drawRoundedRect(QRectF(2.5, 1.5, kScrollWidth - 5, 37), 3.5, 3.5);
    });
}

QImage ListButton(bool up, int scale) {
    return ThreeFrames(kScrollWidth, 14, scale, [up](QPainter& p, int i) {
        p.fillRect(0, 0, kScrollWidth, 14, i == 2 ? QColor(214, 222, 232) : kListTrack);
        const QColor colour = i == 0 ? QColor(130, 140, 152) : palette::kBlue;
        QPolygonF arrow;
        if (up) {
            arrow << QPointF(2.5, 9.5) << QPointF(6, 5) << QPointF(9.5, 9.5);
        } else {
            arrow << QPointF(2.5, 4.5) << QPointF(6, 9) << QPointF(9.5, 4.5);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPolygon(arrow);
    });
}

QImage ListTrack(int scale) {
    QImage image = art::NewPicture(kScrollWidth, 64, scale, kListTrack);
    QPainter p(&image);
    p.setPen(QColor(222, 227, 233));
    p.drawLine(0, 0, 0, 63);
    return image;
}

QImage ListBackground(int scale) {
    return art::NewPicture(8, 8, scale, kListContent);
}

QImage ProgressGrooves(int width, int height, int firstTop, int secondTop, int barHeight,
                       int scale) {
    QImage image = art::NewPicture(width, height, scale, palette::kCard);
    QPainter p(&image);
    art::Prepare(p);
    Groove(p, QRectF(0.5, firstTop + 0.5, width - 1, barHeight - 1));
    Groove(p, QRectF(0.5, secondTop + 0.5, width - 1, barHeight - 1));
    return image;
}

QImage ProgressFill(int width, int height, bool total, int scale) {
    const QImage base = art::NewPicture(width, height, scale, kGroove);
    return Shaped(base, [=](QPainter& p) {
        QLinearGradient g(0, 0, 0, height);
        g.setColorAt(0, total ? QColor(170, 206, 242) : QColor(186, 222, 250));
        g.setColorAt(1, total ? QColor(104, 160, 222) : QColor(124, 184, 236));
        p.setPen(QPen(total ? QColor(80, 132, 196) : QColor(96, 150, 210), 1));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), (height - 1) / 2.0,
                          (height - 1) / 2.0);
    });
}

}  // namespace parts
