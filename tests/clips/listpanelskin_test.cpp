#include <gtest/gtest.h>

#include "clipfixtures.h"
#include "clips/listpanel.h"
#include "clips/listpanelskin.h"
#include "skin/skin.h"
#include "support/modalanswerer.h"
#include "support/tempdir.h"

using namespace clipfixtures;

namespace {

class ListPanelSkinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.setObjectName("MainWindow");
        window_.resize(600, 400);
        panel_ = new TListPanel(&window_);
        panel_->setObjectName("TP_ImageList");
        panel_->hide();
    }

    bool Apply(const QString& entry) {
        WriteListSkin(dir_.Path(), entry);
        return ApplySkin(window_, {SkinComponent(panel_, &ApplyListPanelSkin)}, dir_.Path());
    }

    TempDir dir_;
    QWidget window_;
    TListPanel* panel_ = nullptr;
};

TEST_F(ListPanelSkinTest, AFullEntryBuildsAndPlacesThePanel) {
    ASSERT_TRUE(Apply(kFullPanelEntry));
    EXPECT_FALSE(panel_->isHidden());
    EXPECT_EQ(panel_->geometry(), QRect(10, 20, 420, 300));
    ASSERT_NE(panel_->UpButton(), nullptr);
    ASSERT_NE(panel_->DownButton(), nullptr);
    EXPECT_EQ(panel_->UpButton()->size(), QSize(kBarWidth, kButtonHeight));
    EXPECT_EQ(panel_->Thumb()->size(), QSize(kBarWidth, kThumbHeight));
    EXPECT_EQ(panel_->ThumbTopMin(), kButtonHeight);
    EXPECT_EQ(panel_->ThumbTopMax(), 300 - kButtonHeight - kThumbHeight);
    EXPECT_EQ(panel_->ScrollBarPanel()->width(), kBarWidth);
    EXPECT_EQ(panel_->ContentPanel()->palette().color(QPalette::Window), kBackColour);
    ASSERT_NE(panel_->BottomImage(), nullptr);
    EXPECT_EQ(panel_->BottomImage()->height(), 6);
}

TEST_F(ListPanelSkinTest, ScrollButtonsAreOptionalButComeInPairs) {
    ASSERT_TRUE(Apply("thumb.bmp,,,0,0,420,300,,,,,,track.bmp,back.bmp,"));
    EXPECT_EQ(panel_->UpButton(), nullptr);
    EXPECT_EQ(panel_->BottomImage(), nullptr);
    EXPECT_EQ(panel_->ThumbTopMin(), 0);

    TModalAnswerer answerer;
    EXPECT_FALSE(Apply("thumb.bmp,up.bmp,,0,0,420,300,,,,,,track.bmp,back.bmp,"));
    ASSERT_EQ(answerer.Texts().size(), 1);
    EXPECT_EQ(answerer.Texts()[0], kSkinErrorText);
}

TEST_F(ListPanelSkinTest, MissingRequiredPicturesAndMissingKeyFail) {
    TModalAnswerer answerer;
    EXPECT_FALSE(Apply("thumb.bmp,,,0,0,420,300,,,,,,nothere.bmp,back.bmp,"));
    EXPECT_FALSE(Apply("thumb.bmp,,,0,0,420,300,,,,,,track.bmp,back.bmp"));  // field 14 unended
    EXPECT_FALSE(Apply("thumb.bmp,,,0,0,420,300,,,,,,track.bmp,,"));
    EXPECT_FALSE(Apply(""));
    EXPECT_EQ(answerer.Texts().size(), 4);
}

}  // namespace
