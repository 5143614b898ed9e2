#pragma once

#include <QImage>
#include <QRegion>
#include <optional>

class QWidget;

// Magenta: pixels of exactly this colour lie outside a skinned window's or button's shape.
inline constexpr QRgb kShapeKeyColour = 0xFF00FF;

// The pixels of bitmap whose colour equals key exactly (alpha ignored), in bitmap coordinates.
// A key of 0 stands for the colour of the top-left pixel. No bitmap (a null image) gives none.
std::optional<QRegion> MakeColourKeyRegion(const QImage& bitmap, QRgb key);

// image with its pixels of colour key made transparent (device pixel ratio kept). A shape is
// cut in whole 1 x units, so on a denser screen the key pixels at a shape's edge would show
// inside it; see-through they show what lies behind, and an enlarged picture blends its edge
// with nothing rather than with magenta.
QImage WithoutKeyColour(const QImage& image, QRgb key);

// The shape cut from a mask: the rectangle (0, 0, mask width, mask height) minus the mask's
// magenta pixels. An all-magenta mask gives an empty region.
QRegion MaskShape(const QImage& mask);

// Gives widget its shape. Qt reads an empty mask as "no mask" and would show the whole widget,
// so an empty shape is set as a single pixel outside the widget: nothing of it is visible or
// takes the mouse, yet it stays open.
void SetWidgetShape(QWidget& widget, const QRegion& shape);

// Gives a top-level window its shape, after its children are in place. Where the compositor
// takes the mask as the input region only (Wayland), the window is also made see-through and
// its children are cut to the shape, so that nothing is drawn outside it and the pixels there
// stay transparent. See-through is fixed when the window's native surface is made, so the
// shape must be given before the window is first shown.
void SetWindowShape(QWidget& window, const QRegion& shape);
