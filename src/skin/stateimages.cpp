#include "stateimages.h"

#include "platform/scaledpicture.h"

namespace {

QImage CutOne(const QImage& strip, int x, int width, int height) {
    // The copy fills what lies outside the strip with zeros; a strip shorter than the button
    // leaves black rows, as a bitmap copy would.
    return CopyPicture(strip, QRect(x, 0, width, height)).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

bool TStateImages::StripFits(int stripWidth, int width, bool hover, bool down, bool disabled) {
    const qint64 count = 1 + (hover ? 1 : 0) + (down ? 1 : 0) + (disabled ? 1 : 0);
    return width >= 0 && stripWidth >= static_cast<qint64>(width) * count;
}

void TStateImages::Change(const std::function<QImage(const QImage&)>& change) {
    normal_ = change(normal_);
    for (std::optional<QImage>* slot : {&hover_, &down_, &disabled_}) {
        if (*slot) {
            **slot = change(**slot);
        }
    }
}

std::optional<TStateImages> TStateImages::Cut(const QImage& strip, int width, int height,
                                              bool hover, bool down, bool disabled) {
    if (strip.isNull() || height < 0 ||
        !StripFits(PictureSize(strip).width(), width, hover, down, disabled)) {
        return std::nullopt;
    }
    TStateImages images;
    images.normal_ = CutOne(strip, 0, width, height);
    int offset = 0;
    for (auto [wanted, slot] : {std::pair{hover, &images.hover_}, std::pair{down, &images.down_},
                                std::pair{disabled, &images.disabled_}}) {
        if (wanted) {
            offset += width;
            *slot = CutOne(strip, offset, width, height);
        }
    }
    return images;
}
