#include "windowskin.h"

#include <QPainter>

#include "skinart.h"

namespace {

// Frames of the hover fade and their pace: about a fifth of a second, played once.
constexpr int kFadeFrames = 5;
constexpr int kFadeInterval = 35;

}  // namespace

TWindowSkin::TWindowSkin(TSkinWriter& writer, QString section, QString folder, QImage background)
    : writer_(writer),
      section_(std::move(section)),
      folder_(std::move(folder)),
      background_(std::move(background)) {
    writer_.BeginSection(section_);
}

void TWindowSkin::WriteFrame() {
    const QString backgroundFile = File(QStringLiteral("background.jpg"));
    writer_.SaveJpeg(backgroundFile, background_);
    const QSize size = art::Size(background_);
    writer_.ImageEntry(QStringLiteral("Img_Background"), backgroundFile, QRect(QPoint(), size),
                       true, false, false, true);
    const QString maskFile = File(QStringLiteral("mask.bmp"));
    // The loader cuts shapes from the 1 x mask only; a double-size mask would be dead weight.
    if (writer_.Scale() == 1) {
        writer_.SaveBitmap(maskFile, art::WindowMask(size.width(), size.height()));
    }
    writer_.Entry(QStringLiteral("MaskBmp"), maskFile);
}

void TWindowSkin::DynamicButton(const QString& key, const QRect& rect, const TButtonLook& look,
                                const QString& hint, bool hasDisabled, bool animate) {
    const QString strip = File(key + QStringLiteral(".bmp"));
    writer_.SaveBitmap(strip, StateStrip(background_, rect, look, hasDisabled));
    QString animation = QStringLiteral("static");
    if (animate) {
        animation = File(key + QStringLiteral("_hover.bmp"));
        writer_.SaveBitmap(animation, HoverFadeStrip(background_, rect, look, kFadeFrames));
    }
    writer_.DynamicButtonEntry(key, strip, animation, rect, hint, kFadeInterval, 0, hasDisabled);
    buttons_.append({key, rect, look});
}

void TWindowSkin::CheckButton(const QString& key, const QRect& rect, const TButtonLook& off,
                              const TButtonLook& on, const QString& offHint,
                              const QString& onHint) {
    const QString offStrip = File(key + QStringLiteral(".bmp"));
    const QString onStrip = File(key + QStringLiteral("_on.bmp"));
    writer_.SaveBitmap(offStrip, StateStrip(background_, rect, off, false));
    writer_.SaveBitmap(onStrip, StateStrip(background_, rect, on, false));
    writer_.CheckButtonEntry(key, offStrip, onStrip, rect, offHint, onHint);
    buttons_.append({key, rect, off});
}

void TWindowSkin::Overlay(const QPoint& at, const QImage& picture) {
    QImage seeThrough = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < seeThrough.height(); ++y) {
        for (int x = 0; x < seeThrough.width(); ++x) {
            if (seeThrough.pixel(x, y) == 0xFFFF00FF) {
                seeThrough.setPixel(x, y, 0);
            }
        }
    }
    overlays_.append({at, seeThrough});
}

void TWindowSkin::MarkForPreview(const QString& hoveredKey, const QString& pressedKey) {
    hoveredKey_ = hoveredKey;
    pressedKey_ = pressedKey;
}

QImage TWindowSkin::Preview() const {
    QImage picture = background_.copy();
    QPainter painter(&picture);
    for (const auto& [at, overlay] : overlays_) {
        painter.drawImage(at, overlay);
    }
    if (sketch_) {
        art::Prepare(painter);
        sketch_(painter);
    }
    for (const TPlaced& button : buttons_) {
        TButtonState state = TButtonState::Normal;
        if (button.key == hoveredKey_) {
            state = TButtonState::Hover;
        } else if (button.key == pressedKey_) {
            state = TButtonState::Down;
        }
        painter.drawImage(button.rect.topLeft(),
                          ButtonImage(background_, button.rect, button.look, state));
    }
    painter.end();
    // What the mask cuts away shows as the desktop would: not at all.
    const int scale = art::Scale(picture);
    const QImage mask =
        art::WindowMask(picture.width(), picture.height(), art::kCornerRadius * scale);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (mask.pixel(x, y) == 0xFFFF00FF) {
                picture.setPixel(x, y, 0xFF808080);
            }
        }
    }
    return picture;
}
