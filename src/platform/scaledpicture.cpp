#include "scaledpicture.h"

#include <QFileInfo>
#include <cmath>

#include "platform/picture.h"

namespace {

constexpr int kDoubleRatio = 2;

int RatioOf(const QImage& picture) {
    return std::max(1, static_cast<int>(std::lround(picture.devicePixelRatio())));
}

}  // namespace

QString DoubleSizePath(const QString& path) {
    const qsizetype nameStart = path.lastIndexOf('/') + 1;
    const qsizetype dot = path.lastIndexOf('.');
    if (dot < nameStart) {
        return path + QStringLiteral("@2x");
    }
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

bool WantsDoubleSize(qreal devicePixelRatio) {
    // A picture drawn at 2 x and shrunk to 1.25 x still beats a 1 x one blown up.
    return devicePixelRatio > 1.0;
}

QImage LoadPictureForRatio(const QString& path, qreal devicePixelRatio,
                           const std::function<QImage(const QString&)>& load) {
    QImage picture = load(path);
    const QString doublePath = DoubleSizePath(path);
    if (!WantsDoubleSize(devicePixelRatio) || !QFileInfo(doublePath).isFile()) {
        return picture;
    }
    // The 1 x picture is what the skin promised; a companion that cannot stand in for it is
    // passed over rather than failing a skin that is otherwise sound.
    QImage doubled;
    try {
        doubled = load(doublePath);
    } catch (const EPictureError&) {
        return picture;
    }
    if (doubled.size() != picture.size() * kDoubleRatio) {
        return picture;
    }
    doubled.setDevicePixelRatio(kDoubleRatio);
    return doubled;
}

QSize PictureSize(const QImage& picture) {
    return picture.size() / RatioOf(picture);
}

QImage CopyPicture(const QImage& picture, const QRect& rect) {
    const int ratio = RatioOf(picture);
    QImage part = picture.copy(QRect(rect.topLeft() * ratio, rect.size() * ratio));
    part.setDevicePixelRatio(ratio);
    return part;
}

namespace {

QRgb UnitColour(const QImage& rgb, int left, int top, int ratio, QRgb key) {
    int keyPixels = 0;
    QRgb other = key;
    for (int y = top; y < top + ratio; ++y) {
        for (int x = left; x < left + ratio; ++x) {
            const QRgb pixel = rgb.pixel(x, y);
            if ((pixel & RGB_MASK) == key) {
                ++keyPixels;
            } else if (other == key) {
                other = pixel;
            }
        }
    }
    return 2 * keyPixels >= ratio * ratio ? (key | 0xFF000000) : other;
}

}  // namespace

QImage UnitShapePicture(const QImage& picture, QRgb key) {
    const int ratio = RatioOf(picture);
    if (ratio == 1 || picture.isNull()) {
        return picture;
    }
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const QSize size = PictureSize(picture);
    QImage unit(size, QImage::Format_RGB32);
    key &= RGB_MASK;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            unit.setPixel(x, y, UnitColour(rgb, x * ratio, y * ratio, ratio, key));
        }
    }
    return unit;
}
