#include "demoskin.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <vector>

namespace {

const QColor kKey(255, 0, 255);

// One rounded face on magenta, so the shaped button shows no corners.
void DrawFace(QPainter& painter, const QRect& cell, const QColor& fill, const QString& text) {
    painter.fillRect(cell, kKey);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(fill.darker(170));
    painter.setBrush(fill);
    painter.drawRoundedRect(cell.adjusted(0, 0, -1, -1), 8, 8);
    painter.setPen(Qt::white);
    painter.drawText(cell, Qt::AlignCenter, text);
}

QImage Strip(int width, int height, const std::vector<std::pair<QColor, QString>>& faces) {
    QImage strip(width * static_cast<int>(faces.size()), height, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (size_t i = 0; i < faces.size(); ++i) {
        DrawFace(painter, QRect(static_cast<int>(i) * width, 0, width, height), faces[i].first,
                 faces[i].second);
    }
    return strip;
}

QImage Background() {
    QImage image(460, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, 300);
    gradient.setColorAt(0, QColor(40, 48, 72));
    gradient.setColorAt(1, QColor(16, 20, 32));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QColor(200, 210, 230));
    painter.drawText(16, 26, "Skin demonstration: drag the background to move the window");
    const char* rows[] = {"TImageButton: normal, hover, down, disabled",
                          "TCheckImageButton: unchecked, checked, checked + hover",
                          "TDynamicImageButton: normal, frame 1, frame 3, resting",
                          "TFixProgress: range 0.2 .. 0.7, position 40 %"};
    for (int row = 0; row < 4; ++row) {
        painter.drawText(16, 52 + row * 60, rows[row]);
    }
    return image;
}

// Rounded window corners cut away by magenta.
QImage Mask() {
    QImage mask(460, 300, QImage::Format_RGB32);
    mask.fill(kKey);
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(mask.rect(), 24, 24);
    return mask;
}

QImage Solid(int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage Frames() {
    std::vector<std::pair<QColor, QString>> frames;
    for (int i = 0; i < 4; ++i) {
        frames.emplace_back(QColor::fromHsv(30 + 60 * i, 200, 220), QString("F%1").arg(i));
    }
    return Strip(72, 28, frames);
}

}  // namespace

void WriteDemoSkin(const QString& dir) {
    const QColor blue(60, 110, 190);
    Background().save(dir + "background.bmp", "BMP");
    Mask().save(dir + "mask.bmp", "BMP");
    Strip(72, 28,
          {{blue, "Normal"},
           {blue.lighter(140), "Hover"},
           {blue.darker(150), "Down"},
           {QColor(110, 110, 110), "Disabled"}})
        .save(dir + "button.bmp", "BMP");
    Strip(72, 28, {{QColor(150, 60, 60), "Off"}, {QColor(190, 90, 90), "Off+"}})
        .save(dir + "check.bmp", "BMP");
    Strip(72, 28, {{QColor(60, 150, 70), "On"}, {QColor(90, 190, 100), "On+"}})
        .save(dir + "check_on.bmp", "BMP");
    Strip(72, 28, {{blue, "Anim"}, {blue.lighter(140), "Rest"}, {blue.darker(150), "Down"}})
        .save(dir + "dynamic.bmp", "BMP");
    Frames().save(dir + "frames.bmp", "BMP");
    Solid(400, 14, QColor(70, 76, 96)).save(dir + "track.bmp", "BMP");
    Solid(20, 8, QColor(240, 170, 40)).save(dir + "fill.bmp", "BMP");
    Strip(18, 14, {{QColor(220, 220, 230), ""}, {Qt::white, ""}, {Qt::white, ""}})
        .save(dir + "thumb.bmp", "BMP");
    Solid(30, 14, QColor(90, 200, 120)).save(dir + "start.bmp", "BMP");
    Solid(30, 14, QColor(220, 90, 90)).save(dir + "end.bmp", "BMP");

    QString ini = "[SkinDemo]\r\nMaskBmp=mask.bmp\r\n";
    ini += "Img_Background=background.bmp,,,0,0,460,300,1,0,0,0,,1,1,\r\n";
    const char* plain[] = {"TB_Normal", "TB_Hover", "TB_Down", "TB_Disabled"};
    for (int i = 0; i < 4; ++i) {
        ini += QString("%1=button.bmp,,,%2,60,72,28,1,%3,1,0,Plain button,1,1,1,\r\n")
                   .arg(plain[i])
                   .arg(16 + i * 100)
                   .arg(i == 3 ? 0 : 1);
    }
    const char* checks[] = {"TB_Unchecked", "TB_Checked", "TB_CheckedHover"};
    for (int i = 0; i < 3; ++i) {
        ini += QString("%1=check.bmp,check_on.bmp,,%2,120,72,28,1,1,1,0,Off#On,1,0,0,\r\n")
                   .arg(checks[i])
                   .arg(16 + i * 100);
    }
    const char* dynamics[] = {"TB_Idle", "TB_Frame1", "TB_Frame3", "TB_Resting"};
    for (int i = 0; i < 4; ++i) {
        ini += QString("%1=dynamic.bmp,frames.bmp,,%2,180,72,28,1,1,1,0,Animated,100,2000,0,\r\n")
                   .arg(dynamics[i])
                   .arg(16 + i * 100);
    }
    ini +=
        "TP_Progress=thumb.bmp,fill.bmp,track.bmp,16,246,0,0,1,1,0,0,Position,start.bmp,"
        "end.bmp,\r\n";
    QFile file(dir + "Skin.ini");
    if (file.open(QIODevice::WriteOnly)) {
        file.write(ini.toUtf8());
    }
}
