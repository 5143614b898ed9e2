#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>

#include "clipfixtures.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "dero_window.h"
#include "messagerecorder.h"

using namespace clipfixtures;

namespace {

const QColor kGreen(0, 255, 0);
const QColor kGrey(128, 128, 128);

uintptr_t Handle(const Image_Item* item) {
    return reinterpret_cast<uintptr_t>(item);
}

class ListPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.resize(500, 400);
        panel_ = new TListPanel(&window_);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    void AddFour() {
        for (const char* name : {"A", "B", "C", "D"}) {
            clips_.push_back(AddClip(*panel_, name));
        }
    }

    void Click(Image_Item* item, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(item, button, modifiers, QPoint(30, 30));
    }

    // The names of the selected clips, in list order.
    QString Selected() const {
        QString names;
        for (int i = 0; i < panel_->Count(); ++i) {
            if (panel_->GetItem(i)->Selected()) {
                names += panel_->GetItem(i)->Clip().SourceFile;
            }
        }
        return names;
    }

    QString Names() const {
        QString names;
        for (int i = 0; i < panel_->Count(); ++i) {
            names += panel_->GetItem(i)->Clip().SourceFile;
        }
        return names;
    }

    void Popup(const char* entry) {
        ASSERT_NE(panel_->PopupMenu(), nullptr);
        QAction* action = panel_->PopupMenu()->findChild<QAction*>(entry);
        ASSERT_NE(action, nullptr) << entry;
        action->trigger();
    }

    TMessageRecorder window_;
    TListPanel* panel_ = nullptr;
    std::vector<Image_Item*> clips_;
};

TEST_F(ListPanelTest, FirstClipIsSelectedAndAnnouncedTheSecondIsNot) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    Image_Item* a = AddClip(*panel_, "A");
    EXPECT_TRUE(a->Selected());
    EXPECT_EQ(window_.Count(WM_CLIP_SELECTED), 1);
    EXPECT_EQ(window_.LastWParam(WM_CLIP_SELECTED), static_cast<intptr_t>(Handle(a)));
    EXPECT_EQ(a->Picture().pixelColor(1, 1), kGreen);
    EXPECT_EQ(panel_->Anchor(), TListPanel::TopMargin);

    Image_Item* b = AddClip(*panel_, "B");
    EXPECT_FALSE(b->Selected());
    EXPECT_EQ(b->Picture().pixelColor(1, 1), kGrey);
    EXPECT_EQ(window_.Count(WM_CLIP_SELECTED), 1);
    EXPECT_EQ(b->pos(), QPoint(2, 68));
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(b->Clip().StartTime, 0);
    EXPECT_EQ(b->Clip().StopTime, 90);

    panel_->AddItem(nullptr);
    EXPECT_EQ(panel_->Count(), 2);
}

TEST_F(ListPanelTest, ShiftClickSelectsFromTheAnchorWhichStays) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    AddFour();
    Click(clips_[0]);
    Click(clips_[2], Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "ABC");
    Click(clips_[1], Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "AB");
    EXPECT_EQ(panel_->Anchor(), 2);
    EXPECT_EQ(window_.LastWParam(WM_CLIP_SELECTED), static_cast<intptr_t>(Handle(clips_[1])));
}

TEST_F(ListPanelTest, ShiftClickWithoutAnchorSetsItAndKeepsTheOthers) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    AddFour();
    Click(clips_[3]);
    panel_->RemoveSelected();
    ASSERT_EQ(panel_->Anchor(), -1);
    ASSERT_EQ(Selected(), "");
    Click(clips_[1], Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "B");
    EXPECT_EQ(panel_->Anchor(), 68);
    Click(clips_[2], Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "BC");
    EXPECT_EQ(panel_->Anchor(), 68);
}

TEST_F(ListPanelTest, CtrlClickTogglesOnlyThatClip) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    AddFour();
    Click(clips_[2], Qt::ControlModifier);
    EXPECT_EQ(Selected(), "AC");
    Click(clips_[0], Qt::ControlModifier);
    EXPECT_EQ(Selected(), "C");
    EXPECT_EQ(clips_[0]->Picture().pixelColor(1, 1), kGrey);
    EXPECT_EQ(panel_->Anchor(), 2);
}

