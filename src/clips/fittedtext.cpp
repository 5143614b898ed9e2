#include "fittedtext.h"

#include <QFontInfo>
#include <QFontMetrics>

namespace {

bool Fits(const QFont& font, const QString& text, int width) {
    return QFontMetrics(font).horizontalAdvance(text) <= width;
}

}  // namespace

TFittedText::TLine TFittedText::Fit(const QString& caption, const QString& value, TFit fit,
                                    const QFont& font, int width) {
    if (Fits(font, caption + value, width)) {
        return {font, caption + value};
    }
    return fit == TFit::ElideMiddle ? FitPath(caption, value, font, width)
                                    : FitWhole(caption, value, font, width);
}

TFittedText::TLine TFittedText::FitPath(const QString& caption, const QString& value,
                                        const QFont& font, int width) {
    const QFontMetrics metrics(font);
    const int room = std::max(0, width - metrics.horizontalAdvance(caption));
    return {font, caption + metrics.elidedText(value, Qt::ElideMiddle, room)};
}

TFittedText::TLine TFittedText::FitWhole(const QString& caption, const QString& value,
                                         const QFont& font, int width) {
    QFont smaller = font;
    const int start = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    for (int size = start - 1; size >= kSmallestPixelSize; --size) {
        smaller.setPixelSize(size);
        if (Fits(smaller, caption + value, width)) {
            return {smaller, caption + value};
        }
    }
    const QFontMetrics metrics(smaller);
    const int valueWidth = metrics.horizontalAdvance(value);
    if (valueWidth <= width) {
        const QString shortCaption =
            metrics.elidedText(caption, Qt::ElideRight, width - valueWidth);
        return {smaller, shortCaption + value};
    }
    return {smaller, metrics.elidedText(value, Qt::ElideRight, width)};
}
