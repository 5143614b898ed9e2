#include <gtest/gtest.h>

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

#include "skin/checkimagebutton.h"
#include "skin/fixprogress.h"
#include "skin/image.h"
#include "skin/imagebutton.h"
#include "skin/windowdragger.h"
#include "strips.h"

namespace {

class ButtonAccessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (TImageButton* each : {button, static_cast<TImageButton*>(other)}) {
            ASSERT_TRUE(each->LoadStateStrip(MakeStrip({kRed, kGreen, kBlue, kGrey}, 20, 20), 20,
                                             20, false, true, true, true));
        }
        other->move(30, 0);
        window.resize(80, 40);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // Showing a window focuses its first control; the tests start from no focus.
        if (QWidget* focused = window.focusWidget()) {
            focused->clearFocus();
        }
    }
    QWidget window;
    TImageButton* button = new TImageButton(&window);
    TCheckImageButton* other = new TCheckImageButton(&window);
};

TEST_F(ButtonAccessTest, TabFocusesSpaceAndReturnClickAMouseClickLeavesTheFocus) {
    QSignalSpy clicks(button, &TImageButton::Click);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(button->hasFocus());

    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(button->hasFocus());
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 3);
    QTest::keyClick(button, Qt::Key_A);
    EXPECT_EQ(clicks.count(), 3);

    // Tab moves on to the next control.
    QTest::keyClick(&window, Qt::Key_Tab);
    EXPECT_TRUE(other->hasFocus());

    button->SetButtonEnabled(false);
    button->Activate();
    EXPECT_EQ(clicks.count(), 3);
}

TEST_F(ButtonAccessTest, FocusIsDrawnOverThePictureAndGoesWithTheFocus) {
    const QImage plain = button->grab().toImage();
    button->setFocus(Qt::TabFocusReason);
    const QImage focused = button->grab().toImage();
    EXPECT_NE(plain, focused);
    // The frame lies inside the outline; the edge and the middle stay the skin's.
    EXPECT_EQ(focused.pixelColor(0, 0), plain.pixelColor(0, 0));
    EXPECT_EQ(focused.pixelColor(10, 10), plain.pixelColor(10, 10));
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(button->grab().toImage(), plain);
}

TEST(FocusVisibilityTest, TheFocusAWindowGivesOnOpeningIsNotDrawnUntilTheKeyboardMovesIt) {
    QWidget window;
    auto* first = new TImageButton(&window);
    auto* second = new TImageButton(&window);
    for (TImageButton* each : {first, second}) {
        ASSERT_TRUE(
            each->LoadStateStrip(MakeStrip({kRed}, 20, 20), 20, 20, false, false, false, false));
    }
    second->move(30, 0);
    const QImage plain = first->grab().toImage();
    window.resize(80, 40);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(first->hasFocus());
    EXPECT_EQ(first->grab().toImage(), plain);

    QTest::keyClick(&window, Qt::Key_Tab);
    ASSERT_TRUE(second->hasFocus());
    EXPECT_NE(second->grab().toImage(), plain);
    QTest::keyClick(&window, Qt::Key_Backtab);
    EXPECT_NE(first->grab().toImage(), plain);

    // A focus the mouse gives hides the frame again, and the keyboard's next use shows it.
    second->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(second->grab().toImage(), plain);
    QTest::keyClick(second, Qt::Key_Space);
    EXPECT_NE(second->grab().toImage(), plain);
}

TEST_F(ButtonAccessTest, ButtonsArePushButtonsAndCheckBoxesWithNameStateAndPress) {
    QAccessibleInterface* push = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(push, nullptr);
    EXPECT_EQ(push->role(), QAccessible::Button);
    button->setToolTip("Play the clip");
    EXPECT_EQ(push->text(QAccessible::Name), "Play the clip");
    button->setAccessibleName("Play");
    EXPECT_EQ(push->text(QAccessible::Name), "Play");
    EXPECT_TRUE(push->state().focusable);

    QSignalSpy clicks(button, &TImageButton::Click);
    QAccessibleActionInterface* actions = push->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);

    QAccessibleInterface* check = QAccessible::queryAccessibleInterface(other);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->role(), QAccessible::CheckBox);
    EXPECT_TRUE(check->state().checkable);
    EXPECT_FALSE(check->state().checked);
    other->SetChecked(true);
    EXPECT_TRUE(check->state().checked);

    button->SetButtonEnabled(false);
    EXPECT_TRUE(push->state().disabled);
    EXPECT_FALSE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