TEST_F(ListPanelTest, RightClickKeepsASelectionAndRemoveTakesTheOtherClip) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    Image_Item* a = AddClip(*panel_, "A");
    Image_Item* b = AddClip(*panel_, "B");
    Click(b, Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(Selected(), "A");
    ASSERT_NE(panel_->PopupMenu(), nullptr);
    EXPECT_TRUE(panel_->PopupMenu()->isVisible());
    QStringList entries;
    for (QAction* action : panel_->PopupMenu()->actions()) {
        entries << (action->isSeparator() ? "-" : action->text() + "=" + action->objectName());
    }
    EXPECT_EQ(entries.join('|'),
              "Preview clip=Preview|-|Remove clip(s)=Remove|Crop clip(s)=Crop|Clear clip(s)=Clear");
    panel_->PopupMenu()->hide();
    (void)a;

    window_.Clear();
    Popup("Remove");
    EXPECT_EQ(Names(), "B");
    EXPECT_EQ(b->pos(), QPoint(2, 2));
    EXPECT_EQ(window_.Count(WM_CLIP_SELECTED), 1);
    EXPECT_EQ(window_.LastWParam(WM_CLIP_SELECTED), 0);
    EXPECT_EQ(panel_->Anchor(), -1);

    // With nothing selected, a right click selects the clip.
    ASSERT_EQ(Selected(), "");
    Click(b, Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(Selected(), "B");
    panel_->PopupMenu()->hide();
}

TEST_F(ListPanelTest, CropKeepsTheSelectionInOrderAndSendsNothing) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    AddFour();
    Click(clips_[1]);
    Click(clips_[3], Qt::ControlModifier);
    Click(clips_[3], Qt::NoModifier, Qt::RightButton);
    window_.Clear();
    Popup("Crop");
    EXPECT_EQ(Names(), "BD");
    EXPECT_EQ(panel_->GetItem(0)->pos(), QPoint(2, 2));
    EXPECT_EQ(panel_->GetItem(1)->pos(), QPoint(2, 68));
    EXPECT_TRUE(window_.Messages().empty());
    EXPECT_EQ(panel_->Anchor(), -1);
}

TEST_F(ListPanelTest, ClearEmptiesTheListAndAnnouncesNoClip) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    AddFour();
    QPointer<Image_Item> watched = clips_[2];
    Click(clips_[0], Qt::NoModifier, Qt::RightButton);
    window_.Clear();
    Popup("Clear");
    EXPECT_EQ(panel_->Count(), 0);
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(panel_->GetItem(0), nullptr);
    EXPECT_EQ(window_.LastWParam(WM_CLIP_SELECTED), 0);
    EXPECT_EQ(panel_->ContentPanel()->y(), 0);
}

TEST_F(ListPanelTest, DoubleClickAndPreviewEntryAskForPreview) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    AddFour();
    QTest::mouseDClick(clips_[2], Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(window_.Count(WM_PREVIEW_CLIP), 1);
    EXPECT_EQ(Selected(), "C");
    Click(clips_[2], Qt::NoModifier, Qt::RightButton);
    Popup("Preview");
    EXPECT_EQ(window_.Count(WM_PREVIEW_CLIP), 2);
}

TEST_F(ListPanelTest, GetFirstSelected) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    EXPECT_EQ(panel_->GetFirstSelected(), nullptr);
    AddFour();
    Click(clips_[0], Qt::ControlModifier);
    ASSERT_EQ(Selected(), "");
    EXPECT_EQ(panel_->GetFirstSelected(), clips_[0]);
    EXPECT_EQ(Selected(), "A");

    Click(clips_[1]);
    Click(clips_[3], Qt::ControlModifier);
    EXPECT_EQ(panel_->GetFirstSelected(), clips_[1]);
    EXPECT_EQ(Selected(), "B");
    EXPECT_EQ(panel_->GetItem(-1), nullptr);
    EXPECT_EQ(panel_->GetItem(4), nullptr);
    EXPECT_EQ(panel_->ClipAt(3), &clips_[3]->Clip());
    EXPECT_EQ(panel_->ClipAt(4), nullptr);
}

