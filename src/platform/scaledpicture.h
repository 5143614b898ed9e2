#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

// Pictures for screens of more than one device pixel per unit. A skin may lay "Name@2x.ext"
// beside "Name.ext": the same picture drawn at twice the size. Every size and position a skin
// gives stays in 1 x units; a picture carries its device pixel ratio, so code that measures or
// cuts it goes through PictureSize and CopyPicture rather than the pixel counts.

// "Name@2x.ext" for "Name.ext" (the suffix after the file name's last dot; none: at the end).
QString DoubleSizePath(const QString& path);

// Whether a window of this device pixel ratio is served better by a double-size picture.
bool WantsDoubleSize(qreal devicePixelRatio);

// The picture at path as load decodes it (load throws EPictureError when it does not decode).
// For a ratio above 1, the double-size companion replaces it when that exists, decodes and is
// exactly twice the picture's size; it then has device pixel ratio 2. Otherwise (no companion,
// a damaged one or one of another size) the 1 x picture is returned, and painters scale it.
QImage LoadPictureForRatio(const QString& path, qreal devicePixelRatio,
                           const std::function<QImage(const QString&)>& load);

// The size of picture in 1 x units.
QSize PictureSize(const QImage& picture);

// The part of picture at rect (1 x units), with the picture's device pixel ratio. What lies
// outside the picture is zero, as QImage::copy gives it.
QImage CopyPicture(const QImage& picture, const QRect& rect);

// picture at its 1 x size for shapes cut from its key colour: a shape is a region of whole
// units whatever the screen. A unit is of the key colour when at least half of its pixels are
// (as an edge is kept where a shape covers at least half of a pixel); otherwise it takes the
// colour of its first other pixel.
QImage UnitShapePicture(const QImage& picture, QRgb key);
