#include <QPainter>

#include "formsketch.h"
#include "palette.h"
#include "partsart.h"
#include "skin/formlayout.h"
#include "skinart.h"
#include "windowskin.h"
#include "windowskins.h"

namespace {

namespace layout = formlayout::progress;

constexpr QRect kDetailsCard(14, 46, 518, 110);
constexpr QRect kBarsCard(14, 164, 518, 52);
constexpr QRect kFolderCard(14, 224, 518, 56);
// Start and Stop take turns, but never at one place: a Stop clicked just as a short run ends
// would otherwise land on Start and begin the run again.
constexpr QRect kStart(392, 292, 140, 44);
constexpr QRect kStop(236, 292, 140, 44);
constexpr QRect kBrowse(428, 245, 96, 28);

QImage Background(int scale) {
    const QSize size = layout::kWindow;
    QImage image =
        art::WindowBackground(size.width(), size.height(), scale, QStringLiteral("Converting"));
    QPainter p(&image);
    art::Prepare(p);
    art::DrawCard(p, kDetailsCard, 8);
    art::DrawGroove(p, QPoint(kDetailsCard.left() + 12, 102),
                    QPoint(kDetailsCard.right() - 12, 102));
    art::DrawCard(p, kBarsCard, 8);
    art::DrawText(p, QRect(28, layout::kProgressPanel.top() + 1, 110, 14),
                  Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("This clip"), art::Font(12),
                  palette::kText);
    art::DrawText(p, QRect(28, layout::kProgressPanel.top() + 18, 110, 14),
                  Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("All clips"), art::Font(12),
                  palette::kText);
    art::DrawCard(p, kFolderCard, 8);
    art::DrawText(p, QRect(28, 228, 300, 16), Qt::AlignLeft | Qt::AlignVCenter,
                  QStringLiteral("Output folder"), art::Font(12, true), palette::kTitleText);
    art::DrawText(p, QRect(20, 296, 204, 36), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                  QStringLiteral("The folder opens when every clip is done."), art::Font(12),
                  palette::kSubtleText);
    return image;
}

void WriteBars(TWindowSkin& skin) {
    TSkinWriter& writer = skin.Writer();
    const int scale = writer.Scale();
    const QRect panel = layout::kProgressPanel;
    const QString grooves = skin.File("progress_back.bmp");
    const QString clipFill = skin.File("progress_clip.bmp");
    const QString totalFill = skin.File("progress_total.bmp");
    const QImage groovesPicture =
        parts::ProgressGrooves(panel.width(), panel.height(), layout::kClipBar.top(),
                               layout::kTotalBar.top(), layout::kClipBar.height(), scale);
    writer.SaveBitmap(grooves, groovesPicture);
    writer.SaveBitmap(clipFill,
                      parts::ProgressFill(panel.width(), layout::kClipBar.height(), false, scale));
    writer.SaveBitmap(totalFill,
                      parts::ProgressFill(panel.width(), layout::kTotalBar.height(), true, scale));
    writer.ImageEntry("Img_Progress", grooves, QRect(QPoint(0, 0), panel.size()), true, false,
                      false, false);
    // The fills slide in from the left; their outside is the transparent colour.
    writer.ImageEntry("Img_CP", clipFill, layout::kClipBar.translated(-panel.width(), 0), true,
                      false, true, false);
    writer.ImageEntry("Img_TP", totalFill, layout::kTotalBar.translated(-panel.width(), 0), true,
                      false, true, false);
    skin.Overlay(panel.topLeft(), groovesPicture);
}

}  // namespace

QImage WriteProgressWindowSkin(TSkinWriter& writer) {
    TWindowSkin skin(writer, QStringLiteral("ProgressWindow"), QStringLiteral("Progress"),
                     Background(writer.Scale()));
    skin.WriteFrame();
    WriteBars(skin);
    const int right = layout::kWindow.width() - 8;
    skin.DynamicButton("TB_Close", QRect(right - 30, 6, 30, 24),
                       {TButtonStyle::TitleClose, TGlyph::Close}, "Close", false, false);
    skin.DynamicButton("TB_Browse", kBrowse, {TButtonStyle::Standard, TGlyph::Folder, "Browse"},
                       "Choose the output folder", true, true);
    skin.DynamicButton("TB_Start", kStart, {TButtonStyle::Primary, TGlyph::Convert, "Start"},
                       "Start converting", true, true);
    skin.DynamicButton("TB_Stop", kStop, {TButtonStyle::Standard, TGlyph::Stop, "Stop"},
                       "Stop converting", true, true);
    skin.MarkForPreview("TB_Browse", "");
    skin.Sketch(formsketch::Progress);
    // The bars at 50 % and 25 %, as the window's fills show them.
    const QPoint panel = layout::kProgressPanel.topLeft();
    const int width = layout::kClipBar.width();
    const int scale = writer.Scale();
    skin.Overlay(panel + layout::kClipBar.topLeft(),
                 art::Copy(parts::ProgressFill(width, layout::kClipBar.height(), false, scale),
                           QRect(width / 2, 0, width / 2, layout::kClipBar.height())));
    skin.Overlay(panel + layout::kTotalBar.topLeft(),
                 art::Copy(parts::ProgressFill(width, layout::kTotalBar.height(), true, scale),
                           QRect(width * 3 / 4, 0, width / 4, layout::kTotalBar.height())));
    return skin.Preview();
}
