#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <functional>

class Image_Item;
class TListPanel;

namespace clipfixtures {

// Skin pictures of the list panel, as the skin would give them.
constexpr int kBarWidth = 16;
constexpr int kThumbHeight = 30;
constexpr int kButtonHeight = 16;
inline const QColor kBackColour(10, 20, 30);

// A strip of `frames` frames side by side, each frame in its own colour.
QImage Strip(int frameWidth, int height, int frames);
QImage Solid(int width, int height, const QColor& colour);
// Gives panel its parts (scroll buttons optional), its size, and lays it out.
bool SkinPanel(TListPanel& panel, int height, bool buttons);

// Writes the list panel's pictures as BMP files into dir (thumb.bmp, up.bmp, down.bmp,
// track.bmp, back.bmp, bottom.bmp) and a Skin.ini whose [MainWindow] entry TP_ImageList is
// panelEntry.
void WriteListSkin(const QString& dir, const QString& panelEntry);
inline const QString kFullPanelEntry = QStringLiteral(
    "thumb.bmp,up.bmp,down.bmp,10,20,420,300,1,1,0,0,,track.bmp,back.bmp,bottom.bmp,");

// A thumbnail of the library's size in one colour.
QImage Thumbnail(const QColor& colour);
// Fills a new item and appends it, the way the add-files command does.
Image_Item* AddClip(TListPanel& panel, const QString& name, int duration = 90);

// A valid 80 x 60 JPEG under 1 KiB, padded with zero bytes after its end to `size` bytes.
QByteArray PaddedJpeg(int size);

// A valid 80 x 60 JPEG of noise, well over 1 KiB.
QByteArray NoisyJpeg();

// Runs the event loop until done() or about 20 s have passed (a hang guard, not a timing check).
bool WaitUntil(const std::function<bool()>& done);

}  // namespace clipfixtures
