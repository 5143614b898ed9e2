#include <QPainter>

#include "formlayout.h"
#include "palette.h"
#include "pictures.h"
#include "skinart.h"
#include "windowskin.h"
#include "windowskins.h"

namespace {

constexpr QRect kShowcase(16, 48, 730, 238);
constexpr int kCardTop = 300;
constexpr int kCardWidth = 170;
constexpr int kCardHeight = 196;
constexpr int kCardGap = 16;

struct TDeviceButton {
    const char* key;
    const char* picture;
    const char* file;
    int family;
};

constexpr TDeviceButton kDevices[] = {
    {"TB_3GP", "Img_3gp", "3gp", 0},
    {"TB_PSP", "Img_psp", "psp", 1},
    {"TB_IPOD", "Img_ipod", "ipod", 2},
    {"TB_MP4", "Img_mp4", "mp4", 4},
};

QRect CardRect(int i) {
    const int total = 4 * kCardWidth + 3 * kCardGap;
    const int left = (formlayout::select::kWindow.width() - total) / 2;
    return QRect(left + i * (kCardWidth + kCardGap), kCardTop, kCardWidth, kCardHeight);
}

// The welcome the showcase shows while no device is under the mouse.
QImage Background() {
    const QSize size = formlayout::select::kWindow;
    QImage image =
        art::WindowBackground(size.width(), size.height(), QStringLiteral("Dero Video Converter"));
    QPainter p(&image);
    art::Prepare(p);
    art::DrawText(p, QRect(kShowcase.left(), kShowcase.top() + 64, kShowcase.width(), 40),
                  Qt::AlignCenter, QStringLiteral("Which device will you watch on?"),
                  art::Font(26, true), palette::kTitleText);
    art::DrawText(
        p, QRect(kShowcase.left(), kShowcase.top() + 112, kShowcase.width(), 24), Qt::AlignCenter,
        QStringLiteral("Move the mouse over a device to read about it, click it to start."),
        art::Font(14), palette::kSubtleText);
    art::DrawGroove(p, QPoint(kShowcase.left() + 160, kShowcase.top() + 170),
                    QPoint(kShowcase.right() - 160, kShowcase.top() + 170));
    art::DrawText(p, QRect(kShowcase.left(), kShowcase.top() + 184, kShowcase.width(), 20),
                  Qt::AlignCenter,
                  QStringLiteral("You can convert for another device later: close the next "
                                 "window to come back here."),
                  art::Font(12), palette::kSubtleText);
    return image;
}

}  // namespace

QImage WriteSelectWindowSkin(TSkinWriter& writer) {
    TWindowSkin skin(writer, QStringLiteral("SelectWindow"), QStringLiteral("Select"),
                     Background());
    for (const TDeviceButton& device : kDevices) {
        const pictures::TFamily& family = pictures::Family(device.family);
        const QString file = skin.File(QString::fromLatin1(device.file) + QStringLiteral(".jpg"));
        writer.SaveJpeg(file, pictures::Showcase(family, skin.Background(), kShowcase));
        // Hidden until the mouse is over the device's button.
        writer.ImageEntry(QString::fromLatin1(device.picture), file, kShowcase, false, false, false,
                          false);
    }
    skin.WriteFrame();
    const int right = formlayout::select::kWindow.width() - 8;
    skin.DynamicButton(QStringLiteral("TB_Exit"), QRect(right - 30, 6, 30, 24),
                       {TButtonStyle::TitleClose, TGlyph::Close}, QStringLiteral("Exit"), false,
                       false);
    skin.DynamicButton(QStringLiteral("TB_Min"), QRect(right - 64, 6, 30, 24),
                       {TButtonStyle::Title, TGlyph::Minimise}, QStringLiteral("Minimize"), false,
                       false);
    skin.DynamicButton(QStringLiteral("TB_Help"), QRect(right - 98, 6, 30, 24),
                       {TButtonStyle::Title, TGlyph::Help}, QStringLiteral("Help"), false, false);
    for (int i = 0; i < 4; ++i) {
        const pictures::TFamily& family = pictures::Family(kDevices[i].family);
        TButtonLook look{TButtonStyle::Device, TGlyph::None, family.name, family.format,
                         family.device};
        skin.DynamicButton(QString::fromLatin1(kDevices[i].key), CardRect(i), look,
                           QStringLiteral("Convert for a ") + family.name.toLower(), false, true);
    }
    skin.MarkForPreview(QStringLiteral("TB_PSP"), QStringLiteral("TB_MP4"));
    skin.Overlay(kShowcase.topLeft(),
                 pictures::Showcase(pictures::Family(1), skin.Background(), kShowcase));
    return skin.Preview();
}
