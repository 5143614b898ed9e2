#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "app/convertsettings.h"
#include "profiles/outputstate.h"
#include "profiles/profilefile.h"
#include "profiles/profileline.h"
#include "profiles/profileselection.h"
#include "profiles/profilewindow.h"
#include "profiles/updown.h"
#include "skin/dynamicimagebutton.h"
#include "skin/image.h"
#include "support/modalanswerer.h"
#include "support/tempdir.h"

namespace {

constexpr int kPsp = 1;

const QByteArray kValueLists =
    "ResolutionCount=3\nResolution0=320x240\nResolution1=368x208\nResolution2=480x272\n"
    "ResolutionIndex=1\n"
    "VideoFrameRateCount=3\nVideoFrameRate0=15\nVideoFrameRate1=23.976\nVideoFrameRate2=29.97\n"
    "VideoFrameRateIndex=2\n"
    "AudioQualityCount=3\nAudioQuality0=64\nAudioQuality1=96\nAudioQuality2=128\n"
    "AudioQualityIndex=2\n"
    "AudioFrameRateCount=2\nAudioFrameRate0=24\nAudioFrameRate1=48\nAudioFrameRateIndex=1\n"
    "DefaultName=My PSP\nDefaultBitRate=500\n";

QByteArray ProfileKey(int n, const char* name) {
    return "Profile" + QByteArray::number(n) + "=" + name +
           " : Video: 320x240, 300 kbps, 15 fps, Audio: 64 kbps, 24 khps, 2 Channels Stereo\n";
}

// Makes a file unwritable for the test's lifetime: by its mode for an ordinary user, and by the
// immutable flag for root, whom the mode does not stop.
class UnwritableFile {
  public:
    explicit UnwritableFile(const QString& path) : path_(QFile::encodeName(path)) {
        if (geteuid() != 0) {
            active_ = chmod(path_.constData(), 0444) == 0;
        } else {
            active_ = SetImmutable(true);
        }
    }
    ~UnwritableFile() {
        if (active_ && geteuid() == 0) {
            SetImmutable(false);
        } else if (active_) {
            chmod(path_.constData(), 0644);
        }
    }
    bool Active() const { return active_; }

  private:
    bool SetImmutable(bool on) const {
        const int fd = open(path_.constData(), O_RDONLY);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return done;
    }

    QByteArray path_;
    bool active_ = false;
};

class ProfileWindowTest : public ::testing::Test {
  protected:
    QString Path() const { return dir_.Path() + TProfileFile::FileName; }
    // A psp section with the given profile keys and count, and the value lists.
    void WritePsp(int count, const QByteArray& profiles) {
        dir_.Write(TProfileFile::FileName, "[psp]\nProfileCount=" + QByteArray::number(count) +
                                               "\n" + profiles + kValueLists);
    }
    void WriteFourPsp() {
        WritePsp(4, ProfileKey(0, "zero") + ProfileKey(1, "one") + ProfileKey(2, "two") +
                        ProfileKey(3, "three"));
    }
    QByteArray FileBytes() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    TProfileFile File() const { return TProfileFile(Path()); }
    QString Psp(int number) const { return File().Profile(QStringLiteral("psp"), number); }
    int PspCount() const { return File().ProfileCount(QStringLiteral("psp")); }
    void Ok() { emit window_.TB_Ok->Click(); }
    // Over the whole text, as a user replaces a number: deleting it first would settle to "1".
    void TypeBitRate(const QString& text) {
        window_.Edit_VideoBitRate->selectAll();
        QTest::keyClicks(window_.Edit_VideoBitRate, text);
    }

    TempDir dir_;
    TProfileWindow window_{Path()};
};

QStringList LabelTexts(const QWidget& parent) {
    QStringList texts;
    for (const QLabel* label : parent.findChildren<QLabel*>()) {
        texts << label->text();
    }
    return texts;
}

QStringList Entries(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries << list->itemText(i);
    }
    return entries;
}

