#include "deviceart.h"

#include <string_view>

#include <QLinearGradient>
#include <QPainterPath>

namespace {

const QColor kOutline(70, 78, 90);
const QColor kBodyLight(250, 251, 253);
const QColor kBodyDark(214, 220, 228);
const QColor kScreenTop(74, 130, 196);
const QColor kScreenBottom(30, 58, 104);
const QColor kKey(188, 196, 206);

// The largest rect of the given proportions centred in box.
QRectF Fit(const QRectF& box, qreal aspect) {
    qreal w = box.width();
    qreal h = w / aspect;
    if (h > box.height()) {
        h = box.height();
        w = h * aspect;
    }
    return QRectF(box.center().x() - w / 2, box.center().y() - h / 2, w, h);
}

void Body(QPainter& p, const QRectF& rect, qreal radius) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomRight());
    gradient.setColorAt(0, kBodyLight);
    gradient.setColorAt(1, kBodyDark);
    p.setBrush(gradient);
    p.setPen(QPen(kOutline, qMax<qreal>(1.0, rect.width() / 60)));
    p.drawRoundedRect(rect, radius, radius);
}

// A screen with a soft reflection and a small play symbol: the device is showing video.
void Screen(QPainter& p, const QRectF& rect, qreal radius) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, kScreenTop);
    gradient.setColorAt(1, kScreenBottom);
    p.setBrush(gradient);
    p.setPen(QPen(kOutline.darker(130), 1));
    p.drawRoundedRect(rect, radius, radius);
    QPainterPath shine;
    shine.moveTo(rect.topLeft() + QPointF(radius, 1));
    shine.lineTo(rect.left() + rect.width() * 0.55, rect.top() + 1);
    shine.lineTo(rect.left() + rect.width() * 0.25, rect.bottom() - 1);
    shine.lineTo(rect.left() + 1, rect.bottom() - 1);
    shine.lineTo(rect.left() + 1, rect.top() + radius);
    shine.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 34));
    p.drawPath(shine.intersected([&] {
        QPainterPath clip;
        clip.addRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
        return clip;
    }()));
    const qreal s = qMin(rect.width(), rect.height()) * 0.22;
    QPolygonF play;
    play << QPointF(rect.center().x() - s * 0.45, rect.center().y() - s * 0.55)
         << QPointF(rect.center().x() + s * 0.6, rect.center().y())
         << QPointF(rect.center().x() - s * 0.45, rect.center().y() + s * 0.55);
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawPolygon(play);
}

void Phone(QPainter& p, const QRectF& box) {
    const QRectF body = Fit(box, 0.5);
    const qreal u = body.width() / 10;
    Body(p, body, u * 1.6);
    Screen(p, QRectF(body.left() + u, body.top() + u * 1.6, u * 8, u * 7.4), u * 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kKey);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            p.drawRoundedRect(QRectF(body.left() + u * (1.4 + col * 2.6),
                                     body.top() + u * (10.4 + row * 2.2), u * 1.9, u * 1.5),
                              u * 0.5, u * 0.5);
        }
    }
    p.setBrush(kOutline);
    p.drawRoundedRect(QRectF(body.center().x() - u * 1.2, body.top() + u * 0.6, u * 2.4, u * 0.4),
                      u * 0.2, u * 0.2);
}

void Handheld(QPainter& p, const QRectF& box) {
    const QRectF body = Fit(box, 2.3);
    const qreal u = body.height() / 10;
    Body(p, body, u * 4.5);
    Screen(p, QRectF(body.center().x() - u * 5.5, body.top() + u * 1.4, u * 11, u * 7.2), u * 0.5);
    // A cross pad on the left, four round buttons on the right.
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    const QPointF pad(body.left() + u * 4, body.center().y());
    p.drawRoundedRect(QRectF(pad.x() - u * 1.6, pad.y() - u * 0.55, u * 3.2, u * 1.1), u * 0.3,
                      u * 0.3);
    p.drawRoundedRect(QRectF(pad.x() - u * 0.55, pad.y() - u * 1.6, u * 1.1, u * 3.2), u * 0.3,
                      u * 0.3);
    const QPointF keys(body.right() - u * 4, body.center().y());
    const QPointF offsets[] = {{0, -1.1}, {1.1, 0}, {0, 1.1}, {-1.1, 0}};
    for (const QPointF& o : offsets) {
        p.drawEllipse(keys + o * u, u * 0.55, u * 0.55);
    }
}

void MusicPlayer(QPainter& p, const QRectF& box) {
    const QRectF body = Fit(box, 0.6);
    const qreal u = body.width() / 10;
    Body(p, body, u * 1.4);
    Screen(p, QRectF(body.left() + u, body.top() + u, u * 8, u * 6), u * 0.5);
    const QPointF wheel(body.center().x(), body.top() + u * 11.6);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(236, 239, 243));
    p.drawEllipse(wheel, u * 3.3, u * 3.3);
    p.setBrush(kBodyLight);
    p.drawEllipse(wheel, u * 1.2, u * 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawRect(QRectF(wheel.x() - u * 0.5, wheel.y() - u * 2.6, u * 1.0, u * 0.3));
    p.drawRect(QRectF(wheel.x() - u * 0.5, wheel.y() + u * 2.3, u * 1.0, u * 0.3));
}

void Pda(QPainter& p, const QRectF& box) {
    const QRectF body = Fit(box, 0.72);
    const qreal u = body.width() / 10;
    Body(p, body, u * 1.0);
    Screen(p, QRectF(body.left() + u * 0.8, body.top() + u * 0.8, u * 8.4, u * 10.4), u * 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(kKey);
    for (int i = 0; i < 4; ++i) {
        p.drawEllipse(QPointF(body.left() + u * (1.9 + i * 2.07), body.bottom() - u * 1.05),
                      u * 0.55, u * 0.55);
    }
}

// A strip of film with a play symbol: any media player.
void Media(QPainter& p, const QRectF& box) {
    const QRectF film = Fit(box, 1.25);
    const qreal u = film.height() / 10;
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(58, 64, 76));
    p.drawRoundedRect(film, u * 0.8, u * 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(kBodyLight);
    for (int i = 0; i < 6; ++i) {
        const qreal x = film.left() + u * (0.9 + i * 2.0);
        p.drawRoundedRect(QRectF(x, film.top() + u * 0.5, u * 1.1, u * 0.9), u * 0.2, u * 0.2);
        p.drawRoundedRect(QRectF(x, film.bottom() - u * 1.4, u * 1.1, u * 0.9), u * 0.2, u * 0.2);
    }
    Screen(p, QRectF(film.left() + u * 0.6, film.top() + u * 2.0, film.width() - u * 1.2, u * 6),
           u * 0.3);
}

}  // namespace

void DrawDevice(QPainter& painter, const char* section, const QRectF& box) {
    // The drawings by family, keyed as the family table keys its profiles.
    static constexpr struct {
        std::string_view section;
        void (*draw)(QPainter&, const QRectF&);
    } kDrawings[] = {
        {"3gp", &Phone}, {"psp", &Handheld}, {"ipod", &MusicPlayer}, {"pda", &Pda}, {"mp4", &Media},
    };
    void (*draw)(QPainter&, const QRectF&) = &Media;
    for (const auto& drawing : kDrawings) {
        if (section && drawing.section == section) {
            draw = drawing.draw;
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    draw(painter, box);
    painter.restore();
}