TEST_F(ListPanelTest, SetTrimPullsBackPushesForwardAndRefusesBeyondTheClip) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    Image_Item* clip = AddClip(*panel_, "A", 90);
    ASSERT_TRUE(panel_->SetTrim(clip, 0, 60));
    EXPECT_TRUE(panel_->SetTrim(clip, 70, clip->Clip().StopTime));
    EXPECT_EQ(clip->Clip().StartTime, 60);
    EXPECT_EQ(clip->Clip().StopTime, 60);

    ASSERT_TRUE(panel_->SetTrim(clip, 20, 60));
    EXPECT_TRUE(panel_->SetTrim(clip, clip->Clip().StartTime, 10));
    EXPECT_EQ(clip->Clip().StartTime, 20);
    EXPECT_EQ(clip->Clip().StopTime, 20);

    // The tooltip tells the whole face, trim included.
    EXPECT_TRUE(clip->toolTip().contains("Clip Name : A\n")) << qPrintable(clip->toolTip());
    EXPECT_TRUE(clip->toolTip().endsWith("Start Time : 00:00:20\nStop Time : 00:00:20"))
        << qPrintable(clip->toolTip());

    EXPECT_FALSE(panel_->SetTrim(clip, 20, 91));
    EXPECT_FALSE(panel_->SetTrim(clip, -1, 20));
    EXPECT_EQ(clip->Clip().StartTime, 20);
    EXPECT_EQ(clip->Clip().StopTime, 20);
    EXPECT_TRUE(panel_->SetTrim(clip, 0, 90));
    EXPECT_EQ(clip->Clip().StopTime, 90);

    // Both ends moved the wrong way round still leave start <= stop.
    EXPECT_TRUE(panel_->SetTrim(clip, 50, 10));
    EXPECT_LE(clip->Clip().StartTime, clip->Clip().StopTime);
    EXPECT_FALSE(panel_->SetTrim(nullptr, 0, 0));
}

class ListPanelScrollTest : public ListPanelTest {
  protected:
    void AddClips(int count) {
        for (int i = 0; i < count; ++i) {
            clips_.push_back(AddClip(*panel_, QString::number(i)));
        }
    }
    int ThumbTop() const { return panel_->Thumb()->y(); }
    int ContentTop() const { return panel_->ContentPanel()->y(); }
    void Press(TImageButton* button) {
        QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
        QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    }
};

TEST_F(ListPanelScrollTest, ButtonsDoNothingWhenTheClipsFallAFullItemShort) {
    ASSERT_TRUE(SkinPanel(*panel_, 200, true));
    AddClips(2);  // 132 pixels of clips, 68 short of 200
    EXPECT_EQ(ThumbTop(), kButtonHeight);
    Press(panel_->DownButton());
    EXPECT_EQ(ThumbTop(), kButtonHeight);
    EXPECT_EQ(ContentTop(), 0);
}

TEST_F(ListPanelScrollTest, ButtonsMoveOnlyTheThumbWhenTheClipsNearlyFit) {
    ASSERT_TRUE(SkinPanel(*panel_, 190, true));
    AddClips(2);  // 58 short of 190
    Press(panel_->DownButton());
    EXPECT_GT(ThumbTop(), kButtonHeight);
    EXPECT_EQ(ContentTop(), 0);
}

