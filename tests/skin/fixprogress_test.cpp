#include "skin/fixprogress.h"

#include <gtest/gtest.h>

#include <QTest>
#include <cmath>
#include <vector>

#include "dero_window.h"
#include "platform/messagemap.h"
#include "skin/image.h"
#include "skin/imagebutton.h"
#include "strips.h"

namespace {

class MarkerWindow : public QWidget, public TMessageMap {
  public:
    intptr_t WindowMessage(uint32_t message, uintptr_t wParam, intptr_t) override {
        messages.emplace_back(message, wParam);
        return 0;
    }
    std::vector<std::pair<uint32_t, uintptr_t>> messages;
};

struct Call {
    double percent;
    int pressed;
};

// The bar of the examples: 300 wide, thumb 20, markers 10 each.
class FixProgressTest : public ::testing::Test {
  protected:
    void Build(bool markers) {
        ASSERT_TRUE(bar->SetTrack(MakeStrip({kGrey}, 300, 12)));
        ASSERT_TRUE(bar->SetRangeFill(MakeStrip({kYellow}, 40, 6)));
        const QImage start = markers ? MakeStrip({kRed, kGreen, kBlue}, 10, 12) : QImage();
        const QImage end = markers ? MakeStrip({kBlue, kGreen, kRed}, 10, 12) : QImage();
        ASSERT_TRUE(bar->SetThumbAndMarkers(MakeStrip({kRed, kGreen, kBlue}, 20, 12), start, end));
        ASSERT_TRUE(bar->Arrange());
        bar->SetPositionCallback([this](double percent, int pressed, TFixProgress* sender) {
            EXPECT_EQ(sender, bar);
            calls.push_back({percent, pressed});
        });
        window.show();
    }
    MarkerWindow window;
    TFixProgress* bar = new TFixProgress(&window);
    std::vector<Call> calls;
};

TEST_F(FixProgressTest, ArrangeAndSetPositionOnTheExampleBar) {
    Build(true);
    EXPECT_EQ(bar->size(), QSize(300, 12));
    EXPECT_EQ(bar->ThumbMin(), 10);
    EXPECT_EQ(bar->ThumbMax(), 270);
    EXPECT_EQ(bar->MarkerLimit(), 290);
    EXPECT_EQ(bar->Thumb()->x(), 10);
    EXPECT_FALSE(bar->StartMarker()->isEnabled());
    EXPECT_EQ(bar->EndMarker()->x(), 290);

    EXPECT_TRUE(bar->SetPosition(50));
    EXPECT_EQ(bar->Thumb()->x(), 140);
    EXPECT_EQ(bar->Position(), 50);

    bar->SetPosition(150);
    EXPECT_EQ(bar->Thumb()->x(), 270);
    EXPECT_EQ(bar->Position(), 150);

    for (double off : {-1.0, std::nan("")}) {
        bar->SetPosition(50);
        bar->SetPosition(off);
        EXPECT_EQ(bar->Thumb()->x(), 10);
        EXPECT_EQ(bar->Position(), 0);
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(FixProgressTest, SetPositionWhileTheUserHoldsTheThumbChangesNothing) {
    Build(true);
    bar->SetPosition(25);
    const int left = bar->Thumb()->x();
    QTest::mousePress(bar->Thumb(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(bar->SetPosition(80));
    EXPECT_EQ(bar->Thumb()->x(), left);
    EXPECT_EQ(bar->Position(), 25);
    QTest::mouseRelease(bar->Thumb(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].pressed, 1);
    EXPECT_EQ(calls[1].pressed, 0);
    EXPECT_TRUE(bar->SetPosition(80));
}

TEST_F(FixProgressTest, RangeOfTheWholeScaleAndBack) {
    Build(true);
    bar->SetRange(0, 1);
    EXPECT_EQ(bar->StartMarker()->x(), 0);
    EXPECT_EQ(bar->EndMarker()->x(), 290);
    EXPECT_EQ(bar->RangeFill()->x(), 10);
    EXPECT_EQ(bar->RangeFill()->width(), 280);
    EXPECT_TRUE(bar->StartMarker()->isEnabled());
    EXPECT_EQ(bar->GetRange(), std::make_pair(0.0f, 1.0f));

    bar->SetRange(0.25f, 0.5f);  // 70 and 140 pixels into the 280-pixel scale
    EXPECT_EQ(bar->StartMarker()->x(), 70);
    EXPECT_EQ(bar->EndMarker()->x(), 150);
    EXPECT_EQ(bar->GetRange(), std::make_pair(0.25f, 0.5f));

    bar->SetRange(-1, -1);
    EXPECT_EQ(bar->StartMarker()->x(), 0);
    EXPECT_EQ(bar->EndMarker()->x(), 290);
    EXPECT_EQ(bar->RangeFill()->width(), 0);
    EXPECT_FALSE(bar->EndMarker()->isEnabled());
}

TEST_F(FixProgressTest, BarBodyPressCentresTheThumbAndHandsTheDragToIt) {
    Build(true);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(100, 6));
    EXPECT_EQ(bar->Thumb()->x(), 90);
    EXPECT_TRUE(bar->Dragging());
    EXPECT_EQ(QWidget::mouseGrabber(), bar->Thumb());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].pressed, 1);
    EXPECT_DOUBLE_EQ(calls[0].percent, 80.0 * 100 / 260);

    // The grab sends the rest of the gesture to the thumb, in its own coordinates.
    QTest::mouseMove(bar->Thumb(), QPoint(10 + 50, 6));  // 50 pixels right of the press
    EXPECT_EQ(bar->Thumb()->x(), 140);
    EXPECT_EQ(calls.back().pressed, 1);
    QTest::mouseRelease(bar->Thumb(), Qt::LeftButton, {}, QPoint(10, 6));
    EXPECT_FALSE(bar->Dragging());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(calls.back().pressed, 0);
    EXPECT_DOUBLE_EQ(calls.back().percent, 50.0);
}

TEST_F(FixProgressTest, BarBodyPressNeedsAnEnabledThumbAndTheLeftButton) {
    Build(true);
    QTest::mousePress(bar, Qt::RightButton, {}, QPoint(100, 6));
    QTest::mouseRelease(bar, Qt::RightButton, {}, QPoint(100, 6));
    bar->Thumb()->SetButtonEnabled(false);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(100, 6));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(100, 6));
    EXPECT_EQ(bar->Thumb()->x(), 10);
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(bar->Dragging());
}

