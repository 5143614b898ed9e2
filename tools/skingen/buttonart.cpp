#include "buttonart.h"

#include <QPainter>
#include <QPainterPath>

#include "palette.h"
#include "skinart.h"

namespace {

QColor Mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(
        a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

struct TFaceColours {
    QColor top, bottom, border, text;
};

// The chrome of a push button in a state; hover eases from normal (0) to full hover (1).
TFaceColours PushColours(bool primary, TButtonState state, qreal hover) {
    using namespace palette;
    if (state == TButtonState::Disabled) {
        return {kDisabledFill, kDisabledFill, kDisabledBorder, kDisabledText};
    }
    if (primary) {
        const TFaceColours normal{kAccentTop, kAccentBottom, kAccentBorder, kAccentText};
        if (state == TButtonState::Down) {
            return {kAccentBottom.darker(112), kAccentTop.darker(104), kAccentBorder.darker(115),
                    kAccentText};
        }
        if (state == TButtonState::Hover) {
            return {Mix(normal.top, kAccentTop.lighter(110), hover),
                    Mix(normal.bottom, kAccentBottom.lighter(112), hover), normal.border,
                    kAccentText};
        }
        return normal;
    }
    if (state == TButtonState::Down) {
        return {kDownTop, kDownBottom, kHoverBorder.darker(110), kText};
    }
    if (state == TButtonState::Hover) {
        return {Mix(kButtonTop, kHoverTop, hover), Mix(kButtonBottom, kHoverBottom, hover),
                Mix(kButtonBorder, kHoverBorder, hover), kText};
    }
    return {kButtonTop, kButtonBottom, kButtonBorder, kText};
}

QColor GlyphColour(const TButtonLook& look, TButtonState state, const TFaceColours& colours) {
    if (state == TButtonState::Disabled) {
        return palette::kDisabledText;
    }
    if (look.style == TButtonStyle::Primary) {
        return colours.text;
    }
    return palette::kBlue.darker(state == TButtonState::Down ? 120 : 100);
}

// Glyph and label side by side, centred; pressed faces move down one pixel.
void DrawContent(QPainter& p, const QRect& rect, const TButtonLook& look, TButtonState state,
                 const QColor& glyphColour, const QColor& textColour) {
    const int shift = state == TButtonState::Down ? 1 : 0;
    const QFont font = art::Font(rect.height() >= 40 ? 15 : 12, true);
    const int textWidth = look.text.isEmpty() ? 0 : QFontMetrics(font).horizontalAdvance(look.text);
    const int glyphSize = rect.height() >= 40 ? 20 : 16;
    const bool hasGlyph = look.glyph != TGlyph::None;
    const int gap = hasGlyph && textWidth > 0 ? 7 : 0;
    const int total = (hasGlyph ? glyphSize : 0) + gap + textWidth;
    int x = rect.left() + (rect.width() - total) / 2;
    const int cy = rect.top() + rect.height() / 2 + shift;
    if (hasGlyph) {
        DrawGlyph(p, look.glyph, QRectF(x, cy - glyphSize / 2, glyphSize, glyphSize), glyphColour);
        x += glyphSize + gap;
    }
    if (textWidth > 0) {
        art::DrawText(p, QRect(x, rect.top() + shift, textWidth + 2, rect.height()),
                      Qt::AlignVCenter | Qt::AlignLeft, look.text, font, textColour);
    }
}

void DrawPush(QPainter& p, const QRect& rect, const TButtonLook& look, TButtonState state,
              qreal hover) {
    const bool primary = look.style == TButtonStyle::Primary;
    const TFaceColours c = PushColours(primary, state, hover);
    const QRectF face = QRectF(rect).adjusted(0.5, 0.5, -0.5, -1.5);
    const qreal radius = qMin<qreal>(6, rect.height() / 3.0);
    // A soft drop shadow under a raised face; none when pressed.
    if (state != TButtonState::Down && state != TButtonState::Disabled) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 22));
        p.drawPath(art::Rounded(face.translated(0, 1), radius));
    }
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0, c.top);
    gradient.setColorAt(1, c.bottom);
    p.setBrush(gradient);
    p.setPen(QPen(c.border, 1));
    p.drawPath(art::Rounded(face, radius));
    if (state != TButtonState::Down && state != TButtonState::Disabled) {
        p.setPen(QPen(QColor(255, 255, 255, primary ? 90 : 220), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(art::Rounded(face.adjusted(1, 1, -1, -1), radius - 1));
    }
    DrawContent(p, rect.adjusted(0, 0, 0, -1), look, state, GlyphColour(look, state, c), c.text);
}

// Title band buttons: only the glyph until the mouse comes, then a soft rounded plate.
void DrawTitle(QPainter& p, const QRect& rect, const TButtonLook& look, TButtonState state,
               qreal hover) {
    const bool close = look.style == TButtonStyle::TitleClose;
    QColor plate = close ? palette::kCloseHover : QColor(255, 255, 255);
    QColor glyph = palette::kTitleText;
    if (state == TButtonState::Hover) {
        plate.setAlphaF(close ? hover : 0.85 * hover);
        glyph = close ? Mix(palette::kTitleText, Qt::white, hover) : palette::kBlue;
    } else if (state == TButtonState::Down) {
        plate = close ? palette::kCloseHover.darker(120) : palette::kHoverBottom;
        glyph = close ? QColor(Qt::white) : palette::kBlue.darker(120);
    } else {
        plate.setAlpha(0);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(plate);
    p.drawPath(art::Rounded(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 5));
    const QPoint centre = rect.center() + QPoint(1, 1);
    DrawGlyph(p, look.glyph, QRectF(centre.x() - 8, centre.y() - 8, 16, 16), glyph);
}

// Round preview controls on the light card below the video.
void DrawTransport(QPainter& p, const QRect& rect, const TButtonLook& look, TButtonState state,
                   qreal hover) {
    const TFaceColours c = PushColours(false, state, hover);
    const qreal d = qMin(rect.width(), rect.height()) - 2;
    const QRectF circle(rect.center().x() + 1 - d / 2, rect.top() + 0.5, d, d);
    if (state != TButtonState::Down && state != TButtonState::Disabled) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 24));
        p.drawEllipse(circle.translated(0, 1));
    }
    QLinearGradient gradient(circle.topLeft(), circle.bottomLeft());
    gradient.setColorAt(0, c.top);
    gradient.setColorAt(1, c.bottom);
    p.setBrush(gradient);
    p.setPen(QPen(c.border, 1));
    p.drawEllipse(circle);
    const int shift = state == TButtonState::Down ? 1 : 0;
    const QPointF centre = circle.center() + QPointF(0, shift);
    DrawGlyph(p, look.glyph, QRectF(qRound(centre.x() - 8), qRound(centre.y() - 8), 16, 16),
              GlyphColour(look, state, c));
}