TEST_F(ProfileWindowTest, FormHasItsControlsTextsAndSkinnedParts) {
    EXPECT_EQ(window_.size(), QSize(480, 366));
    EXPECT_TRUE(window_.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window_.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(window_.objectName(), QStringLiteral("ProfileWindow"));
    EXPECT_EQ(window_.Edit_Name->maxLength(), 15);
    EXPECT_EQ(window_.GroupBox1->title(), QStringLiteral(" Video Setting "));
    EXPECT_EQ(window_.GroupBox2->title(), QStringLiteral(" Audio Setting "));
    for (const QGroupBox* box : {window_.GroupBox1, window_.GroupBox2}) {
        EXPECT_TRUE(box->autoFillBackground());
        EXPECT_EQ(box->palette().color(QPalette::Window), QColor(234, 243, 250));
    }
    EXPECT_EQ(LabelTexts(*window_.GroupBox1),
              QStringList({"Video Resolution:", "Width x Height", "Video Quality:", "KB / Second",
                           "Frame Rate:", "Frame / Second"}));
    EXPECT_EQ(
        LabelTexts(*window_.GroupBox2),
        QStringList({"Audio Channels:", "Audio Quality:", "KB / Second", "Frame Rate:", "KHertz"}));
    for (const QLabel* label : window_.findChildren<QLabel*>()) {
        EXPECT_EQ(label->font().family(), QStringLiteral("Tahoma"));
    }
    EXPECT_EQ(window_.ComboBox_AudioFrameRate->font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(Entries(window_.ComboBox_AudioChannel),
              QStringList({"1 Channel Mono", "2 Channels Stereo"}));
    for (const QComboBox* list : window_.findChildren<QComboBox*>()) {
        EXPECT_FALSE(list->isEditable());
    }
    EXPECT_EQ(window_.UpDown->Minimum(), 1);
    EXPECT_EQ(window_.UpDown->Maximum(), 2500);
    EXPECT_EQ(window_.UpDown->Position(), 20);

    QStringList skinned;
    for (const TSkinComponent& component : window_.SkinComponents()) {
        skinned << component.control->objectName();
    }
    EXPECT_EQ(skinned, QStringList({"Img_Background", "TB_Ok", "TB_Cancel", "TB_Close"}));
    EXPECT_FALSE(window_.Img_Background->isEnabled());
    EXPECT_EQ(window_.Img_Background->pos(), QPoint(0, 0));
}

TEST_F(ProfileWindowTest, PreparationFillsTheListsAndProposalsForAnAppend) {
    WriteFourPsp();
    window_.PrepareForFamily(kPsp);
    EXPECT_EQ(window_.Section(), QStringLiteral("psp"));
    EXPECT_EQ(Entries(window_.ComboBox_VideoResolution),
              QStringList({"320x240", "368x208", "480x272"}));
    EXPECT_EQ(window_.ComboBox_VideoResolution->currentText(), QStringLiteral("368x208"));
    EXPECT_EQ(window_.ComboBox_VideoFramerate->currentText(), QStringLiteral("29.97"));
    EXPECT_EQ(window_.ComboBox_AudioBitRate->currentText(), QStringLiteral("128"));
    EXPECT_EQ(window_.ComboBox_AudioFrameRate->currentText(), QStringLiteral("48"));
    EXPECT_EQ(window_.ComboBox_AudioChannel->currentText(), QStringLiteral("2 Channels Stereo"));
    EXPECT_EQ(window_.Edit_Name->text(), QStringLiteral("My PSP"));
    EXPECT_FALSE(window_.Edit_Name->isReadOnly());
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("500"));
    EXPECT_EQ(window_.UpDown->Position(), 500);
    EXPECT_EQ(window_.ProfileNumber(), 4);
    EXPECT_FALSE(window_.Saved());

    // An unknown family keeps the section; an index beyond its list selects nothing.
    dir_.Write(TProfileFile::FileName,
               "[psp]\nResolutionCount=1\nResolution0=320x240\nResolutionIndex=1\n");
    window_.PrepareForFamily(7);
    EXPECT_EQ(window_.Section(), QStringLiteral("psp"));
    EXPECT_EQ(window_.ComboBox_VideoResolution->currentIndex(), -1);
    EXPECT_EQ(window_.Edit_Name->text(), QStringLiteral("DefaultName"));
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("200"));
    EXPECT_EQ(window_.ProfileNumber(), 0);
}

TEST_F(ProfileWindowTest, OkAppendsAtTheCountAndRaisesIt) {
    WriteFourPsp();
    window_.ShowForNewProfile(kPsp);
    QSignalSpy closed(&window_, &TProfileWindow::Closed);
    Ok();
    EXPECT_EQ(Psp(4), QStringLiteral("My PSP : Video: 368x208, 500 kbps, 29.97 fps, Audio: 128 "
                                     "kbps, 48 khps, 2 Channels Stereo"));
    EXPECT_EQ(PspCount(), 5);
    EXPECT_TRUE(window_.Saved());
    EXPECT_FALSE(window_.isVisible());
    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).toBool(), true);
}

