#include "clipfixtures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QThread>

#include "clips/image_item.h"
#include "clips/listpanel.h"

namespace clipfixtures {

QImage Strip(int frameWidth, int height, int frames) {
    QImage strip(frameWidth * frames, height, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (int i = 0; i < frames; ++i) {
        painter.fillRect(i * frameWidth, 0, frameWidth, height, QColor(60 + 60 * i, 90, 200));
    }
    return strip;
}

QImage Solid(int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool SkinPanel(TListPanel& panel, int height, bool buttons) {
    bool ok = panel.SetThumbBitmap(Strip(kBarWidth, kThumbHeight, 3));
    ok = panel.SetTrackBitmap(Solid(kBarWidth, 8, Qt::darkGray)) && ok;
    ok = panel.SetBackgroundBitmap(Solid(4, 4, kBackColour)) && ok;
    if (buttons) {
        ok = panel.SetUpButtonBitmap(Strip(kBarWidth, kButtonHeight, 3)) && ok;
        ok = panel.SetDownButtonBitmap(Strip(kBarWidth, kButtonHeight, 3)) && ok;
    }
    panel.resize(Image_Item::ItemWidth + 4 + kBarWidth, height);
    return panel.LayOut() && ok;
}

void WriteListSkin(const QString& dir, const QString& panelEntry) {
    Strip(kBarWidth, kThumbHeight, 3).save(dir + "thumb.bmp", "BMP");
    Strip(kBarWidth, kButtonHeight, 3).save(dir + "up.bmp", "BMP");
    Strip(kBarWidth, kButtonHeight, 3).save(dir + "down.bmp", "BMP");
    Solid(kBarWidth, 8, QColor(70, 70, 90)).save(dir + "track.bmp", "BMP");
    Solid(4, 4, kBackColour).save(dir + "back.bmp", "BMP");
    Solid(200, 6, QColor(0, 0, 160)).save(dir + "bottom.bmp", "BMP");
    QFile ini(dir + "Skin.ini");
    if (ini.open(QIODevice::WriteOnly | QIODevice::Text)) {
        ini.write("[MainWindow]\nTP_ImageList=" + panelEntry.toUtf8() + "\n");
    }
}

QImage Thumbnail(const QColor& colour) {
    return Solid(80, 60, colour);
}

Image_Item* AddClip(TListPanel& panel, const QString& name, int duration) {
    ClipRecord record;
    record.SourceFile = name;
    record.Duration = duration;
    record.VideoFormat = QStringLiteral("mpeg4");
    record.AudioFormat = QStringLiteral("aac");
    record.Width = 320;
    record.Height = 240;
    auto* item = new Image_Item(&panel);
    item->Fill(record, Thumbnail(Qt::yellow));
    panel.AddItem(item);
    return item;
}

QByteArray PaddedJpeg(int size) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    Solid(80, 60, QColor(200, 40, 40)).save(&buffer, "JPG", 50);
    if (data.size() < size) {
        data.append(QByteArray(size - data.size(), '\0'));
    }
    return data;
}

QByteArray NoisyJpeg() {
    QImage noise(80, 60, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            noise.setPixel(x, y, seed >> 8);
        }
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    noise.save(&buffer, "JPG", 95);
    return data;
}

bool WaitUntil(const std::function<bool()>& done) {
    QElapsedTimer guard;
    guard.start();
    while (!done()) {
        if (guard.elapsed() > 20000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

}  // namespace clipfixtures
