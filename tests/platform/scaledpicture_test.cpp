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
}

TEST(ScaledPicture, AUnitIsOfTheKeyColourWhenHalfItsPixelsAre) {
    QImage picture(6, 2, QImage::Format_RGB32);
    picture.fill(qRgb(0, 200, 0));
    const QRgb key = qRgb(255, 0, 255);
    picture.setPixel(0, 0, key);  // a quarter of the first unit
    picture.setPixel(2, 0, key);  // half of the second
    picture.setPixel(3, 1, key);
    for (int x = 4; x < 6; ++x) {  // all of the third
        picture.setPixel(x, 0, key);
        picture.setPixel(x, 1, key);
    }
    picture.setDevicePixelRatio(2);
    const QImage unit = UnitShapePicture(picture, 0xFF00FF);
    ASSERT_EQ(unit.size(), QSize(3, 1));
    EXPECT_EQ(unit.devicePixelRatio(), 1.0);
    EXPECT_EQ(unit.pixel(0, 0), qRgb(0, 200, 0));
    EXPECT_EQ(unit.pixel(1, 0), key);
    EXPECT_EQ(unit.pixel(2, 0), key);
}
