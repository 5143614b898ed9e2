#include <QPainter>

#include "formsketch.h"
#include "glyphs.h"
#include "palette.h"
#include "pictures.h"
#include "skin/formlayout.h"
#include "skinart.h"
#include "windowskin.h"
#include "windowskins.h"

namespace {

namespace layout = formlayout::about;

QImage Background(int scale) {
    const QSize size = layout::kWindow;
    QImage image =
        art::WindowBackground(size.width(), size.height(), scale, QStringLiteral("About"));
    QPainter p(&image);
    art::Prepare(p);
    // Below the title and version, whose labels grow with their text, beside the description.
    QImage icon = pictures::Icon(48 * scale);
    icon.setDevicePixelRatio(scale);
    p.drawImage(QPoint(322, 104), icon);
    art::DrawText(p, QRect(37, layout::kVersion.top(), 140, layout::kVersion.height()),
                  Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Version"), art::Font(11),
                  palette::kSubtleText);
    art::DrawText(p, QRect(37, 112, 260, 32), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                  QStringLiteral("Video for phones, game handhelds, music players and media "
                                 "players."),
                  art::Font(11), palette::kText);
    art::DrawGroove(p, QPoint(14, 150), QPoint(size.width() - 15, 150));
    return image;
}

}  // namespace

QImage WriteAboutWindowSkin(TSkinWriter& writer) {
    TWindowSkin skin(writer, QStringLiteral("AboutWindow"), QStringLiteral("About"),
                     Background(writer.Scale()));
    skin.WriteFrame();
    const int right = layout::kWindow.width() - 8;
    skin.DynamicButton("TB_Close", QRect(right - 30, 6, 30, 24),
                       {TButtonStyle::TitleClose, TGlyph::Close}, "Close", false, false);
    skin.DynamicButton("TB_Home", QRect(37, 164, 120, 32),
                       {TButtonStyle::Standard, TGlyph::Home, "Home page"},
                       "Open the home page in your browser", false, true);
    skin.DynamicButton("TB_Contact", QRect(165, 164, 120, 32),
                       {TButtonStyle::Standard, TGlyph::Mail, "Contact"},
                       "Write to us with your mail program", false, true);
    skin.MarkForPreview("TB_Home", "");
    skin.Sketch(formsketch::About);
    return skin.Preview();
}