struct Step {
    double percent;
    int pressed;
};

// 300 wide, thumb 20, no markers: the thumb travels 280 pixels over a 100-second clip.
class PositionBarAccessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bar->SetTrack(MakeStrip({kGrey}, 300, 12)));
        ASSERT_TRUE(
            bar->SetThumbAndMarkers(MakeStrip({kRed, kGreen, kBlue}, 20, 12), QImage(), QImage()));
        ASSERT_TRUE(bar->Arrange());
        bar->SetPositionCallback([this](double percent, int pressed, TFixProgress*) {
            steps.push_back({percent, pressed});
        });
        bar->SetDuration(100);
        window.show();
        bar->setFocus(Qt::TabFocusReason);
    }
    QWidget window;
    TFixProgress* bar = new TFixProgress(&window);
    std::vector<Step> steps;
};

TEST_F(PositionBarAccessTest, ArrowsStepSecondsPageKeysTenthsAndTheEndsHold) {
    QTest::keyClick(bar, Qt::Key_Right);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_DOUBLE_EQ(steps[0].percent, 1.0);
    EXPECT_EQ(steps[0].pressed, 0);
    QTest::keyClick(bar, Qt::Key_PageUp);
    EXPECT_DOUBLE_EQ(bar->Seconds(), 11.0);
    QTest::keyClick(bar, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(bar->Seconds(), 10.0);
    EXPECT_EQ(bar->Thumb()->x(), 28);

    QTest::keyClick(bar, Qt::Key_PageDown);
    QTest::keyClick(bar, Qt::Key_PageDown);
    EXPECT_DOUBLE_EQ(bar->Position(), 0.0);
    QTest::keyClick(bar, Qt::Key_End);
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(bar->Position(), 100.0);
    EXPECT_EQ(bar->Thumb()->x(), bar->ThumbMax());

    // A clip of unknown length steps one percent.
    bar->SetDuration(0);
    QTest::keyClick(bar, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(bar->Position(), 99.0);
}

TEST_F(PositionBarAccessTest, ADisabledThumbTakesNoSteps) {
    bar->Thumb()->SetButtonEnabled(false);
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_TRUE(steps.empty());
    EXPECT_FALSE(bar->StepToSeconds(50));
}

TEST_F(PositionBarAccessTest, TheBarIsASliderInSeconds) {
    QAccessibleInterface* slider = QAccessible::queryAccessibleInterface(bar);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->role(), QAccessible::Slider);
    QAccessibleValueInterface* value = slider->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_DOUBLE_EQ(value->maximumValue().toDouble(), 100.0);
    value->setCurrentValue(25.0);
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), 25.0);
    EXPECT_EQ(slider->text(QAccessible::Value), "25 s");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_DOUBLE_EQ(steps[0].percent, 25.0);
    EXPECT_EQ(bar->Thumb()->focusPolicy(), Qt::NoFocus);
}

class SystemMoveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(200, 100);
        background->resize(200, 100);
        background->setEnabled(false);
        window.move(100, 100);
        dragger->SetSystemMove([this](QWidget& moved) {
            ++requests;
            EXPECT_EQ(&moved, &window);
            return accept;
        });
        window.show();
    }
    QWidget window;
    TImage* background = new TImage(&window);
    TWindowDragger* dragger = new TWindowDragger(&window);
    int requests = 0;
    bool accept = true;
};

TEST_F(SystemMoveTest, TheFirstMovementHandsTheDragOverAndThePressAloneDoesNot) {
    QTest::mousePress(background, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(requests, 0);
    QTest::mouseMove(background, QPoint(30, 25));
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(dragger->HandedOver());
    // The windowing system moves it; the program does not.
    QTest::mouseMove(background, QPoint(50, 45));
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(window.pos(), QPoint(100, 100));
    QTest::mouseRelease(background, Qt::LeftButton, {}, QPoint(50, 45));
    EXPECT_FALSE(dragger->HandedOver());
}

TEST_F(SystemMoveTest, AClickAsksNothingAndARefusalKeepsTheProgramsOwnDrag) {
    QTest::mouseClick(background, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(requests, 0);

    accept = false;
    QTest::mousePress(background, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(background, QPoint(30, 25));
    QTest::mouseMove(background, QPoint(40, 35));
    EXPECT_EQ(requests, 1);
    EXPECT_FALSE(dragger->HandedOver());
    EXPECT_NE(window.pos(), QPoint(100, 100));
    QTest::mouseRelease(background, Qt::LeftButton, {}, QPoint(40, 35));
}

}  // namespace