TEST_F(ListPanelScrollTest, ScrollingMovesWholeItemsAndKeepsTheBottomInPlace) {
    ASSERT_TRUE(SkinPanel(*panel_, 200, true));
    panel_->SetBottomBitmap(Solid(300, 6, Qt::blue));
    AddClips(10);  // 660 pixels of clips: 7 steps of scrolling
    const int min = panel_->ThumbTopMin();
    const int max = panel_->ThumbTopMax();
    EXPECT_EQ(min, kButtonHeight);
    EXPECT_EQ(max, 200 - kThumbHeight - kButtonHeight);

    // The first press already brings the next clip in, and the way back up is as short.
    Press(panel_->DownButton());
    EXPECT_GT(ThumbTop(), min);
    EXPECT_EQ(ContentTop(), -66);
    Press(panel_->DownButton());
    EXPECT_EQ(ContentTop(), -2 * 66);
    Press(panel_->UpButton());
    EXPECT_EQ(ContentTop(), -66);
    for (int i = 0; i < 20; ++i) {
        Press(panel_->DownButton());
    }
    EXPECT_EQ(ThumbTop(), max);
    EXPECT_EQ(ContentTop(), -7 * 66);
    EXPECT_EQ(ContentTop() + panel_->ContentPanel()->height(), 200);
    const QRect bottom = panel_->BottomImage()->geometry();
    EXPECT_EQ(bottom.bottom() + 1 + ContentTop(), 200);

    // A click on the track centres the thumb on the click.
    QTest::mouseClick(panel_->Track(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 80));
    EXPECT_EQ(ThumbTop(), min + (80 - kThumbHeight / 2));
    EXPECT_EQ(ContentTop() % 66, 0);
    QTest::mouseClick(panel_->Track(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 0));
    EXPECT_EQ(ThumbTop(), min);
    EXPECT_EQ(ContentTop(), 0);

    // Dragging the thumb past the end stops at the end.
    TImageButton* thumb = panel_->Thumb();
    QTest::mousePress(thumb, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(thumb, QPoint(5, 500));
    QTest::mouseRelease(thumb, Qt::LeftButton, Qt::NoModifier, QPoint(5, 500));
    EXPECT_EQ(ThumbTop(), max);
    EXPECT_EQ(ContentTop(), -7 * 66);

    // Removing clips brings the content back as far as they no longer fill the panel.
    ASSERT_TRUE(clips_[0]->Selected());
    panel_->CropSelected();
    EXPECT_EQ(panel_->Count(), 1);
    EXPECT_EQ(ContentTop(), 0);
}

TEST_F(ListPanelScrollTest, TheWheelScrollsAnItemANotchAndAddsUpSmallSteps) {
    ASSERT_TRUE(SkinPanel(*panel_, 200, true));
    AddClips(10);
    // Sent to the panel, as the window system's wheel event over a clip reaches it: the clips
    // and the content panel leave it to their parent.
    const auto wheel = [&](int delta) {
        const QPoint at(20, 20);
        QWheelEvent event(at, panel_->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(panel_, &event);
    };
    wheel(-120);  // towards the user: down the list
    EXPECT_EQ(ContentTop(), -66);
    EXPECT_GT(ThumbTop(), panel_->ThumbTopMin());
    wheel(-360);
    EXPECT_EQ(ContentTop(), -4 * 66);
    wheel(60);
    EXPECT_EQ(ContentTop(), -4 * 66);
    wheel(60);
    EXPECT_EQ(ContentTop(), -3 * 66);
    wheel(-12000);
    EXPECT_EQ(ContentTop(), -7 * 66);
    EXPECT_EQ(ThumbTop(), panel_->ThumbTopMax());
    wheel(12000);
    EXPECT_EQ(ContentTop(), 0);
    EXPECT_EQ(ThumbTop(), panel_->ThumbTopMin());
}

TEST_F(ListPanelScrollTest, ResizeKeepsTheThumbInItsRange) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, true));
    AddClips(10);
    QTest::mouseClick(panel_->Track(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 299));
    ASSERT_EQ(ThumbTop(), 300 - kThumbHeight - kButtonHeight);
    panel_->resize(panel_->width(), 150);
    EXPECT_EQ(panel_->ThumbTopMax(), 150 - kThumbHeight - kButtonHeight);
    EXPECT_EQ(ThumbTop(), panel_->ThumbTopMax());
    EXPECT_EQ(panel_->DownButton()->y(), 150 - kButtonHeight);
    EXPECT_EQ(ContentTop() + panel_->ContentPanel()->height(), 150);
}

}  // namespace
