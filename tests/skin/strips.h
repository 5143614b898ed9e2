#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

class QWidget;
class TempDir;

// Distinct colours for generated state images and frames.
inline const QColor kRed(200, 0, 0);
inline const QColor kGreen(0, 200, 0);
inline const QColor kBlue(0, 0, 200);
inline const QColor kGrey(128, 128, 128);
inline const QColor kYellow(200, 200, 0);
inline const QColor kMagenta(255, 0, 255);

// A horizontal strip of solid images, each width x height, one per colour, plus extra pixels of
// white on the right.
QImage MakeStrip(const std::vector<QColor>& colours, int width, int height, int extra = 0);
// A strip of count frames whose colours differ frame by frame (frame i has red = 10 * (i + 1)).
QImage MakeFrames(int count, int width, int height, int extra = 0);
QColor FrameColour(int index);

// Writes image as a BMP file under dir and returns the name given.
QString SaveBmp(const TempDir& dir, const QString& name, const QImage& image);

// The colour of pixel (x, y) of an image.
QColor PixelAt(const QImage& image, int x = 1, int y = 1);

void SendEnter(QWidget& widget);
void SendLeave(QWidget& widget);