TEST_F(ProfileWindowTest, ChangingRewritesItsKeyKeepsTheCountAndTheName) {
    WriteFourPsp();
    window_.ShowForChange(kPsp, 1);
    EXPECT_TRUE(window_.Edit_Name->isReadOnly());
    EXPECT_EQ(window_.Edit_Name->text(), QStringLiteral("one"));
    EXPECT_EQ(window_.ComboBox_VideoResolution->currentText(), QStringLiteral("320x240"));
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("300"));
    EXPECT_EQ(window_.ComboBox_VideoFramerate->currentText(), QStringLiteral("15"));
    EXPECT_EQ(window_.ComboBox_AudioBitRate->currentText(), QStringLiteral("64"));
    EXPECT_EQ(window_.ComboBox_AudioFrameRate->currentText(), QStringLiteral("24"));
    window_.ComboBox_VideoResolution->setCurrentIndex(2);
    Ok();
    EXPECT_EQ(Psp(1), QStringLiteral("one : Video: 480x272, 300 kbps, 15 fps, Audio: 64 kbps, "
                                     "24 khps, 2 Channels Stereo"));
    EXPECT_EQ(Psp(2), QString::fromUtf8(ProfileKey(2, "two").mid(9).trimmed()));
    EXPECT_EQ(PspCount(), 4);
}

TEST_F(ProfileWindowTest, NameLongerThanTheTypingLimitSurvivesAChange) {
    WritePsp(1,
             "Profile0=A name written by hand : Video: 320x240, 300 kbps, 15 fps, Audio: 64 "
             "kbps, 24 khps, 1 Channel Mono\n");
    window_.ShowForChange(kPsp, 0);
    Ok();
    EXPECT_TRUE(Psp(0).startsWith(QStringLiteral("A name written by hand : Video: ")));
    window_.PrepareForFamily(kPsp);
    EXPECT_EQ(window_.Edit_Name->maxLength(), 15);
}

TEST_F(ProfileWindowTest, UpperCaseFrameAndSampleRatesAreNeverFoundAgain) {
    dir_.Write(TProfileFile::FileName,
               "[mp4]\nProfileCount=1\n"
               "Profile0=n : Video: 640X480, 900 kbps, 25P fps, Audio: 96K kbps, 44.1K khps, "
               "2 Channels Stereo\n"
               "ResolutionCount=2\nResolution0=320x240\nResolution1=640X480\n"
               "VideoFrameRateCount=2\nVideoFrameRate0=15\nVideoFrameRate1=25P\n"
               "AudioQualityCount=2\nAudioQuality0=64\nAudioQuality1=96K\n"
               "AudioFrameRateCount=2\nAudioFrameRate0=48\nAudioFrameRate1=44.1K\n");
    window_.ShowForChange(4, 0);
    // Resolution and audio bit rate are compared as they stand ...
    EXPECT_EQ(window_.ComboBox_VideoResolution->currentText(), QStringLiteral("640X480"));
    EXPECT_EQ(window_.ComboBox_AudioBitRate->currentText(), QStringLiteral("96K"));
    // ... frame rate and sample rate lower-cased first, so they keep the preparation's choice.
    EXPECT_EQ(window_.ComboBox_VideoFramerate->currentText(), QStringLiteral("15"));
    EXPECT_EQ(window_.ComboBox_AudioFrameRate->currentText(), QStringLiteral("48"));
}

TEST_F(ProfileWindowTest, BitRateSettlesInsideItsRangeAndTheArrowsCountOn) {
    window_.PrepareForFamily(kPsp);
    TypeBitRate(QStringLiteral("3000"));
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("2500"));
    EXPECT_EQ(window_.UpDown->Position(), 2500);
    window_.UpDown->Step(TUpDown::TButton::Up);
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("2500"));
    window_.UpDown->Step(TUpDown::TButton::Down);
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("2499"));

    window_.Edit_VideoBitRate->selectAll();
    QTest::keyClick(window_.Edit_VideoBitRate, Qt::Key_Delete);
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("1"));
    window_.UpDown->Step(TUpDown::TButton::Down);
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("1"));
    window_.UpDown->Step(TUpDown::TButton::Up);
    window_.UpDown->Step(TUpDown::TButton::Up);
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("3"));

    window_.Edit_VideoBitRate->setText(QStringLiteral("x7"));
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("1"));
    QTest::keyClicks(window_.Edit_VideoBitRate, QStringLiteral("5"));
    EXPECT_EQ(window_.Edit_VideoBitRate->text(), QStringLiteral("15"));
}

