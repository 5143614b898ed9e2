#include "clipfixtures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
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