void DrawToggle(QPainter& p, const QRect& rect, const TButtonLook& look, TButtonState state,
                qreal hover) {
    if (look.style == TButtonStyle::Toggle) {
        DrawTransport(p, rect, look, state, hover);
        return;
    }
    // On: a pale blue plate with a blue ring, so the kept state reads at a glance.
    const qreal d = qMin(rect.width(), rect.height()) - 2;
    const QRectF circle(rect.center().x() + 1 - d / 2, rect.top() + 0.5, d, d);
    QColor fill = state == TButtonState::Down ? palette::kDownTop : palette::kHoverBottom;
    if (state == TButtonState::Hover) {
        fill = Mix(palette::kHoverBottom, palette::kDownTop, hover * 0.6);
    }
    p.setPen(QPen(palette::kBlue, 1.5));
    p.setBrush(fill);
    p.drawEllipse(circle.adjusted(0.25, 0.25, -0.25, -0.25));
    const int shift = state == TButtonState::Down ? 1 : 0;
    const QPointF centre = circle.center() + QPointF(0, shift);
    DrawGlyph(p, look.glyph, QRectF(qRound(centre.x() - 8), qRound(centre.y() - 8), 16, 16),
              palette::kBlue.darker(115));
}

// A device card: the device on top, its name and formats below. Hovering lifts the device and
// tints the card.
void DrawDeviceCard(QPainter& p, const QRect& rect, const TButtonLook& look, TButtonState state,
                    qreal hover) {
    const qreal t = state == TButtonState::Hover ? hover : 0;
    const QRectF card = QRectF(rect).adjusted(2.5, 2.5, -2.5, -3.5);
    p.setPen(Qt::NoPen);
    for (int i = 1; i <= 3; ++i) {
        p.setBrush(QColor(60, 50, 30, state == TButtonState::Down ? 8 : int(10 + 8 * t)));
        p.drawPath(art::Rounded(card.translated(0, i * (0.5 + t * 0.5)), 10));
    }
    QLinearGradient gradient(card.topLeft(), card.bottomLeft());
    if (state == TButtonState::Down) {
        gradient.setColorAt(0, palette::kDownBottom);
        gradient.setColorAt(1, palette::kDownTop);
    } else {
        gradient.setColorAt(0, QColor(255, 255, 255));
        gradient.setColorAt(1, Mix(QColor(246, 248, 251), palette::kHoverBottom, t * 0.7));
    }
    p.setBrush(gradient);
    const QColor border = state == TButtonState::Down
                              ? palette::kHoverBorder.darker(110)
                              : Mix(palette::kCardBorder, palette::kHoverBorder, t);
    p.setPen(QPen(border, state == TButtonState::Normal ? 1 : 1.5));
    p.drawPath(art::Rounded(card, 10));

    const qreal lift = state == TButtonState::Down ? -1 : 3 * t;
    const QRectF artBox(card.left() + 20, card.top() + 14 - lift, card.width() - 40,
                        card.height() - 78);
    DrawDevice(p, look.device, artBox);
    const int shift = state == TButtonState::Down ? 1 : 0;
    const QRect textRect(rect.left() + 6, rect.bottom() - 58 + shift, rect.width() - 12, 24);
    art::DrawText(p, textRect, Qt::AlignCenter, look.text, art::Font(15, true),
                  Mix(palette::kText, palette::kBlue.darker(120), t));
    art::DrawText(p, textRect.translated(0, 22), Qt::AlignCenter, look.subText, art::Font(12),
                  palette::kSubtleText);
}