TEST_F(ProfileWindowTest, MonoIsSavedAsItsTextAndLoadedBackAsMono) {
    WritePsp(0, "");
    window_.ShowForNewProfile(kPsp);
    window_.ComboBox_AudioChannel->setCurrentIndex(0);
    Ok();
    EXPECT_TRUE(Psp(0).endsWith(QStringLiteral(", 48 khps, 1 Channel Mono")));
    window_.ShowForChange(kPsp, 0);
    EXPECT_EQ(window_.ComboBox_AudioChannel->currentText(), QStringLiteral("1 Channel Mono"));
}

TEST_F(ProfileWindowTest, SavedLineConvertsWithTheValuesChosen) {
    WritePsp(0, "");
    window_.ShowForNewProfile(kPsp);
    window_.ComboBox_VideoResolution->setCurrentIndex(0);
    window_.ComboBox_VideoFramerate->setCurrentIndex(1);
    window_.ComboBox_AudioBitRate->setCurrentIndex(1);
    window_.ComboBox_AudioFrameRate->setCurrentIndex(0);
    window_.ComboBox_AudioChannel->setCurrentIndex(0);
    TypeBitRate(QStringLiteral("640"));
    Ok();

    TOutputState state;
    state.OutputFormat = QStringLiteral("psp");
    ConvertSettings settings;
    ASSERT_TRUE(TakeProfileLineApart(Psp(0), state, settings));
    EXPECT_EQ(state.OutputWidth, 320);
    EXPECT_EQ(state.OutputHeight, 240);
    EXPECT_EQ(settings.FrameSize, QStringLiteral("320x240"));
    EXPECT_EQ(settings.VideoBitRate, QStringLiteral("640"));
    EXPECT_EQ(settings.FrameRate, QStringLiteral("23.976"));
    EXPECT_EQ(settings.AudioBitRate, QStringLiteral("96"));
    EXPECT_EQ(settings.SampleRate, QStringLiteral("24000"));
    EXPECT_EQ(settings.AudioChannels, QStringLiteral("1"));
}

TEST_F(ProfileWindowTest, NameThatWouldSplitTheLineIsRefusedAndTheWindowStays) {
    WritePsp(0, "");
    window_.ShowForNewProfile(kPsp);
    window_.Edit_Name->setText(QStringLiteral("My Audio: x"));
    const QByteArray before = FileBytes();
    TModalAnswerer answerer;
    Ok();
    EXPECT_EQ(answerer.Texts().size(), 1);
    EXPECT_TRUE(answerer.Texts().value(0).contains(QStringLiteral("must not contain")));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_FALSE(window_.Saved());
    EXPECT_TRUE(window_.isVisible());
    window_.Edit_Name->setText(QStringLiteral("  My Audio  "));
    Ok();
    EXPECT_TRUE(Psp(0).startsWith(QStringLiteral("My Audio : Video: ")));
}

