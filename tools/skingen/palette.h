#pragma once

#include <QColor>

// The colours of the default skin: light and calm, one saturated accent for the primary action.
namespace palette {

inline const QColor kKey(255, 0, 255);  // outside a shape

inline const QColor kText(58, 63, 69);
inline const QColor kSubtleText(110, 118, 128);
inline const QColor kTitleText(44, 62, 84);

// The body follows the main window's cream; the title band the editor's pale blue.
inline const QColor kBodyTop(255, 253, 247);
inline const QColor kBodyBottom(246, 241, 228);
inline const QColor kBandTop(238, 245, 251);
inline const QColor kBandBottom(222, 234, 245);
inline const QColor kFrame(150, 164, 180);
inline const QColor kHighlight(255, 255, 255);
inline const QColor kShadow(214, 205, 186);

inline const QColor kCard(255, 255, 255);
inline const QColor kCardBorder(214, 220, 228);
inline const QColor kGroupBlue(234, 243, 250);

inline const QColor kButtonTop(255, 255, 255);
inline const QColor kButtonBottom(233, 238, 244);
inline const QColor kButtonBorder(168, 180, 194);
inline const QColor kHoverTop(250, 252, 255);
inline const QColor kHoverBottom(214, 232, 250);
inline const QColor kHoverBorder(102, 150, 204);
inline const QColor kDownTop(196, 218, 242);
inline const QColor kDownBottom(222, 235, 249);
inline const QColor kDisabledFill(242, 242, 240);
inline const QColor kDisabledBorder(206, 206, 204);
inline const QColor kDisabledText(170, 170, 168);

inline const QColor kAccentTop(255, 166, 66);
inline const QColor kAccentBottom(236, 118, 22);
inline const QColor kAccentBorder(196, 94, 10);
inline const QColor kAccentText(255, 255, 255);

inline const QColor kBlue(58, 120, 196);
inline const QColor kCloseHover(224, 72, 72);

// The dark stage behind video.
inline const QColor kStageTop(56, 66, 82);
inline const QColor kStageBottom(28, 33, 42);

}  // namespace palette
