#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QString>

// Drawing primitives shared by every picture of the default skin.
namespace art {

inline constexpr int kCornerRadius = 10;
inline constexpr int kTitleBandHeight = 36;

// The forms' own face ("Tahoma"), sized in pixels so pictures do not depend on the screen.
QFont Font(int pixelSize, bool bold = false);

// A picture of width x height units drawn at scale (1, or 2 for dense screens): scale times as
// many pixels, with that device pixel ratio, so a painter on it draws in units.
QImage NewPicture(int width, int height, int scale, const QColor& fill = Qt::white);
// A picture's scale and its size in units.
int Scale(const QImage& picture);
QSize Size(const QImage& picture);
// The part of picture at rect (units), at the picture's scale.
QImage Copy(const QImage& picture, const QRect& rect);
// A painter with anti-aliasing for shapes and text.
void Prepare(QPainter& painter);

void FillVertical(QPainter& painter, const QRectF& rect, const QColor& top, const QColor& bottom);
QPainterPath Rounded(const QRectF& rect, qreal radius);

// A white card with a 1-pixel border and a soft shadow below it.
void DrawCard(QPainter& painter, const QRect& rect, int radius = 6,
              const QColor& fill = QColor(255, 255, 255));
// A 1-pixel engraved line: shadow, then highlight below (horizontal) or right (vertical).
void DrawGroove(QPainter& painter, const QPoint& from, const QPoint& to);

void DrawText(QPainter& painter, const QRect& rect, int flags, const QString& text,
              const QFont& font, const QColor& colour);

// A window's background: cream body, pale blue title band with the title, a 1-pixel frame with a
// highlight inside, corners rounded to match the window's mask.
QImage WindowBackground(int width, int height, int scale, const QString& title);
// The window's mask: white inside, magenta outside the rounded corners. Always in units: a
// window's shape is a region of whole units whatever the screen.
QImage WindowMask(int width, int height, int radius = kCornerRadius);

// Blends b over a with weight t (0..1).
QImage Blend(const QImage& a, const QImage& b, qreal t);

}  // namespace art
