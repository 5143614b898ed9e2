#include "formsketch.h"

#include "skin/formlayout.h"
#include "skinart.h"

namespace formsketch {

namespace {

// The forms' "Tahoma" 8 pt at 96 dpi.
QFont FormFont(int pixelSize = 11, bool bold = false) {
    return art::Font(pixelSize, bold);
}

void Label(QPainter& p, const QRect& rect, const QString& text, int flags = Qt::AlignLeft) {
    art::DrawText(p, rect, flags | Qt::AlignVCenter, text, FormFont(), Qt::black);
}

void Box(QPainter& p, const QRect& rect, const QColor& fill, const QString& text, bool list) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(122, 138, 153));
    p.setBrush(fill);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
    p.restore();
    Label(p, rect.adjusted(4, 0, -20, 0), text);
    if (list) {
        const QPointF c(rect.right() - 9, rect.center().y() + 1);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 60));
        p.drawPolygon(QPolygonF{c + QPointF(-4, -2), c + QPointF(4, -2), c + QPointF(0, 2)});
    }
}

// A clip of the list as the list draws it: grey face, thumbnail, facts in black.
void ClipItem(QPainter& p, int top, const QString& name, bool selected) {
    const QRect item(14, top, 388, 64);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(item, QColor(128, 128, 128));
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(item.adjusted(1, 1, -1, -1));
    art::FillVertical(p, QRect(item.left() + 2, item.top() + 2, 80, 60), QColor(110, 150, 190),
                      QColor(60, 90, 60));
    p.setPen(selected ? QColor(0, 255, 0) : QColor(128, 128, 128));
    p.setBrush(Qt::NoBrush);
    p.drawRect(item.adjusted(1, 1, -1, -1));
    p.restore();
    const QString lines[][2] = {{"Clip Name : " + name, ""},
                                {"Clip Duration : 00:01:34", "Clip Resolution : 640x480"},
                                {"Video Format : mpeg4", "Audio Format : mp3"},
                                {"Start Time : 00:00:00", "Stop Time : 00:01:34"}};
    for (int row = 0; row < 4; ++row) {
        Label(p, QRect(item.left() + 90, item.top() + 4 + row * 14, 300, 14), lines[row][0]);
        Label(p, QRect(item.left() + 250, item.top() + 4 + row * 14, 140, 14), lines[row][1]);
    }
}

}  // namespace

void Main(QPainter& p) {
    ClipItem(p, 70, "/home/anna/Videos/holiday.avi", true);
    ClipItem(p, 136, "/home/anna/Videos/birthday.mpg", false);
    Box(p, formlayout::main::kProfileBox, QColor(160, 160, 160),
        "320x240 : Video: 320x240, 768 kbps, 29.97 fps, Audio: 128 kbps, 44.1 khps, 2 Channels "
        "Stereo",
        true);
}

void Progress(QPainter& p) {
    namespace l = formlayout::progress;
    Label(p, l::kCurrentClipCaption, "Current Clip :");
    Label(p, l::kSrcName, "holiday.avi");
    Label(p, l::kDestinationCaption, "Destination Name :");
    Label(p, l::kDesName, "holiday.MP4");
    Label(p, l::kStartTimeCaption, "Start Time :");
    Label(p, l::kStartTime, "00:00:10");
    Label(p, l::kStopTimeCaption, "Stop Time :");
    Label(p, l::kStopTime, "00:01:34");
    Label(p, l::kLengthCaption, "Total Length :");
    Label(p, l::kLength, "00:01:24");
    Label(p, l::kCurrentTimeCaption, "Current Time :");
    Label(p, l::kCurrentTime, "00:00:52");
    Box(p, l::kWorkingFolder, Qt::white, "/home/anna/DeroOutput/", false);
    const QPoint panel = l::kProgressPanel.topLeft();
    Label(p, l::kClipPercent.translated(panel), "50", Qt::AlignRight);
    Label(p, l::kClipPercentSign.translated(panel), "%");
    Label(p, l::kTotalPercent.translated(panel), "25", Qt::AlignRight);
    Label(p, l::kTotalPercentSign.translated(panel), "%");
}

void Profile(QPainter& p) {
    namespace l = formlayout::profile;
    Label(p, l::kNameCaption, "Profile Name:");
    Box(p, l::kName, Qt::white, "My phone", false);
    const struct {
        QRect group;
        const char* caption;
        const char* rows[3][3];
    } groups[] = {
        {l::kVideoGroup,
         " Video Setting ",
         {{"Video Resolution:", "176x144", "Width x Height"},
          {"Video Quality:", "128", "KB / Second"},
          {"Frame Rate:", "15", "Frame / Second"}}},
        {l::kAudioGroup,
         " Audio Setting ",
         {{"Audio Channels:", "1 Channel Mono", ""},
          {"Audio Quality:", "24", "KB / Second"},
          {"Frame Rate:", "16", "KHertz"}}},
    };
    for (const auto& group : groups) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(190, 205, 220));
        p.setBrush(QColor(234, 243, 250));
        p.drawRect(group.group.adjusted(0, 6, -1, -1));
        p.restore();
        const QRect caption(group.group.left() + 8, group.group.top(), 90, 13);
        p.fillRect(caption, QColor(234, 243, 250));
        Label(p, caption, group.caption);
        for (int row = 0; row < 3; ++row) {
            const int top = group.group.top() + l::kRowTop[row];
            Label(p, QRect(group.group.left() + l::kCaptionLeft, top, 108, 21), group.rows[row][0]);
            Box(p, QRect(group.group.left() + l::kListLeft, top, l::kListWidth, 21), Qt::white,
                group.rows[row][1], row != 1 || group.group != l::kVideoGroup);
            Label(p, QRect(group.group.left() + l::kUnitLeft, top, 120, 21), group.rows[row][2]);
        }
    }
}

void About(QPainter& p) {
    namespace l = formlayout::about;
    const QString title = "Dero Video Converter 2.1";
    art::DrawText(p, l::kTitleShadow, Qt::AlignLeft | Qt::AlignVCenter, title, FormFont(20, true),
                  QColor(192, 192, 192));
    art::DrawText(p, l::kTitle, Qt::AlignLeft | Qt::AlignVCenter, title, FormFont(20, true),
                  Qt::black);
    Label(p, l::kVersion, "2.1.5 Build on 20070501");
}

}  // namespace formsketch
