#include "skin/checkimagebutton.h"

#include <gtest/gtest.h>

#include "strips.h"

namespace {

constexpr int kW = 16;
constexpr int kH = 8;

class CheckImageButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(button->LoadStateStrip(MakeStrip({kRed, kGreen}, kW, kH), kW, kH, false, true,
                                           false, false));
    }
    QWidget parent;
    TCheckImageButton* button = new TCheckImageButton(&parent);
};

TEST_F(CheckImageButtonTest, HintsJoinedByHashFollowTheState) {
    button->SetHints("  Keep ratio # Stretch  ");
    button->SetChecked(false);
    EXPECT_EQ(button->toolTip(), "Keep ratio");
    button->SetChecked(true);
    EXPECT_EQ(button->toolTip(), "Stretch");

    button->SetHints("Stretch");
    button->SetChecked(false);
    EXPECT_EQ(button->toolTip(), "");
    button->SetChecked(true);
    EXPECT_EQ(button->toolTip(), "Stretch");
}

TEST_F(CheckImageButtonTest, CheckedLookComesFromItsOwnStripAndKeepsSizeAndFace) {
    EXPECT_FALSE(
        button->LoadCheckedStrip(MakeStrip({kBlue, kYellow}, kW, kH, -1), true, false, false));
    ASSERT_TRUE(button->LoadCheckedStrip(MakeStrip({kBlue, kYellow}, kW, kH), true, false, false));
    EXPECT_EQ(PixelAt(button->Face()), kRed);

    button->SetChecked(true);
    EXPECT_EQ(PixelAt(button->NormalImage()), kBlue);
    EXPECT_EQ(PixelAt(button->HoverImage()), kYellow);
    EXPECT_EQ(PixelAt(button->Face()), kBlue);

    SendEnter(*button);
    button->SetChecked(false);
    EXPECT_EQ(PixelAt(button->Face()), kGreen);  // the mouse is over it: hover of the new look
}

TEST_F(CheckImageButtonTest, ReloadWhileCheckedKeepsTheLooksApart) {
    ASSERT_TRUE(button->LoadCheckedStrip(MakeStrip({kBlue, kYellow}, kW, kH), true, false, false));
    button->SetChecked(true);
    // A second skinning while checked: the first stage writes the unchecked strip into the
    // current images, the second makes them the unchecked look.
    ASSERT_TRUE(button->LoadStateStrip(MakeStrip({kGrey, kGreen}, kW, kH), kW, kH, false, true,
                                       false, false));
    ASSERT_TRUE(button->LoadCheckedStrip(MakeStrip({kYellow, kBlue}, kW, kH), true, false, false));
    button->SetChecked(true);
    EXPECT_EQ(PixelAt(button->NormalImage()), kYellow);
    button->SetChecked(false);
    EXPECT_EQ(PixelAt(button->NormalImage()), kGrey);
}

TEST_F(CheckImageButtonTest, SingleLookShowsTheSameImagesWhenChecked) {
    button->UseSingleLook();
    button->SetChecked(true);
    EXPECT_EQ(PixelAt(button->Face()), kRed);
    EXPECT_EQ(PixelAt(button->HoverImage()), kGreen);
}

}  // namespace