TEST_F(ProfileWindowTest, RefusedWriteKeepsTheWindowOpenAndTheFileAsItWas) {
    WriteFourPsp();
    const QByteArray before = FileBytes();
    const UnwritableFile unwritable(Path());
    if (!unwritable.Active()) {
        GTEST_SKIP() << "the file system cannot make the profile file unwritable";
    }
    window_.ShowForNewProfile(kPsp);
    QSignalSpy closed(&window_, &TProfileWindow::Closed);
    TModalAnswerer answerer;
    Ok();
    EXPECT_EQ(answerer.Captions(), QStringList({"Error"}));
    EXPECT_EQ(answerer.Texts().value(0), QStringLiteral("Unable to write to ") + Path());
    EXPECT_FALSE(window_.Saved());
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(ProfileWindowTest, CancelAndCloseLeaveTheFileAndReportNotSaved) {
    WriteFourPsp();
    const QByteArray before = FileBytes();
    QSignalSpy closed(&window_, &TProfileWindow::Closed);
    for (TDynamicImageButton* button : {window_.TB_Cancel, window_.TB_Close}) {
        window_.ShowForChange(kPsp, 2);
        emit button->Click();
        EXPECT_FALSE(window_.isVisible());
    }
    ASSERT_EQ(closed.count(), 2);
    EXPECT_FALSE(closed.at(1).at(0).toBool());
    EXPECT_FALSE(window_.Saved());
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(ProfileWindowTest, HugeOrWrappedCountsReadABoundedList) {
    // -2147483649 wraps to 2147483647 on reading.
    dir_.Write(TProfileFile::FileName,
               "[psp]\nProfileCount=-2147483649\nProfile0=first\nProfile999=last read\n"
               "Profile1000=never read\n"
               "ResolutionCount=2147483647\nResolution5=320x240\n");
    EXPECT_EQ(File().ReadList(QStringLiteral("psp"), QStringLiteral("Profile")),
              QStringList({"first", "last read"}));
    window_.PrepareForFamily(kPsp);
    EXPECT_EQ(Entries(window_.ComboBox_VideoResolution), QStringList({"320x240"}));
    // The list is full: a new profile would go to a key no reader reads.
    TModalAnswerer answerer;
    window_.ShowModal();
    Ok();
    EXPECT_EQ(answerer.Captions(), QStringList({"Error"}));
    EXPECT_FALSE(window_.Saved());
    EXPECT_EQ(Psp(1000), QStringLiteral("never read"));
}

TEST_F(ProfileWindowTest, NegativeCountAppendsWhereTheReadersLook) {
    dir_.Write(TProfileFile::FileName, "[psp]\nProfileCount=-3\n" + kValueLists);
    window_.ShowForNewProfile(kPsp);
    Ok();
    EXPECT_EQ(PspCount(), 1);
    EXPECT_EQ(File().Profiles(QStringLiteral("psp")).size(), 1u);
}

// The editor reached from the main window's profile box, wired the way the main window does.
class ProfileEditingTest : public ProfileWindowTest {
  protected:
    ProfileEditingTest() {
        selection_.SetProfileEditor(
            [this](int32_t family, int number) { window_.ShowForChange(family, number); });
        selection_.SetNewProfileEditor(
            [this](int32_t family) { window_.ShowForNewProfile(family); });
        QObject::connect(&window_, &TProfileWindow::Closed, &selection_,
                         &TProfileSelection::ProfileEditorClosed);
    }
    QComboBox box_;
    TProfileSelection selection_{&box_, Path(), dir_.Path()};
};

TEST_F(ProfileEditingTest, EditAfterAGapRewritesTheKeyTheEntryCameFrom) {
    WritePsp(3, ProfileKey(0, "zero") + ProfileKey(2, "two"));
    selection_.SelectDeviceFamily(kPsp);
    box_.setCurrentIndex(1);  // "two", read from Profile2
    selection_.EditSelectedProfile();
    EXPECT_EQ(window_.Edit_Name->text(), QStringLiteral("two"));
    TypeBitRate(QStringLiteral("700"));
    Ok();
    EXPECT_TRUE(Psp(2).startsWith(QStringLiteral("two : Video: 320x240, 700 kbps")));
    EXPECT_EQ(Psp(1), TProfileFile::NoData);
    EXPECT_EQ(PspCount(), 3);
    EXPECT_TRUE(box_.itemText(1).contains(QStringLiteral("700 kbps")));
}

TEST_F(ProfileEditingTest, EditOnAddMyProfileOrOnNothingComposesANewProfile) {
    WritePsp(3, ProfileKey(0, "zero") + ProfileKey(2, "two"));
    selection_.SelectDeviceFamily(kPsp);
    box_.setCurrentIndex(box_.count() - 1);
    selection_.EditSelectedProfile();
    EXPECT_FALSE(window_.Edit_Name->isReadOnly());
    window_.Edit_Name->setText(QStringLiteral("added"));
    Ok();
    EXPECT_TRUE(Psp(3).startsWith(QStringLiteral("added : ")));
    EXPECT_EQ(PspCount(), 4);
    EXPECT_EQ(box_.count(), 4);

    box_.setCurrentIndex(-1);
    selection_.EditSelectedProfile();
    Ok();
    EXPECT_TRUE(Psp(4).startsWith(QStringLiteral("My PSP : ")));
    EXPECT_EQ(Psp(-1), TProfileFile::NoData);
    EXPECT_EQ(PspCount(), 5);
}

TEST_F(ProfileEditingTest, ChoosingAddMyProfileAndSavingSelectsTheNewProfile) {
    WriteFourPsp();
    selection_.SelectDeviceFamily(kPsp);
    QTest::keyClick(&box_, Qt::Key_End);
    ASSERT_TRUE(window_.isVisible());
    Ok();
    EXPECT_EQ(box_.count(), 6);
    EXPECT_EQ(box_.currentIndex(), 4);
    EXPECT_TRUE(box_.currentText().startsWith(QStringLiteral("My PSP : ")));
}

}  // namespace
