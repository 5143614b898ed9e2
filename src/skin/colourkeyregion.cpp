#include "colourkeyregion.h"

#include <QWidget>
#include <vector>

#include "platform/windowplacement.h"

namespace {

// The runs of key pixels of one row, as [left, right) pairs.
std::vector<std::pair<int, int>> KeyRuns(const QImage& image, int y, QRgb key) {
    std::vector<std::pair<int, int>> runs;
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int width = image.width();
    for (int x = 0; x < width;) {
        if ((row[x] & RGB_MASK) != key) {
            ++x;
            continue;
        }
        const int left = x;
        while (x < width && (row[x] & RGB_MASK) == key) {
            ++x;
        }
        runs.emplace_back(left, x);
    }
    return runs;
}

// Rows with the same runs merge into one band, which is the form QRegion::setRects expects: Y-X
// sorted, equal heights within a band, no horizontal neighbours touching.
void AppendBand(std::vector<QRect>& rects, const std::vector<std::pair<int, int>>& runs, int top,
                int height) {
    for (const auto& [left, right] : runs) {
        rects.emplace_back(left, top, right - left, height);
    }
}

}  // namespace

std::optional<QRegion> MakeColourKeyRegion(const QImage& bitmap, QRgb key) {
    if (bitmap.isNull()) {
        return std::nullopt;
    }
    const QImage image = bitmap.convertToFormat(QImage::Format_RGB32);
    key = (key == 0 ? image.pixel(0, 0) : key) & RGB_MASK;

    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> bandRuns;
    int bandTop = 0;
    for (int y = 0; y < image.height(); ++y) {
        auto runs = KeyRuns(image, y, key);
        if (runs != bandRuns) {
            AppendBand(rects, bandRuns, bandTop, y - bandTop);
            bandRuns = std::move(runs);
            bandTop = y;
        }
    }
    AppendBand(rects, bandRuns, bandTop, image.height() - bandTop);

    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

QImage WithoutKeyColour(const QImage& image, QRgb key) {
    QImage shown = image.convertToFormat(QImage::Format_ARGB32);
    key &= RGB_MASK;
    for (int y = 0; y < shown.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(shown.scanLine(y));
        for (int x = 0; x < shown.width(); ++x) {
            if ((row[x] & RGB_MASK) == key) {
                row[x] = 0;
            }
        }
    }
    return shown.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QRegion MaskShape(const QImage& mask) {
    const QRegion whole(0, 0, mask.width(), mask.height());
    return whole.subtracted(MakeColourKeyRegion(mask, kShapeKeyColour).value_or(QRegion()));
}

void SetWidgetShape(QWidget& widget, const QRegion& shape) {
    widget.setMask(shape.isEmpty() ? QRegion(-1, -1, 1, 1) : shape);
}

void SetWindowShape(QWidget& window, const QRegion& shape) {
    SetWidgetShape(window, shape);
    if (!CompositorPlacesWindows()) {
        return;
    }
    // Only a window with an alpha channel has its backing store cleared to transparent; without
    // one the window's background colour would fill the parts outside the shape.
    window.setAttribute(Qt::WA_TranslucentBackground);
    // Qt clips a child's painting to the child's own mask, not to its window's (a window's
    // mask is left to the windowing system), so the children that reach past the shape (the
    // background picture above all) are cut to it.
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRegion bounds(child->rect());
        const QRegion inside = shape.translated(-child->pos()) & bounds;
        if (child->isWindow() || inside == bounds) {
            continue;
        }
        SetWidgetShape(*child, (child->mask().isEmpty() ? bounds : child->mask()) & inside);
    }
}
