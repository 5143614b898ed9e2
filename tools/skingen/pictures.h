#pragma once

#include <QImage>
#include <QString>

#include "profiles/devicefamily.h"

// The large pictures of the skin, in units, drawn at scale (art::NewPicture).
namespace pictures {

// The splash "startup.jpg": product name and version.
QImage Splash(const QString& version, int scale);
// A family's picture for the main window's preview panel (300 x 224).
QImage PreviewPicture(const TDeviceFamily& family, int scale);
// The still picture the preview panel shows before a family is chosen.
QImage EmptyPreviewPicture(int scale);
// A family's picture for the device chooser, shown while the mouse is over its button; at the
// background's scale.
QImage Showcase(const TDeviceFamily& family, const QImage& background, const QRect& rect);
// The program's icon, square.
QImage Icon(int size);

}  // namespace pictures
