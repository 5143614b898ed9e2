#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "deviceart.h"
#include "glyphs.h"

enum class TButtonStyle {
    Standard,    // a light push button with a glyph and a label
    Primary,     // the one accent button of a window
    Title,       // help and minimise in the title band
    TitleClose,  // close in the title band: red on hover
    Transport,   // round preview controls
    Toggle,      // a two-look button, off
    ToggleOn,    // the same button, on
    Device,      // a device card of the device chooser
};

enum class TButtonState { Normal, Hover, Down, Disabled };

struct TButtonLook {
    TButtonLook(TButtonStyle style, TGlyph glyph, QString text = {}, QString subText = {},
                const char* device = nullptr)
        : style(style),
          glyph(glyph),
          text(std::move(text)),
          subText(std::move(subText)),
          device(device) {}

    TButtonStyle style;
    TGlyph glyph;
    QString text;
    QString subText;
    const char* device;  // the family's section, for the device cards
};

// The strip of state images (normal, hover, down, and disabled when withDisabled) of a button
// at rect of background. Each image is the background behind the button with the button drawn
// over it, so rounded, anti-aliased edges need no shape cut. Drawn at the background's scale.
QImage StateStrip(const QImage& background, const QRect& rect, const TButtonLook& look,
                  bool withDisabled);
// The hover animation: frames easing from the normal look into the hover look, which the
// button then keeps.
QImage HoverFadeStrip(const QImage& background, const QRect& rect, const TButtonLook& look,
                      int frames);
// One state image alone (for pictures of the windows).
QImage ButtonImage(const QImage& background, const QRect& rect, const TButtonLook& look,
                   TButtonState state, qreal hover = 1.0);
