#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QTest>

#include "app/convertsettings.h"
#include "profiles/profilefile.h"
#include "profiles/profileselection.h"
#include "support/modalanswerer.h"
#include "support/tempdir.h"

namespace {

const char* const kPspLine =
    "PSP : Video: 368x208, 640 kbps, 29.97 fps, Audio: 128 kbps, 48 khps, 2 Channels Stereo";

class ProfileSelectionTest : public ::testing::Test {
  protected:
    ProfileSelectionTest() { QDir().mkpath(SkinPath()); }

    QString ProfilePath() const { return dir_.Path() + QStringLiteral("Output.dll"); }
    QString SkinPath() const { return dir_.Path() + QStringLiteral("Skin/"); }
    void WriteProfiles(const QByteArray& text) { dir_.Write(QStringLiteral("Output.dll"), text); }
    // Three psp profiles and the given DefaultIndex.
    void WritePsp(int defaultIndex) {
        WriteProfiles(QByteArray("[psp]\nProfileCount=3\nProfile0=") + kPspLine +
                      "\nProfile1=second\nProfile2=third\nDefaultIndex=" +
                      QByteArray::number(defaultIndex) + "\n");
    }
    QStringList Entries() const {
        QStringList entries;
        for (int i = 0; i < box_.count(); ++i) {
            entries << box_.itemText(i);
        }
        return entries;
    }
    // What the user does to pick the last entry.
    void UserChoosesLastEntry() { QTest::keyClick(&box_, Qt::Key_End); }

    TempDir dir_;
    QComboBox box_;
    TProfileSelection selection_{&box_, ProfilePath(), SkinPath()};
};

TEST_F(ProfileSelectionTest, ListsTheFamilysProfilesThenAddMyProfile) {
    WritePsp(1);
    selection_.SelectDeviceFamily(1);
    EXPECT_EQ(Entries(), QStringList({kPspLine, "second", "third", "Add my profile..."}));
    EXPECT_EQ(box_.currentIndex(), 1);
    EXPECT_FALSE(box_.isEditable());
}

TEST_F(ProfileSelectionTest, LongLinesShowWholeInTheDropDownAndAsTooltips) {
    WritePsp(0);
    box_.resize(120, 21);
    selection_.SelectDeviceFamily(1);
    const int lineWidth = QFontMetrics(box_.view()->font()).horizontalAdvance(kPspLine);
    EXPECT_GT(box_.view()->minimumWidth(), lineWidth);
    EXPECT_EQ(box_.toolTip(), kPspLine);
    EXPECT_EQ(box_.itemData(0, Qt::ToolTipRole).toString(), kPspLine);
    // The tooltip follows the choice.
    box_.setCurrentIndex(2);
    EXPECT_EQ(box_.toolTip(), "third");
}

TEST_F(ProfileSelectionTest, WrappedCountListsTheKeysBelowTheBoundWithTheirNumbers) {
    // -2147483649 reads as 2147483647: asking for every key up to it froze the window.
    WriteProfiles("[psp]\nProfileCount=-2147483649\nProfile3=first\nProfile1000=beyond\n");
    selection_.SelectDeviceFamily(1);
    EXPECT_EQ(Entries(), QStringList({"first", "Add my profile..."}));
    EXPECT_EQ(selection_.ProfileNumberAt(0), 3);
    EXPECT_EQ(selection_.ProfileNumberAt(1), -1);
}

TEST_F(ProfileSelectionTest, DefaultIndexAtTheEndChoosesAddMyProfileAndBeyondChoosesNothing) {
    WritePsp(3);
    selection_.SelectDeviceFamily(1);
    EXPECT_EQ(box_.currentText(), TProfileSelection::AddMyProfile);
    WritePsp(4);
    selection_.FillProfileList();
    EXPECT_EQ(box_.currentIndex(), -1);
    WritePsp(-1);
    selection_.FillProfileList();
    EXPECT_EQ(box_.currentIndex(), -1);
}

TEST_F(ProfileSelectionTest, ChoosingAFamilySetsExtensionAndContainer) {
    selection_.SelectDeviceFamily(1);
    EXPECT_EQ(selection_.State().OutputExt, QStringLiteral(".MP4"));
    EXPECT_EQ(selection_.State().OutputFormat, QStringLiteral("psp"));
    selection_.SelectDeviceFamily(0);
    EXPECT_EQ(selection_.State().OutputExt, QStringLiteral(".3gp"));
    EXPECT_EQ(selection_.State().OutputFormat, QStringLiteral("3gp"));
    selection_.SelectDeviceFamily(2);
    EXPECT_EQ(selection_.State().OutputFormat, QStringLiteral("mp4"));
}

TEST_F(ProfileSelectionTest, UnknownFamilyListsTheUnnamedSectionAndKeepsTheOutput) {
    WriteProfiles(
        "[]\nProfileCount=1\nProfile0=nameless\n[psp]\nProfileCount=1\nProfile0=psp one\n");
    selection_.SelectDeviceFamily(1);
    selection_.SelectDeviceFamily(9);
    EXPECT_EQ(Entries(), QStringList({"nameless", "Add my profile..."}));
    EXPECT_EQ(selection_.State().DeviceFamily, 9);
    EXPECT_EQ(selection_.State().OutputFormat, QStringLiteral("psp"));
}

TEST_F(ProfileSelectionTest, FamilyPictureIsLoadedWhenPresentAndClearedOtherwise) {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(SkinPath() + QStringLiteral("psp.jpg"), "JPEG"));
    dir_.Write(QStringLiteral("Skin/ipod.jpg"), "this is no picture");