void DrawFace(QPainter& p, const QRect& rect, const TButtonLook& look, TButtonState state,
              qreal hover) {
    switch (look.style) {
        case TButtonStyle::Standard:
        case TButtonStyle::Primary:
            DrawPush(p, rect, look, state, hover);
            break;
        case TButtonStyle::Title:
        case TButtonStyle::TitleClose:
            DrawTitle(p, rect, look, state, hover);
            break;
        case TButtonStyle::Transport:
            DrawTransport(p, rect, look, state, hover);
            break;
        case TButtonStyle::Toggle:
        case TButtonStyle::ToggleOn:
            DrawToggle(p, rect, look, state, hover);
            break;
        case TButtonStyle::Device:
            DrawDeviceCard(p, rect, look, state, hover);
            break;
    }
}

}  // namespace

QImage ButtonImage(const QImage& background, const QRect& rect, const TButtonLook& look,
                   TButtonState state, qreal hover) {
    QImage image = art::Copy(background, rect).convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    art::Prepare(painter);
    DrawFace(painter, QRect(QPoint(0, 0), rect.size()), look, state, hover);
    return image;
}

QImage StateStrip(const QImage& background, const QRect& rect, const TButtonLook& look,
                  bool withDisabled) {
    QList<TButtonState> states{TButtonState::Normal, TButtonState::Hover, TButtonState::Down};
    if (withDisabled) {
        states << TButtonState::Disabled;
    }
    QImage strip = art::NewPicture(rect.width() * static_cast<int>(states.size()), rect.height(),
                                   art::Scale(background));
    QPainter painter(&strip);
    for (int i = 0; i < states.size(); ++i) {
        painter.drawImage(i * rect.width(), 0, ButtonImage(background, rect, look, states[i]));
    }
    return strip;
}

QImage HoverFadeStrip(const QImage& background, const QRect& rect, const TButtonLook& look,
                      int frames) {
    QImage strip = art::NewPicture(rect.width() * frames, rect.height(), art::Scale(background));
    QPainter painter(&strip);
    for (int i = 0; i < frames; ++i) {
        // Ease out: quick at first, settling softly into the hover look.
        const qreal x = (i + 1.0) / (frames + 1.0);
        const qreal t = 1 - (1 - x) * (1 - x);
        painter.drawImage(i * rect.width(), 0,
                          ButtonImage(background, rect, look, TButtonState::Hover, t));
    }
    return strip;
}
