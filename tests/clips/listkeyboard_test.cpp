#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

#include "clipfixtures.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "dero_window.h"
#include "messagerecorder.h"

using namespace clipfixtures;

namespace {

class ListKeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.resize(500, 400);
        panel_ = new TListPanel(&window_);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    void Add(int count) {
        for (int i = 0; i < count; ++i) {
            clips_.push_back(AddClip(*panel_, QString(QChar('A' + i)) + ".avi"));
        }
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(panel_, key, modifiers);
    }

    QString Selected() const {
        QString names;
        for (int i = 0; i < panel_->Count(); ++i) {
            if (panel_->GetItem(i)->Selected()) {
                names += panel_->GetItem(i)->Clip().SourceFile.left(1);
            }
        }
        return names;
    }

    TMessageRecorder window_;
    TListPanel* panel_ = nullptr;
    std::vector<Image_Item*> clips_;
};

TEST_F(ListKeyboardTest, ArrowsMoveTheSelectionShiftExtendsItDeleteRemovesIt) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    Add(4);
    EXPECT_EQ(Selected(), "A");

    Key(Qt::Key_Down);
    EXPECT_EQ(Selected(), "B");
    EXPECT_EQ(window_.LastWParam(WM_CLIP_SELECTED), reinterpret_cast<intptr_t>(clips_[1]));
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "BCD");
    // Past the end the current clip stays the last; Shift back shrinks towards the anchor.
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "BC");
    EXPECT_EQ(panel_->Current(), clips_[2]);

    Key(Qt::Key_Delete);
    EXPECT_EQ(panel_->Count(), 2);
    EXPECT_EQ(window_.LastWParam(WM_CLIP_SELECTED), 0);
    // Nothing current any more: the next step starts from the top.
    Key(Qt::Key_Up);
    EXPECT_EQ(Selected(), "A");
    Key(Qt::Key_End);
    EXPECT_EQ(Selected(), "D");

    window_.Clear();
    Key(Qt::Key_Return);
    EXPECT_EQ(window_.Count(WM_PREVIEW_CLIP), 1);
}

TEST_F(ListKeyboardTest, KeysOnAnEmptyListDoNothing) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Delete, Qt::Key_Return}) {
        Key(key);
    }
    EXPECT_TRUE(window_.Messages().empty());
}

TEST_F(ListKeyboardTest, StepsScrollTheCurrentClipIntoView) {
    ASSERT_TRUE(SkinPanel(*panel_, 200, true));
    Add(10);
    for (int i = 0; i < 9; ++i) {
        Key(Qt::Key_Down);
    }
    const int top = panel_->ContentPanel()->y() + clips_[9]->y();
    EXPECT_GE(top, 0);
    EXPECT_LE(top + Image_Item::ItemHeight, 200);
    Key(Qt::Key_Home);
    EXPECT_EQ(panel_->ContentPanel()->y(), 0);
}

TEST_F(ListKeyboardTest, TabReachesTheListButClicksDoNotFocusIt) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, true));
    Add(2);
    panel_->clearFocus();
    QTest::mouseClick(clips_[1], Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_FALSE(panel_->hasFocus());
    EXPECT_EQ(panel_->focusPolicy(), Qt::TabFocus);
    // The scroll bar's parts are for the mouse only.
    EXPECT_EQ(panel_->Thumb()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(panel_->UpButton()->focusPolicy(), Qt::NoFocus);
}

TEST_F(ListKeyboardTest, AccessibleListHasTheClipsAsNamedSelectableItems) {
    ASSERT_TRUE(SkinPanel(*panel_, 300, false));
    Add(2);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(panel_);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 2);

    QAccessibleInterface* second = list->child(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->role(), QAccessible::ListItem);
    EXPECT_EQ(second->object(), clips_[1]);
    EXPECT_EQ(second->parent(), list);
    EXPECT_EQ(list->indexOfChild(second), 1);
    EXPECT_TRUE(second->text(QAccessible::Name).startsWith("B.avi, start "));
    EXPECT_FALSE(second->state().selected);
    EXPECT_TRUE(list->child(0)->state().selected);

    // The name follows the trim.
    const QString before = second->text(QAccessible::Name);
    ASSERT_TRUE(panel_->SetTrim(clips_[1], 5, 20));
    EXPECT_NE(second->text(QAccessible::Name), before);
}

}  // namespace
