#include "strips.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QWidget>

#include "support/tempdir.h"

QImage MakeStrip(const std::vector<QColor>& colours, int width, int height, int extra) {
    QImage strip(width * static_cast<int>(colours.size()) + extra, height, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    for (size_t i = 0; i < colours.size(); ++i) {
        painter.fillRect(static_cast<int>(i) * width, 0, width, height, colours[i]);
    }
    return strip;
}

QColor FrameColour(int index) {
    return QColor(10 * (index + 1), 50, 50);
}

QImage MakeFrames(int count, int width, int height, int extra) {
    std::vector<QColor> colours;
    for (int i = 0; i < count; ++i) {
        colours.push_back(FrameColour(i));
    }
    return MakeStrip(colours, width, height, extra);
}

QString SaveBmp(const TempDir& dir, const QString& name, const QImage& image) {
    image.save(dir.Path() + name, "BMP");
    return name;
}

QColor PixelAt(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

void SendEnter(QWidget& widget) {
    const QPointF inside(1, 1);
    QEnterEvent event(inside, inside, widget.mapToGlobal(inside));
    QApplication::sendEvent(&widget, &event);
}

void SendLeave(QWidget& widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&widget, &event);
}