TEST_F(FixProgressTest, MarkerDragIsClampedAndItsReleaseSendsOneMessage) {
    Build(true);
    bar->SetRange(0.25f, 0.5f);
    TImageButton* start = bar->StartMarker();
    QTest::mousePress(start, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(start, QPoint(25, 5));
    EXPECT_EQ(start->x(), 90);
    EXPECT_EQ(bar->RangeFill()->x(), 100);
    // Far right: stops where it meets the end marker.
    QTest::mouseMove(start, QPoint(5 + 500, 5));
    EXPECT_EQ(start->x(), 140);
    EXPECT_EQ(bar->RangeFill()->width(), 0);
    EXPECT_TRUE(window.messages.empty());
    QTest::mouseRelease(start, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0], std::make_pair(uint32_t{WM_RANGE_MARKER}, uintptr_t{1}));

    TImageButton* end = bar->EndMarker();
    QTest::mousePress(end, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(end, QPoint(5 + 500, 5));
    EXPECT_EQ(end->x(), 290);
    QTest::mouseRelease(end, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.messages[1].second, 0u);
    EXPECT_EQ(bar->GetRange().second, 1.0f);
    EXPECT_TRUE(calls.empty());
}

TEST_F(FixProgressTest, BarWithoutMarkersPlacesOnlyTheFill) {
    Build(false);
    EXPECT_EQ(bar->ThumbMin(), 0);
    EXPECT_EQ(bar->ThumbMax(), 280);
    EXPECT_EQ(bar->MarkerLimit(), 300);
    bar->SetRange(0.5f, 1);
    EXPECT_EQ(bar->RangeFill()->x(), 150);
    EXPECT_EQ(bar->RangeFill()->width(), 150);
    EXPECT_EQ(bar->GetRange(), std::make_pair(0.5f, 1.0f));
}

TEST_F(FixProgressTest, OnlyOneMarkerStripIsRefused) {
    EXPECT_FALSE(bar->SetThumbAndMarkers(MakeStrip({kRed, kGreen, kBlue}, 20, 12),
                                         MakeStrip({kRed, kGreen, kBlue}, 10, 12), QImage()));
    EXPECT_FALSE(bar->Arrange());  // no track yet
}

TEST_F(FixProgressTest, ThumbAsWideAsTheTrackKeepsPositionZero) {
    ASSERT_TRUE(bar->SetTrack(MakeStrip({kGrey}, 30, 12)));
    ASSERT_TRUE(bar->SetThumbAndMarkers(MakeStrip({kRed, kGreen, kBlue}, 30, 12), {}, {}));
    ASSERT_TRUE(bar->Arrange());
    EXPECT_EQ(bar->ThumbMax(), bar->ThumbMin());
    EXPECT_TRUE(bar->MoveThumbTo(5));
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(bar->Thumb()->x(), 0);
}

}  // namespace

TEST_F(FixProgressTest, APressBesideAMarkerTakesItAndTheMarkersStayAboveTheThumb) {
    Build(true);
    bar->SetRange(0.25f, 0.5f);  // start marker 70..80, end marker 150..160
    TImageButton* start = bar->StartMarker();
    TImageButton* end = bar->EndMarker();

    // Six pixels right of the start marker's centre, on the bar: still the marker's.
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(81, 6));
    EXPECT_EQ(QWidget::mouseGrabber(), start);
    EXPECT_FALSE(bar->Dragging());
    QTest::mouseMove(start, QPoint(11 + 10, 6));  // the grab reports in the marker's coordinates
    EXPECT_EQ(start->x(), 80);
    QTest::mouseRelease(start, Qt::LeftButton, {}, QPoint(21, 6));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].second, 1u);
    EXPECT_TRUE(calls.empty());  // no seek on the way

    // Beyond the grab area the press seeks as before.
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(100, 6));
    EXPECT_EQ(QWidget::mouseGrabber(), bar->Thumb());
    QTest::mouseRelease(bar->Thumb(), Qt::LeftButton, {}, QPoint(10, 6));
    EXPECT_EQ(calls.size(), 2u);

    // The thumb parked on the range's end leaves the end marker visible and in reach.
    bar->MoveThumbTo(end->x());
    EXPECT_EQ(bar->childAt(QPoint(155, 6)), end);
    EXPECT_EQ(window.messages.size(), 1u);
}
