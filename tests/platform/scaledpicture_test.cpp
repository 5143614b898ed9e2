#include "platform/scaledpicture.h"

#include <gtest/gtest.h>

TEST(ScaledPicture, DoubleSizeNameGoesBeforeTheFileNamesSuffix) {
    EXPECT_EQ(DoubleSizePath("/skin/Main/TB_Play.bmp"), "/skin/Main/TB_Play@2x.bmp");
    EXPECT_EQ(DoubleSizePath("/skin/background.JPG"), "/skin/background@2x.JPG");
    EXPECT_EQ(DoubleSizePath("/skin/list.back.bmp"), "/skin/list.back@2x.bmp");
    // A dot in a folder's name is no suffix of the file's.
    EXPECT_EQ(DoubleSizePath("/skin.d/Select/card"), "/skin.d/Select/card@2x");
}

TEST(ScaledPicture, PartsOfADoubleSizePictureAreCutInUnits) {
    QImage strip(40, 20, QImage::Format_RGB32);
    strip.fill(Qt::red);
    for (int y = 0; y < 20; ++y) {
        for (int x = 20; x < 40; ++x) {
            strip.setPixel(x, y, qRgb(0, 0, 255));
        }
    }
    strip.setDevicePixelRatio(2);
    EXPECT_EQ(PictureSize(strip), QSize(20, 10));
    const QImage second = CopyPicture(strip, QRect(10, 0, 10, 10));
    EXPECT_EQ(second.size(), QSize(20, 20));
    EXPECT_EQ(second.devicePixelRatio(), 2.0);
    EXPECT_EQ(second.pixel(0, 0), qRgb(0, 0, 255));
    // What lies beyond the picture is zero, as for a 1 x cut.
    EXPECT_EQ(CopyPicture(strip, QRect(15, 0, 10, 10)).pixel(19, 0), qRgb(0, 0, 0));
    // Shapes are cut from whole units: one pixel per unit.
    const QImage unit = UnitPicture(strip);
    EXPECT_EQ(unit.size(), QSize(20, 10));
    EXPECT_EQ(unit.devicePixelRatio(), 1.0);
    EXPECT_EQ(unit.pixel(9, 0), qRgb(255, 0, 0));
    EXPECT_EQ(unit.pixel(10, 0), qRgb(0, 0, 255));
}