    selection_.SelectDeviceFamily(1);
    EXPECT_EQ(selection_.State().DevicePicture.size(), QSize(40, 30));
    selection_.SelectDeviceFamily(2);  // damaged
    EXPECT_TRUE(selection_.State().DevicePicture.isNull());
    selection_.SelectDeviceFamily(1);
    selection_.SelectDeviceFamily(4);  // missing
    EXPECT_TRUE(selection_.State().DevicePicture.isNull());
}

TEST_F(ProfileSelectionTest, AddMyProfileThenSavingSelectsTheNewProfile) {
    WritePsp(0);
    selection_.SelectDeviceFamily(1);
    int32_t askedFamily = -1;
    selection_.SetNewProfileEditor([&](int32_t family) {
        askedFamily = family;
        ASSERT_TRUE(TProfileFile(ProfilePath())
                        .AppendProfile(QStringLiteral("psp"), QStringLiteral("mine")));
    });
    UserChoosesLastEntry();
    selection_.ProfileEditorClosed(true);
    EXPECT_EQ(askedFamily, 1);
    EXPECT_EQ(box_.count(), 5);
    EXPECT_EQ(box_.currentText(), QStringLiteral("mine"));
}

TEST_F(ProfileSelectionTest, AddMyProfileThenCancellingSelectsTheLastExistingProfile) {
    WritePsp(0);
    selection_.SelectDeviceFamily(1);
    selection_.SetNewProfileEditor([](int32_t) {});
    UserChoosesLastEntry();
    selection_.ProfileEditorClosed(false);
    EXPECT_EQ(box_.currentText(), QStringLiteral("third"));
}

TEST_F(ProfileSelectionTest, WithoutProfilesCancellingStaysOnAddMyProfile) {
    int asked = 0;
    selection_.SetNewProfileEditor([&](int32_t) { ++asked; });
    selection_.SelectDeviceFamily(0);
    EXPECT_EQ(box_.currentIndex(), 0);
    EXPECT_EQ(asked, 0);  // selecting from the program is no user's choice
    box_.setCurrentIndex(-1);
    UserChoosesLastEntry();
    selection_.ProfileEditorClosed(false);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(box_.currentText(), TProfileSelection::AddMyProfile);
}

TEST_F(ProfileSelectionTest, EditingHandsOverTheChosenPositionAndRefillsAfterSaving) {
    WritePsp(0);
    selection_.SelectDeviceFamily(1);
    box_.setCurrentIndex(2);
    int position = -2;
    selection_.SetProfileEditor([&](int32_t, int at) {
        position = at;
        ASSERT_TRUE(TProfileFile(ProfilePath())
                        .WriteProfile(QStringLiteral("psp"), at, QStringLiteral("changed")));
    });
    selection_.EditSelectedProfile();
    selection_.ProfileEditorClosed(true);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(box_.itemText(2), QStringLiteral("changed"));
    EXPECT_EQ(box_.currentIndex(), 0);  // back to DefaultIndex
}

TEST_F(ProfileSelectionTest, ApplyingTakesTheChosenLineApart) {
    WritePsp(0);
    selection_.SelectDeviceFamily(1);
    ConvertSettings settings;
    ASSERT_TRUE(selection_.ApplySelectedProfile(settings));
    EXPECT_EQ(selection_.State().OutputWidth, 368);
    EXPECT_EQ(selection_.State().OutputHeight, 208);
    EXPECT_EQ(settings.Format, QStringLiteral("psp"));
    EXPECT_EQ(settings.SampleRate, QStringLiteral("48000"));
}

TEST_F(ProfileSelectionTest, ApplyingRefusesAddMyProfileWithAMessage) {
    selection_.SelectDeviceFamily(4);
    TModalAnswerer answerer;
    ConvertSettings settings;
    EXPECT_FALSE(selection_.ConfirmProfileChosen());
    EXPECT_FALSE(selection_.ApplySelectedProfile(settings));
    EXPECT_EQ(answerer.Captions(), QStringList({"Information", "Information"}));
    EXPECT_EQ(answerer.Texts().value(1), QStringLiteral("Please select a Output Porfiles!"));
    EXPECT_TRUE(settings.FrameSize.isEmpty());
}

TEST_F(ProfileSelectionTest, ApplyingWithNothingChosenFailsSilently) {
    WritePsp(7);
    selection_.SelectDeviceFamily(1);
    TModalAnswerer answerer;
    ConvertSettings settings;
    EXPECT_TRUE(selection_.ConfirmProfileChosen());
    EXPECT_FALSE(selection_.ApplySelectedProfile(settings));
    EXPECT_TRUE(answerer.Texts().isEmpty());
}

}  // namespace
