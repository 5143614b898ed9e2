#pragma once

#include <QImage>
#include <QString>

#include "deviceart.h"

// The large pictures of the skin.
namespace pictures {

// What a device family is, in the words the pictures use.
struct TFamily {
    TDevice device;
    QString name;         // "Mobile phone"
    QString format;       // "3GP video"
    QString description;  // one or two sentences, wrapped by the picture
};

const TFamily& Family(int index);  // 0 3gp, 1 psp, 2 ipod, 3 pda, 4 mp4

// The splash "startup.jpg": product name and version.
QImage Splash(const QString& version);
// A family's picture for the main window's preview panel (300 x 224).
QImage PreviewPicture(const TFamily& family);
// The still picture the preview panel shows before a family is chosen.
QImage EmptyPreviewPicture();
// A family's picture for the device chooser, shown while the mouse is over its button.
QImage Showcase(const TFamily& family, const QImage& background, const QRect& rect);
// The program's icon, square.
QImage Icon(int size);

}  // namespace pictures
