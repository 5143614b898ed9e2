#include <QPainter>

#include "formsketch.h"
#include "glyphs.h"
#include "palette.h"
#include "partsart.h"
#include "pictures.h"
#include "skin/formlayout.h"
#include "skinart.h"
#include "windowskin.h"
#include "windowskins.h"

namespace {

using formlayout::main::kPreview;
using formlayout::main::kProfileBox;

constexpr QRect kContentCard(10, 42, 772, 306);
constexpr QRect kList(12, 68, 404, 266);
constexpr int kDividerX = 418;
constexpr QRect kBar(421, 296, parts::kBarWidth, parts::kBarHeight);
constexpr int kTransportTop = 316;
// As wide as the cards above and below it, so the three line up.
constexpr QRect kProfileCard(10, 352, 772, 36);
constexpr QRect kStepsCard(10, 400, 772, 156);
constexpr QRect kConvert(612, 449, 156, 56);

struct TStep {
    TGlyph glyph;
    const char* title;
    const char* line1;
    const char* line2;
};

constexpr TStep kSteps[] = {
    {TGlyph::Add, "Add clips", "Add the videos you", "want to take along."},
    {TGlyph::MarkIn, "Trim", "Play a clip, set its start", "and end while you watch."},
    {TGlyph::Edit, "Pick a profile", "Choose the picture size", "and quality, or make one."},
    {TGlyph::Convert, "Convert", "Every clip becomes a file", "in your output folder."},
};

void DrawSteps(QPainter& p) {
    art::DrawText(p, QRect(kStepsCard.left() + 14, kStepsCard.top() + 8, 300, 20),
                  Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Four steps to your device"),
                  art::Font(13, true), palette::kTitleText);
    for (int i = 0; i < 4; ++i) {
        const int left = kStepsCard.left() + 14 + i * 146;
        const int top = kStepsCard.top() + 44;
        const QRectF circle(left + 0.5, top + 0.5, 31, 31);
        p.setPen(QPen(i == 3 ? palette::kAccentBorder : palette::kHoverBorder, 1));
        p.setBrush(i == 3 ? QColor(255, 238, 218) : palette::kGroupBlue);
        p.drawEllipse(circle);
        DrawGlyph(p, kSteps[i].glyph, QRectF(left + 8, top + 8, 16, 16),
                  i == 3 ? palette::kAccentBorder : palette::kBlue);
        art::DrawText(p, QRect(left, top + 40, 140, 18), Qt::AlignLeft | Qt::AlignVCenter,
                      QString::number(i + 1) + ". " + kSteps[i].title, art::Font(12, true),
                      palette::kText);
        art::DrawText(p, QRect(left, top + 60, 140, 16), Qt::AlignLeft | Qt::AlignVCenter,
                      kSteps[i].line1, art::Font(11), palette::kSubtleText);
        art::DrawText(p, QRect(left, top + 76, 140, 16), Qt::AlignLeft | Qt::AlignVCenter,
                      kSteps[i].line2, art::Font(11), palette::kSubtleText);
        if (i < 3) {
            DrawGlyph(p, TGlyph::Play, QRectF(left + 120, top + 12, 8, 8), palette::kCardBorder);
        }
    }
}

QImage Background(int scale) {
    const QSize size = formlayout::main::kWindow;
    QImage image = art::WindowBackground(size.width(), size.height(), scale,
                                         QStringLiteral("Dero Video Converter"));
    QPainter p(&image);
    art::Prepare(p);
    art::DrawCard(p, kContentCard, 8);
    art::DrawText(p, QRect(24, 45, 120, 22), Qt::AlignLeft | Qt::AlignVCenter,
                  QStringLiteral("Clips"), art::Font(13, true), palette::kTitleText);
    art::DrawText(p, QRect(kPreview.left(), 45, 120, 22), Qt::AlignLeft | Qt::AlignVCenter,
                  QStringLiteral("Preview"), art::Font(13, true), palette::kTitleText);
    art::DrawGroove(p, QPoint(kDividerX, kContentCard.top() + 8),
                    QPoint(kDividerX, kContentCard.bottom() - 8));
    // A thin dark frame seats the video panel in the card.
    p.setPen(QPen(QColor(60, 68, 80), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(kPreview).adjusted(-0.5, -0.5, 0.5, 0.5));
    p.fillRect(kBar, palette::kCard);
    art::DrawText(p, QRect(724, 114, 58, 28), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                  QStringLiteral("Aspect"), art::Font(11), palette::kSubtleText);

    art::DrawCard(p, kProfileCard, 8);
    art::DrawCard(p, kStepsCard, 8);
    DrawSteps(p);
    return image;
}

void WriteListPanel(TWindowSkin& skin) {
    TSkinWriter& writer = skin.Writer();
    const int scale = writer.Scale();
    const QString thumb = skin.File("list_thumb.bmp");
    const QString up = skin.File("list_up.bmp");
    const QString down = skin.File("list_down.bmp");
    const QString track = skin.File("list_track.bmp");
    const QString back = skin.File("list_back.bmp");
    writer.SaveBitmap(thumb, parts::ListThumb(scale));
    writer.SaveBitmap(up, parts::ListButton(true, scale));
    writer.SaveBitmap(down, parts::ListButton(false, scale));
    writer.SaveBitmap(track, parts::ListTrack(scale));
    writer.SaveBitmap(back, parts::ListBackground(scale));
    writer.Entry(
        "TP_ImageList",
        FieldList({thumb, up, down, QString::number(kList.left()), QString::number(kList.top()),
                   QString::number(kList.width()), QString::number(kList.height()), "1", "1", "0",
                   "0", "", track, back, ""}));
}

void WritePositionBar(TWindowSkin& skin) {
    TSkinWriter& writer = skin.Writer();
    const int scale = writer.Scale();
    const QString thumb = skin.File("bar_thumb.bmp");
    const QString fill = skin.File("bar_fill.bmp");
    const QString track = skin.File("bar_track.bmp");
    const QString start = skin.File("bar_start.bmp");
    const QString end = skin.File("bar_end.bmp");
    writer.SaveBitmap(thumb, parts::BarThumb(scale));
    writer.SaveBitmap(fill, parts::BarRangeFill(scale));
    writer.SaveBitmap(track, parts::BarTrack(scale));
    writer.SaveBitmap(start, parts::BarMarker(true, scale));
    writer.SaveBitmap(end, parts::BarMarker(false, scale));
    writer.Entry(
        "TP_Progress",
        FieldList({thumb, fill, track, QString::number(kBar.left()), QString::number(kBar.top()),
                   "0", "0", "1", "1", "0", "0",
                   "Playback position: drag the brackets to trim the clip", start, end, ""}));
    skin.Overlay(kBar.topLeft(), parts::BarTrack(scale));
    skin.Overlay(
        kBar.topLeft() + QPoint(parts::kMarkerWidth + 80, 0),
        art::Copy(parts::BarThumb(scale), QRect(0, 0, parts::kThumbSize, parts::kBarHeight)));
}

void WriteTransport(TWindowSkin& skin) {
    const auto transport = [&](const char* key, int left, TGlyph glyph, const char* hint) {
        skin.DynamicButton(key, QRect(left, kTransportTop, 32, 30),
                           {TButtonStyle::Transport, glyph}, hint, true, true);
    };
    const int centre = kPreview.center().x() + 1;
    transport("TB_Previous", kPreview.left(), TGlyph::MarkIn, "Set the clip's start here");
    transport("TB_Play", centre - 52, TGlyph::Play, "Play");
    transport("TB_Pause", centre - 16, TGlyph::Pause, "Pause");
    transport("TB_Stop", centre + 20, TGlyph::Stop, "Stop");
    transport("TB_Next", kPreview.right() + 1 - 32, TGlyph::MarkOut, "Set the clip's end here");
    skin.CheckButton("TB_AS_Keep", QRect(735, 72, 36, 36),
                     {TButtonStyle::Toggle, TGlyph::AspectFree},
                     {TButtonStyle::ToggleOn, TGlyph::AspectKept},
                     "Stretch to fill: click to keep the aspect ratio",
                     "Keep the aspect ratio: click to stretch to fill");
}

}  // namespace

QImage WriteMainWindowSkin(TSkinWriter& writer) {
    TWindowSkin skin(writer, QStringLiteral("MainWindow"), QStringLiteral("Main"),
                     Background(writer.Scale()));
    skin.WriteFrame();
    WriteListPanel(skin);

    // The family pictures the profile selection shows, and the still picture before one.
    for (const TDeviceFamily& family : kDeviceFamilies) {
        writer.SaveJpeg(QString::fromLatin1(family.PictureFile),
                        pictures::PreviewPicture(family, writer.Scale()));
    }
    const QString still = skin.File("preview.jpg");
    writer.SaveJpeg(still, pictures::EmptyPreviewPicture(writer.Scale()));
    writer.ImageEntry("Img_VideoPic", still, QRect(QPoint(0, 0), kPreview.size()), true, false,
                      false, false);
    skin.Overlay(kPreview.topLeft(),
                 pictures::PreviewPicture(*FindDeviceFamily(1), writer.Scale()));

    WriteTransport(skin);
    WritePositionBar(skin);
    const int right = formlayout::main::kWindow.width() - 8;
    skin.DynamicButton("TB_Close", QRect(right - 30, 6, 30, 24),
                       {TButtonStyle::TitleClose, TGlyph::Close}, "Close", false, false);
    skin.DynamicButton("TB_Min", QRect(right - 64, 6, 30, 24),
                       {TButtonStyle::Title, TGlyph::Minimise}, "Minimize", false, false);
    skin.DynamicButton("TB_Help", QRect(right - 98, 6, 30, 24), {TButtonStyle::Title, TGlyph::Help},
                       "Help", false, false);
    skin.DynamicButton("TB_AddFile", QRect(250, 44, 78, 22),
                       {TButtonStyle::Standard, TGlyph::Add, "Add"}, "Add video files", true, true);
    skin.DynamicButton("TB_DelFile", QRect(334, 44, 80, 22),
                       {TButtonStyle::Standard, TGlyph::Remove, "Remove"},
                       "Remove the selected clips", true, true);
    skin.DynamicButton("TB_Edit", QRect(kProfileBox.right() + 9, 356, 100, 28),
                       {TButtonStyle::Standard, TGlyph::Edit, "Edit"},
                       "Change the chosen profile or make a new one", true, true);
    skin.DynamicButton("TB_Convert", kConvert, {TButtonStyle::Primary, TGlyph::Convert, "Convert"},
                       "Convert every clip in the list", true, true);
    skin.MarkForPreview("TB_Play", "TB_AddFile");
    skin.Sketch(formsketch::Main);
    return skin.Preview();
}
