#include <gtest/gtest.h>

#include <QTest>

#include "skin/colourkeyregion.h"
#include "skin/image.h"
#include "skin/imagebutton.h"
#include "skin/windowdragger.h"
#include "strips.h"

namespace {

TEST(ColourKeyRegion, KeyZeroTakesTheTopLeftColour) {
    QImage bitmap(4, 3, QImage::Format_RGB32);
    bitmap.fill(kBlue);
    bitmap.setPixel(0, 0, qRgb(255, 255, 255));
    bitmap.setPixel(3, 2, qRgb(255, 255, 255));
    bitmap.setPixel(1, 0, qRgb(255, 255, 255));
    const auto region = MakeColourKeyRegion(bitmap, 0);
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(*region, QRegion(0, 0, 2, 1) + QRegion(3, 2, 1, 1));
    EXPECT_FALSE(MakeColourKeyRegion(QImage(), 0).has_value());
}

TEST(ColourKeyRegion, MatchesAPixelByPixelConstruction) {
    // A ragged outline with repeated rows, so bands merge and split.
    QImage mask(9, 7, QImage::Format_RGB32);
    mask.fill(kGreen);
    QRegion expected;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if ((x * 7 + (y / 2) * 3) % 4 == 0 || y == 6) {
                mask.setPixel(x, y, kMagenta.rgb());
                expected += QRect(x, y, 1, 1);
            }
        }
    }
    // Same pixels; the band structure may differ, so compare areas, not rectangle lists.
    EXPECT_TRUE(MakeColourKeyRegion(mask, kShapeKeyColour).value().xored(expected).isEmpty());
    EXPECT_TRUE(MaskShape(mask).xored(QRegion(0, 0, 9, 7) - expected).isEmpty());
}

TEST(ColourKeyRegion, TwoByTwoMaskWithMagentaCornerKeepsThreePixels) {
    QImage mask = MakeStrip({kRed}, 2, 2);
    mask.setPixel(0, 0, kMagenta.rgb());
    const QRegion shape = MaskShape(mask);
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(QPoint(1, 0)));
    EXPECT_TRUE(shape.contains(QPoint(0, 1)));
    EXPECT_TRUE(shape.contains(QPoint(1, 1)));
    EXPECT_FALSE(shape.contains(QPoint(2, 1)));
}

TEST(ColourKeyRegion, AllMagentaShapeHidesTheWidgetWithoutClearingTheMask) {
    QWidget widget;
    widget.resize(10, 10);
    const QRegion shape = MaskShape(MakeStrip({kMagenta}, 10, 10));
    EXPECT_TRUE(shape.isEmpty());
    SetWidgetShape(widget, shape);
    EXPECT_FALSE(widget.mask().isEmpty());
    EXPECT_TRUE((widget.mask() & widget.rect()).isEmpty());
}

class WindowDragTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(200, 100);
        background->resize(200, 100);
        background->setEnabled(false);
        ASSERT_TRUE(
            button->LoadStateStrip(MakeStrip({kRed}, 20, 20), 20, 20, false, false, false, false));
        button->move(150, 50);
        window.move(100, 100);
        window.show();
    }
    QWidget window;
    TImage* background = new TImage(&window);
    TImageButton* button = new TImageButton(&window);
    TWindowDragger* dragger = new TWindowDragger(&window);
};

TEST_F(WindowDragTest, LeftDragOnTheBackgroundMovesTheWindowByTheCursor) {
    QTest::mousePress(background, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(dragger->DragActive());
    QTest::mouseMove(background, QPoint(30, 25));
    EXPECT_EQ(window.pos(), QPoint(120, 115));
    // Client coordinates shift with the window; the cursor does not.
    QTest::mouseMove(background, QPoint(10, 10));
    EXPECT_EQ(window.pos(), QPoint(120, 115));
    QTest::mouseRelease(background, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(dragger->DragActive());
}

TEST_F(WindowDragTest, RightPressEndsADragAndStartsNone) {
    QTest::mousePress(background, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mousePress(background, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(dragger->DragActive());
    QTest::mouseMove(background, QPoint(50, 50));
    EXPECT_EQ(window.pos(), QPoint(100, 100));
    QTest::mouseRelease(background, Qt::RightButton, {}, QPoint(50, 50));
    QTest::mouseRelease(background, Qt::LeftButton, {}, QPoint(50, 50));
}

TEST_F(WindowDragTest, PressOnAButtonDoesNotMoveTheWindow) {
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(dragger->DragActive());
    QTest::mouseMove(button, QPoint(40, 40));
    EXPECT_EQ(window.pos(), QPoint(100, 100));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(40, 40));
}

}  // namespace
