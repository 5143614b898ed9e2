#include <QPainter>

#include "formsketch.h"
#include "palette.h"
#include "skin/formlayout.h"
#include "skinart.h"
#include "windowskin.h"
#include "windowskins.h"

namespace {

namespace layout = formlayout::profile;

QImage Background(int scale) {
    const QSize size = layout::kWindow;
    QImage image =
        art::WindowBackground(size.width(), size.height(), scale, QStringLiteral("Output Profile"));
    QPainter p(&image);
    art::Prepare(p);
    // Soft cards under the group boxes, in their own pale blue, so their corners sit well.
    art::DrawCard(p, layout::kVideoGroup.adjusted(-2, -2, 2, 2), 6, palette::kGroupBlue);
    art::DrawCard(p, layout::kAudioGroup.adjusted(-2, -2, 2, 2), 6, palette::kGroupBlue);
    // The name's edit is flat and has no label of its own: the background names it and draws
    // the field it sits in.
    art::DrawText(p, layout::kNameCaption.adjusted(0, -2, 0, 2), Qt::AlignLeft | Qt::AlignVCenter,
                  QStringLiteral("Profile Name:"), art::Font(12), palette::kText);
    art::DrawCard(p, layout::kName.adjusted(-3, -1, 3, 1), 3, palette::kCard);
    return image;
}

}  // namespace

QImage WriteProfileWindowSkin(TSkinWriter& writer) {
    TWindowSkin skin(writer, QStringLiteral("ProfileWindow"), QStringLiteral("Profile"),
                     Background(writer.Scale()));
    skin.WriteFrame();
    const int right = layout::kWindow.width() - 8;
    skin.DynamicButton("TB_Close", QRect(right - 30, 6, 30, 24),
                       {TButtonStyle::TitleClose, TGlyph::Close}, "Close without saving", false,
                       false);
    skin.DynamicButton("TB_Ok", QRect(266, 326, 96, 30),
                       {TButtonStyle::Primary, TGlyph::Check, "OK"}, "Save the profile", true,
                       true);
    skin.DynamicButton("TB_Cancel", QRect(368, 326, 96, 30),
                       {TButtonStyle::Standard, TGlyph::None, "Cancel"}, "Close without saving",
                       true, true);
    skin.MarkForPreview("TB_Cancel", "");
    skin.Sketch(formsketch::Profile);
    return skin.Preview();
}
