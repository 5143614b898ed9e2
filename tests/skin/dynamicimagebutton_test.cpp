#include "skin/dynamicimagebutton.h"

#include <gtest/gtest.h>

#include <QTest>

#include "strips.h"

namespace {

constexpr int kW = 12;
constexpr int kH = 6;

class DynamicImageButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(button->LoadStateStrip(MakeStrip({kRed, kGreen, kBlue}, kW, kH), kW, kH, false,
                                           true, true, false));
    }
    // Runs one tick of the frame timer, as its timeout would, and returns the face shown.
    QColor Tick() {
        EXPECT_TRUE(button->FrameTimer().isActive());
        button->FrameTimerTick();
        return PixelAt(button->Face());
    }
    QWidget parent;
    TDynamicImageButton* button = new TDynamicImageButton(&parent);
};

TEST_F(DynamicImageButtonTest, FiveFramesWithoutDelayPlayOnceThenRestOnHover) {
    ASSERT_TRUE(button->LoadAnimationStrip(MakeFrames(5, kW, kH), 100, 0));
    EXPECT_FALSE(button->Looping());
    SendEnter(*button);
    EXPECT_EQ(PixelAt(button->Face()), kRed);  // the first frame shows one interval later
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_EQ(button->FrameTimer().interval(), 100);
        EXPECT_EQ(Tick(), FrameColour(frame)) << frame;
    }
    EXPECT_EQ(Tick(), kGreen);
    EXPECT_FALSE(button->FrameTimer().isActive());
}

TEST_F(DynamicImageButtonTest, LoopDelayHoldsTheHoverImageThenPlaysAgain) {
    ASSERT_TRUE(button->LoadAnimationStrip(MakeFrames(5, kW, kH), 100, 2000));
    EXPECT_TRUE(button->Looping());
    SendEnter(*button);
    for (int round = 0; round < 2; ++round) {
        for (int frame = 0; frame < 5; ++frame) {
            EXPECT_EQ(Tick(), FrameColour(frame));
        }
        EXPECT_EQ(Tick(), kGreen);
        EXPECT_EQ(button->FrameTimer().interval(), 2000);
    }
    EXPECT_TRUE(button->FrameTimer().isActive());
}

TEST_F(DynamicImageButtonTest, PressStopsTheAnimationAndLeaveShowsNormal) {
    ASSERT_TRUE(button->LoadAnimationStrip(MakeFrames(3, kW, kH), 50, 1000));
    SendEnter(*button);
    Tick();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(button->FrameTimer().isActive());
    EXPECT_EQ(PixelAt(button->Face()), kBlue);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(PixelAt(button->Face()), kGreen);
    EXPECT_FALSE(button->FrameTimer().isActive());

    SendLeave(*button);
    SendEnter(*button);
    EXPECT_TRUE(button->FrameTimer().isActive());
    EXPECT_EQ(button->FrameIndex(), 0);
    SendLeave(*button);
    EXPECT_FALSE(button->FrameTimer().isActive());
    EXPECT_EQ(PixelAt(button->Face()), kRed);
}

TEST_F(DynamicImageButtonTest, StripNotAWholeNumberOfFramesIsRefused) {
    ASSERT_TRUE(button->LoadAnimationStrip(MakeFrames(2, kW, kH), 100, 0));
    EXPECT_FALSE(button->LoadAnimationStrip(MakeFrames(3, kW, kH, 1), 70, 500));
    EXPECT_EQ(button->Frames().size(), 2u);
    EXPECT_EQ(button->FrameInterval(), 100);
}

TEST_F(DynamicImageButtonTest, NoStripDropsTheAnimationAndBringsBackHover) {
    ASSERT_TRUE(button->LoadAnimationStrip(MakeFrames(2, kW, kH), 100, 500));
    EXPECT_FALSE(button->LoadAnimationStrip(QImage(), 0, 0));
    SendEnter(*button);
    EXPECT_EQ(PixelAt(button->Face()), kGreen);
    button->FrameTimerTick();
    EXPECT_EQ(PixelAt(button->Face()), kGreen);
    EXPECT_FALSE(button->FrameTimer().isActive());
}

TEST(DynamicImageButtonZeroWidth, AnimationOnAZeroWidthButtonIsRefused) {
    TDynamicImageButton button;
    EXPECT_FALSE(button.LoadAnimationStrip(MakeFrames(2, 4, 4), 100, 0));
}

}  // namespace
