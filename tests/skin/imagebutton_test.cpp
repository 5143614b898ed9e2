#include "skin/imagebutton.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "skin/colourkeyregion.h"
#include "strips.h"

namespace {

constexpr int kW = 20;
constexpr int kH = 10;

class ImageButtonTest : public ::testing::Test {
  protected:
    QWidget parent;
    TImageButton* button = new TImageButton(&parent);
};

TEST_F(ImageButtonTest, StripExactlyWideEnoughIsAcceptedOnePixelShortIsRefused) {
    const QImage full = MakeStrip({kRed, kGreen, kBlue, kGrey}, kW, kH);
    EXPECT_FALSE(
        button->LoadStateStrip(full.copy(0, 0, 4 * kW - 1, kH), kW, kH, false, true, true, true));
    EXPECT_TRUE(button->isHidden());
    EXPECT_TRUE(button->NormalImage().isNull());

    ASSERT_TRUE(button->LoadStateStrip(full, kW, kH, false, true, true, true));
    EXPECT_FALSE(button->isHidden());
    EXPECT_EQ(button->size(), QSize(kW, kH));
    EXPECT_EQ(PixelAt(button->NormalImage()), kRed);
    EXPECT_EQ(PixelAt(button->HoverImage()), kGreen);
    EXPECT_EQ(PixelAt(button->DownImage()), kBlue);
    EXPECT_EQ(PixelAt(button->DisabledImage()), kGrey);
    EXPECT_EQ(PixelAt(button->Face()), kRed);

    // A refused load keeps the images of the last good one.
    EXPECT_FALSE(button->LoadStateStrip(QImage(), kW, kH, false, false, false, false));
    EXPECT_EQ(PixelAt(button->HoverImage()), kGreen);
}

TEST_F(ImageButtonTest, DisabledOnlyStripHoldsDisabledSecondAndAliasesTheRest) {
    ASSERT_TRUE(button->LoadStateStrip(MakeStrip({kRed, kGrey}, kW, kH), kW, kH, false, false,
                                       false, true));
    EXPECT_EQ(PixelAt(button->HoverImage()), kRed);
    EXPECT_EQ(PixelAt(button->DownImage()), kRed);
    EXPECT_EQ(PixelAt(button->DisabledImage()), kGrey);

    button->SetButtonEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(PixelAt(button->Face()), kGrey);
    SendEnter(*button);  // a disabled button hears nothing of the mouse
    EXPECT_EQ(PixelAt(button->Face()), kGrey);
    EXPECT_FALSE(button->MouseOver());
    button->SetButtonEnabled(true);
    EXPECT_EQ(PixelAt(button->Face()), kRed);
}

TEST_F(ImageButtonTest, MouseStatesChangeThePictureBeforeTheOwnerHears) {
    ASSERT_TRUE(button->LoadStateStrip(MakeStrip({kRed, kGreen, kBlue}, kW, kH), kW, kH, false,
                                       true, true, false));
    QColor faceAtPress;
    QObject::connect(button, &TImageButton::MouseDown,
                     [&] { faceAtPress = PixelAt(button->Face()); });
    QSignalSpy clicks(button, &TImageButton::Click);

    SendEnter(*button);
    EXPECT_TRUE(button->MouseOver());
    EXPECT_EQ(PixelAt(button->Face()), kGreen);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(faceAtPress, kBlue);

    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(button->Pressed());
    EXPECT_TRUE(button->MouseOver());
    EXPECT_EQ(PixelAt(button->Face()), kGreen);
    EXPECT_EQ(clicks.count(), 1);

    SendLeave(*button);
    EXPECT_FALSE(button->MouseOver());
    EXPECT_EQ(PixelAt(button->Face()), kRed);
}

TEST_F(ImageButtonTest, AButtonThatHidesItsWindowShowsNormalWhenTheWindowComesBack) {
    ASSERT_TRUE(button->LoadStateStrip(MakeStrip({kRed, kGreen, kBlue}, kW, kH), kW, kH, false,
                                       true, true, false));
    QObject::connect(button, &TImageButton::Click, &parent, &QWidget::hide);
    parent.show();
    SendEnter(*button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(parent.isHidden());
    parent.show();
    EXPECT_FALSE(button->MouseOver());
    EXPECT_EQ(PixelAt(button->Face()), kRed);
}

TEST_F(ImageButtonTest, ReleaseLeftOfOrAboveTheButtonIsOutside) {
    ASSERT_TRUE(button->LoadStateStrip(MakeStrip({kRed, kGreen, kBlue}, kW, kH), kW, kH, false,
                                       true, true, false));
    QSignalSpy clicks(button, &TImageButton::Click);
    for (const QPoint outside : {QPoint(-1, 5), QPoint(5, -1), QPoint(kW, 5), QPoint(5, kH)}) {
        SendEnter(*button);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(button, Qt::LeftButton, {}, outside);
        EXPECT_FALSE(button->MouseOver()) << outside.x() << "," << outside.y();
        EXPECT_FALSE(button->Pressed());
        EXPECT_EQ(PixelAt(button->Face()), kRed);
    }
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ImageButtonTest, ShapedButtonIsCutFromMagentaAndUnshapedLoadDropsTheShape) {
    QImage strip = MakeStrip({kRed, kGreen}, kW, kH);
    strip.setPixel(0, 0, kMagenta.rgb());
    strip.setPixel(kW - 1, kH - 1, kMagenta.rgb());
    strip.setPixel(kW, 0, kMagenta.rgb());  // hover image pixels do not shape
    ASSERT_TRUE(button->LoadStateStrip(strip, kW, kH, true, true, false, false));
    EXPECT_TRUE(button->Shaped());
    const QRegion expected =
        QRegion(0, 0, kW, kH) - QRegion(0, 0, 1, 1) - QRegion(kW - 1, kH - 1, 1, 1);
    EXPECT_TRUE(button->mask().xored(expected).isEmpty());

    ASSERT_TRUE(button->LoadStateStrip(strip, kW, kH, false, true, false, false));
    EXPECT_FALSE(button->Shaped());
    EXPECT_TRUE(button->mask().isEmpty());
}

}  // namespace
