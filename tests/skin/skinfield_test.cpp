#include "skin/skinfield.h"

#include <gtest/gtest.h>

#include "platform/inifile.h"
#include "skin/image.h"
#include "skin/skinappliers.h"
#include "skin/skinentry.h"
#include "strips.h"
#include "support/tempdir.h"

namespace {

TEST(SkinField, FieldsAreCommaTerminatedAndTrimmed) {
    const QString value = " a.bmp , static,\t c.bmp\t,12,-7,";
    EXPECT_EQ(SkinField(value, 1), "a.bmp");
    EXPECT_EQ(SkinField(value, 2), "static");
    EXPECT_EQ(SkinField(value, 3), "c.bmp");
    EXPECT_EQ(SkinNumber(value, 4), 12);
    EXPECT_EQ(SkinNumber(value, 5), -7);
    EXPECT_EQ(SkinField(value, 6), "");
    EXPECT_EQ(SkinField(value, 15), "");
    EXPECT_EQ(SkinNumber(value, 9), 0);
    EXPECT_FALSE(SkinFlag(value, 9));
    EXPECT_EQ(SkinField("Wrong", 1), "");  // no comma at all: every field is empty
    EXPECT_EQ(SkinField("a,b", 3), "");
}

TEST(SkinField, TwelfthFieldWithoutItsCommaIsEmpty) {
    const QString base = "b.bmp,,,1,2,3,4,1,1,0,0,";
    EXPECT_EQ(SkinField(base + "Play", 12), "");
    EXPECT_EQ(SkinField(base + "Play,", 12), "Play");
}

TEST(SkinField, NumbersAreLeadingDecimalIntegers) {
    EXPECT_EQ(SkinNumber("  42px,", 1), 42);
    EXPECT_EQ(SkinNumber("+8,", 1), 8);
    EXPECT_EQ(SkinNumber("x8,", 1), 0);
    EXPECT_EQ(SkinNumber("-,", 1), 0);
    EXPECT_EQ(SkinNumber("99999999999,", 1), 2147483647);
    EXPECT_EQ(SkinNumber("-99999999999,", 1), -2147483647 - 1);
    EXPECT_TRUE(SkinFlag("-1,", 1));
    EXPECT_TRUE(SkinFlag("2,", 1));
}

// Left, Top, Width and Height have the same role in every entry and are held to what a screen
// shows; the other numbers (frame interval, loop delay, flags) are read as written.
TEST(SkinField, PositionsAndSizesAreHeldToWhatAScreenShows) {
    TempDir dir;
    TIniFile skin(dir.Write("Skin.ini",
                            "[MainWindow]\n"
                            "Huge=a.bmp,,,99999999999,2147483647,99999999,2147483647,1,1,0,0,,"
                            "99999999,-5,\n"
                            "Negative=a.bmp,,,-99999999,-16385,-1,-99999999999,\n"
                            "Plain=a.bmp,,,-20,30,640,480,\n"));
    const TSkinEntry huge(skin, "MainWindow", "Huge", dir.Path());
    EXPECT_EQ(huge.Number(4), 16384);
    EXPECT_EQ(huge.Number(5), 16384);
    EXPECT_EQ(huge.Number(6), 16384);
    EXPECT_EQ(huge.Number(7), 16384);
    EXPECT_EQ(huge.Number(13), 99999999);
    EXPECT_EQ(huge.Number(14), -5);
    const TSkinEntry negative(skin, "MainWindow", "Negative", dir.Path());
    EXPECT_EQ(negative.Number(4), -16384);
    EXPECT_EQ(negative.Number(5), -16384);
    EXPECT_EQ(negative.Number(6), 0);
    EXPECT_EQ(negative.Number(7), 0);
    const TSkinEntry plain(skin, "MainWindow", "Plain", dir.Path());
    EXPECT_EQ(plain.Number(4), -20);
    EXPECT_EQ(plain.Number(5), 30);
    EXPECT_EQ(plain.Number(6), 640);
    EXPECT_EQ(plain.Number(7), 480);
}

TEST(SkinField, ACraftedBackgroundCannotMakeAHugeWindow) {
    TempDir dir;
    SaveBmp(dir, "bg.bmp", MakeStrip({kGrey}, 32, 32));
    TIniFile skin(dir.Write("Skin.ini",
                            "[MainWindow]\n"
                            "Img_Background=bg.bmp,,,-2147483648,-2147483648,2147483647,"
                            "2147483647,1,0,0,0,,1,1,\n"));
    QWidget window;
    TImage background(&window);
    ASSERT_TRUE(
        ApplyImageSkin(background, TSkinEntry(skin, "MainWindow", "Img_Background", dir.Path())));
    EXPECT_EQ(window.size(), QSize(16384, 16384));
    EXPECT_EQ(background.geometry(), QRect(-16384, -16384, 16384, 16384));
}

}  // namespace
