#include <QPainter>
#include <vector>

#include "palette.h"
#include "pictures.h"
#include "skin/formlayout.h"
#include "skinart.h"
#include "windowskin.h"
#include "windowskins.h"

namespace {

constexpr QRect kShowcase(16, 48, 730, 238);
constexpr int kCardTop = 300;
constexpr int kCardWidth = 170;
constexpr int kCardHeight = 196;
constexpr int kCardGap = 16;

// The families the chooser offers, in the family table's order.
std::vector<const TDeviceFamily*> DeviceCards() {
    std::vector<const TDeviceFamily*> cards;
    for (const TDeviceFamily& family : kDeviceFamilies) {
        if (family.Button) {
            cards.push_back(&family);
        }
    }
    return cards;
}

QRect CardRect(int i, int count) {
    const int total = count * kCardWidth + (count - 1) * kCardGap;
    const int left = (formlayout::select::kWindow.width() - total) / 2;
    return QRect(left + i * (kCardWidth + kCardGap), kCardTop, kCardWidth, kCardHeight);
}

// The welcome the showcase shows while no device is under the mouse.
QImage Background(int scale) {
    const QSize size = formlayout::select::kWindow;
    QImage image = art::WindowBackground(size.width(), size.height(), scale,
                                         QStringLiteral("Dero Video Converter"));
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
                     Background(writer.Scale()));
    const std::vector<const TDeviceFamily*> cards = DeviceCards();
    for (const TDeviceFamily* family : cards) {
        const QString file =
            skin.File(QString::fromLatin1(family->Section) + QStringLiteral(".jpg"));
        writer.SaveJpeg(file, pictures::Showcase(*family, skin.Background(), kShowcase));
        // Hidden until the mouse is over the device's button.
        writer.ImageEntry(QString::fromLatin1(family->Showcase), file, kShowcase, false, false,
                          false, false);
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
    const int count = static_cast<int>(cards.size());
    for (int i = 0; i < count; ++i) {
        const TDeviceFamily& family = *cards[static_cast<size_t>(i)];
        const QString name = QString::fromUtf8(family.Name);
        TButtonLook look{TButtonStyle::Device, TGlyph::None, name,
                         QString::fromUtf8(family.FormatName), family.Section};
        skin.DynamicButton(QString::fromLatin1(family.Button), CardRect(i, count), look,
                           QStringLiteral("Convert for a ") + name.toLower(), false, true);
    }
    // The help pictures show the chooser with the mouse over the handheld's button.
    const TDeviceFamily& shown = *FindDeviceFamily(1);
    skin.MarkForPreview(QString::fromLatin1(shown.Button),
                        QString::fromLatin1(cards.back()->Button));
    skin.Overlay(kShowcase.topLeft(), pictures::Showcase(shown, skin.Background(), kShowcase));
    return skin.Preview();
}
