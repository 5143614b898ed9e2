// The progress window showing its run against a stand-in library: the test plays the library's
// part, calling the info callback from a thread of its own and posting message 1212.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <optional>
#include <thread>

#include "app/convertsettings.h"
#include "app/pubfunction.h"
#include "conversion/progresswindow.h"
#include "platform/filesystem.h"
#include "platform/messagemap.h"
#include "platform/urlcatcher.h"
#include "runfixtures.h"
#include "skin/dynamicimagebutton.h"
#include "skin/image.h"
#include "support/modalanswerer.h"
#include "support/tempdir.h"

using namespace runfixtures;

namespace {

void Mp4Target(ConvertSettings& settings, TConvertTarget& target) {
    settings.VideoCodec = QStringLiteral("mpeg4");
    settings.FrameSize = QStringLiteral("320x240");
    target.OutputExt = QStringLiteral(".MP4");
    target.OutputWidth = 320;
    target.OutputHeight = 240;
}

class ProgressWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseFakeLibrary();
        savedWork_ = path_Work;
        savedHome_ = qgetenv("HOME");
        path_Work = out_.Path();
        window_.PrepareRun(&clips_, [this](ConvertSettings& settings, TConvertTarget& target) {
            Mp4Target(settings, target);
            return profileChosen_;
        });
    }
    void TearDown() override {
        path_Work = savedWork_;
        qputenv("HOME", savedHome_);
    }

    void AddClips(int count, int32_t start = 0, int32_t stop = 10) {
        for (int i = 0; i < count; ++i) {
            clips_.Add(sources_.Path() + QStringLiteral("clip%1.avi").arg(i), start, stop);
        }
    }
    // Starts a run the way the user does: reset on opening, then TB_Start.
    void Start() {
        window_.ShowModal();
        window_.TB_StartClick();
    }
    // The library ending the clip being converted: message 1212 through the run's handle.
    void EndClip() {
        DeroPostMessage(window_.Run().Handle(), WM_CONVERT_NEXT, 0, 0);
        QCoreApplication::sendPostedEvents();
    }
    int Converts() const { return static_cast<int>(Fake().calls.count(QStringLiteral("_X"))); }

    TEntryOverride entries_;
    TempDir out_;
    TempDir sources_;
    QString savedWork_;
    QByteArray savedHome_;
    TVectorClips clips_;
    bool profileChosen_ = true;
    TProgressWindow window_;
    UrlCatcher desktop_;
};

TEST_F(ProgressWindowTest, TheFormHoldsItsControlsForTheSkin) {
    EXPECT_EQ(window_.size(), QSize(546, 346));
    EXPECT_TRUE(window_.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window_.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(window_.objectName(), QStringLiteral("ProgressWindow"));
    const std::pair<QLabel*, const char*> captions[] = {{window_.Label1, "Current Clip :"},
                                                        {window_.Label2, "Destination Name :"},
                                                        {window_.Label5, "Start Time :"},
                                                        {window_.Label6, "Stop Time :"},
                                                        {window_.Label3, "Total Length :"},
                                                        {window_.Label4, "Current Time :"},
                                                        {window_.Label10, "%"},
                                                        {window_.Label9, "%"}};
    for (const auto& [label, caption] : captions) {
        EXPECT_EQ(label->text(), QLatin1String(caption));
    }
    EXPECT_EQ(window_.Panel_Progress->size(), QSize(280, 33));
    EXPECT_FALSE(window_.Panel_Progress->isEnabled());
    EXPECT_TRUE(window_.Edit_WorkingFolder->isReadOnly());
    for (QWidget* inside :
         {static_cast<QWidget*>(window_.Img_Progress), static_cast<QWidget*>(window_.Img_CP),
          static_cast<QWidget*>(window_.Img_TP)}) {
        EXPECT_EQ(inside->parentWidget(), window_.Panel_Progress);
    }
    EXPECT_TRUE(window_.Img_CP->Transparent());
    EXPECT_TRUE(window_.Img_TP->Transparent());
    EXPECT_FALSE(window_.Img_Background->isEnabled());

    // The fills lie above the grooves they slide over, and the percent labels above both, in the
    // order they were brought to the front.
    const QObjectList stack = window_.Panel_Progress->children();
    ASSERT_GE(stack.size(), 4);
    EXPECT_LT(stack.indexOf(window_.Img_Progress), stack.indexOf(window_.Img_CP));
    EXPECT_LT(stack.indexOf(window_.Img_Progress), stack.indexOf(window_.Img_TP));
    EXPECT_EQ(stack.mid(stack.size() - 4),
              QObjectList({window_.Label_CP, window_.Label_TP, window_.Label10, window_.Label9}));
    // The disabled panel still shows its percentages in the normal text colour.
    const QPalette& percent = window_.Label_CP->palette();
    EXPECT_EQ(percent.color(QPalette::Disabled, QPalette::WindowText),
              percent.color(QPalette::Active, QPalette::WindowText));

    QStringList keys;
    for (const TSkinComponent& component : window_.SkinComponents()) {
        keys << component.control->objectName();
    }
    EXPECT_EQ(keys, QStringList({"Img_Background", "Img_Progress", "Img_CP", "Img_TP", "TB_Start",
                                 "TB_Stop", "TB_Close", "TB_Browse"}));
}

TEST_F(ProgressWindowTest, OpeningResetsTheWindow) {
    AddClips(2);
    path_Work = out_.Path() + QStringLiteral("plain");
    window_.Label_SrcName->setText(QStringLiteral("old"));
    window_.SetProgress(60);
    window_.ShowModal();

    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(path_Work, out_.Path() + QStringLiteral("plain/"));
    EXPECT_EQ(window_.Edit_WorkingFolder->text(), path_Work);
    EXPECT_TRUE(window_.Label_SrcName->text().isEmpty());
    EXPECT_EQ(window_.Label_CurrentTime->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(window_.Run().ClipCount(), 2);
    EXPECT_EQ(window_.Label_CP->text(), QStringLiteral("0"));
    EXPECT_EQ(window_.Img_CP->x(), -280);
    EXPECT_EQ(window_.Img_TP->x(), -280);
    EXPECT_FALSE(window_.TB_Start->isHidden());
    EXPECT_TRUE(window_.TB_Stop->isHidden());
}

TEST_F(ProgressWindowTest, StartHandsTheCallbacksOverAndConvertsTheFirstClip) {
    clips_.Add(sources_.Path() + QStringLiteral("holiday.avi"), 65, 190);
    Start();

    EXPECT_EQ(Fake().calls, QStringList({"info", "percent", "_X"}));
    EXPECT_EQ(Fake().outputs, QStringList({out_.Path() + QStringLiteral("holiday.MP4")}));
    EXPECT_TRUE(window_.Run().Converting());
    EXPECT_FALSE(window_.Run().UserStopped());
    EXPECT_TRUE(window_.TB_Start->isHidden());
    EXPECT_FALSE(window_.TB_Stop->isHidden());
    EXPECT_EQ(window_.Label_SrcName->text(), QStringLiteral("holiday.avi"));
    EXPECT_EQ(window_.Label_DesName->text(), QStringLiteral("holiday.MP4"));
    EXPECT_EQ(window_.Label_StartTime->text(), QStringLiteral("00:01:05"));
    EXPECT_EQ(window_.Label_StopTime->text(), QStringLiteral("00:03:10"));
    EXPECT_EQ(window_.Label_Length->text(), QStringLiteral("00:02:05"));
    EXPECT_EQ(window_.Run().ClipStart(), 65);
    EXPECT_EQ(window_.Run().ClipLength(), 125);
}

TEST_F(ProgressWindowTest, TheWholeRunBarCountsFinishedClips) {
    AddClips(4);
    Start();
    EndClip();
    ASSERT_EQ(window_.Run().ConvertIndex(), 1);
    window_.Run().InfoText(
        QStringLiteral("frame=  125 fps= 50 q=2.0 size=  512kB time=5.00 bitrate= 838.9kbits/s"));

    EXPECT_EQ(window_.Label_CP->text(), QStringLiteral("50"));
    EXPECT_EQ(window_.Label_TP->text(), QStringLiteral("37"));
    EXPECT_EQ(window_.Img_CP->x(), 50 * 280 / 100 - 280);
    EXPECT_EQ(window_.Img_TP->x(), 37 * 280 / 100 - 280);
}

TEST_F(ProgressWindowTest, TheCurrentTimeIsTheClipStartPlusTheSecondsConverted) {
    clips_.Add(sources_.Path() + QStringLiteral("a.avi"), 30, 70);
    Start();
    window_.Run().InfoText(
        QStringLiteral("frame=  250 size= 1024kB time=10.00 bitrate= 838.9kbits/s"));
    EXPECT_EQ(window_.Label_CP->text(), QStringLiteral("25"));
    EXPECT_EQ(window_.Label_CurrentTime->text(), QStringLiteral("00:00:40"));

    // A time beyond the clip's length plus one second is not believed.
    window_.Run().InfoText(QStringLiteral("time=41.50 bitrate= 1.0kbits/s"));
    EXPECT_EQ(window_.Label_CP->text(), QStringLiteral("25"));

    // Without "bitrate" the text reads as 0 s: back to the clip's start.
    window_.Run().InfoText(QStringLiteral("frame=  250 size= 1024kB time=10.00"));
    EXPECT_EQ(window_.Label_CP->text(), QStringLiteral("0"));
    EXPECT_EQ(window_.Label_CurrentTime->text(), QStringLiteral("00:00:30"));
}

TEST_F(ProgressWindowTest, AClipOfLengthZeroStaysAtZeroPercent) {
    clips_.Add(sources_.Path() + QStringLiteral("a.avi"), 5, 5);
    Start();
    window_.Run().InfoText(QStringLiteral("time=0.60 bitrate= 1.0kbits/s"));
    EXPECT_EQ(window_.Label_CP->text(), QStringLiteral("0"));
    EXPECT_EQ(window_.Label_CurrentTime->text(), QStringLiteral("00:00:05"));
    window_.Run().InfoText(QStringLiteral("time=1.00 bitrate= 1.0kbits/s"));
    window_.Run().InfoText(QStringLiteral("time=2.00 bitrate= 1.0kbits/s"));
    EXPECT_EQ(window_.Label_CurrentTime->text(), QStringLiteral("00:00:05"));
}

TEST_F(ProgressWindowTest, TextsFromTheLibrarysThreadReachTheWindowOnItsOwnThread) {
    AddClips(1, 0, 100);
    Start();
    ASSERT_TRUE(Fake().info);
    const QThread* uiThread = QThread::currentThread();
    int wrongThread = 0;
    QStringList seen;
    QObject::connect(&window_.Run().Relay(), &TProgressRelay::Text, &window_,
                     [&](const QString& text) {
                         wrongThread += QThread::currentThread() != uiThread;
                         seen << text;
                     });
    std::thread worker([info = Fake().info] {
        for (int second = 0; second <= 60; ++second) {
            info(QStringLiteral("frame= 1 time=%1.00 bitrate= 1.0kbits/s").arg(second).toUtf8());
        }
    });
    worker.join();
    EndClip();

    EXPECT_EQ(wrongThread, 0);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.last(), QStringLiteral("frame= 1 time=60.00 bitrate= 1.0kbits/s"));
    EXPECT_LT(seen.size(), 61) << "a burst is coalesced";
}

TEST_F(ProgressWindowTest, CloseIsRefusedWhileConvertingAndStopEndsTheRun) {
    AddClips(3);
    Start();
    EndClip();  // the first clip is written
    TModalAnswerer answerer;
    window_.TB_CloseClick();
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(answerer.Texts(), QStringList({"Converting clips now!\nPlease stop it first!"}));

    window_.TB_StopClick();
    EXPECT_TRUE(window_.Run().UserStopped());
    EXPECT_EQ(Fake().calls.last(), QStringLiteral("stop"));
    EndClip();

    EXPECT_FALSE(window_.Run().Converting());
    ASSERT_EQ(Fake().outputs.size(), 2) << "no clip after the stop";
    EXPECT_TRUE(FileExists(Fake().outputs.at(0)));
    EXPECT_FALSE(FileExists(Fake().outputs.at(1))) << "the partial file is deleted";
    EXPECT_EQ(answerer.Texts().last(), QStringLiteral("Stop converting process by user!"));
    EXPECT_TRUE(desktop_.opened.isEmpty()) << "a stopped run opens no folder";

    QSignalSpy closed(&window_, &TProgressWindow::Closed);
    window_.TB_CloseClick();
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(closed.count(), 1);
}

// The texts of the message boxes on screen, bottom one first.
QStringList OpenBoxTexts() {
    QStringList texts;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
            texts << box->text();
        }
    }
    return texts;
}

TEST_F(ProgressWindowTest, ABoxStillOpenWhenTheRunEndsIsClosedBeforeTheEndsBox) {
    AddClips(2);
    Start();
    QStringList openAtTheEnd;
    QStringList openAfterwards;
    std::optional<TModalAnswerer> answerer;
    // Runs inside the refusal's box: the user stops the run and it ends while that box is open.
    QTimer::singleShot(0, &window_, [&] {
        // A real timer, so that it fires in the box of the run's end: a zero one would be a
        // posted call, and EndClip delivers those.
        QTimer::singleShot(10, &window_, [&] {
            openAtTheEnd = OpenBoxTexts();
            answerer.emplace();
        });
        window_.TB_StopClick();
        EndClip();
        openAfterwards = OpenBoxTexts();
    });
    window_.TB_CloseClick();

    EXPECT_EQ(openAtTheEnd, QStringList({"Stop converting process by user!"}))
        << openAtTheEnd.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(openAfterwards.isEmpty()) << openAfterwards.join('|').toStdString();
    EXPECT_TRUE(OpenBoxTexts().isEmpty());
    EXPECT_FALSE(window_.Run().Converting());
    EXPECT_TRUE(window_.isVisible()) << "the refused close stays refused";
}

TEST_F(ProgressWindowTest, AFinishedRunShowsAllAndOpensTheFolder) {
    AddClips(2);
    Start();
    EndClip();
    EndClip();
    EXPECT_FALSE(window_.Run().Converting());
    EXPECT_EQ(window_.Label_CP->text(), QStringLiteral("100"));
    EXPECT_EQ(window_.Label_TP->text(), QStringLiteral("100"));
    EXPECT_EQ(window_.Img_TP->x(), 0);
    EXPECT_EQ(window_.Label_CurrentTime->text(), QStringLiteral("00:00:10"));
    EXPECT_FALSE(window_.TB_Start->isHidden());
    ASSERT_EQ(desktop_.opened.size(), 1);
    EXPECT_EQ(desktop_.opened.first().toLocalFile(), out_.Path());
    EXPECT_EQ(window_.Run().Report().Count(TRunReport::TOutcome::Written), 2);
}

TEST_F(ProgressWindowTest, AFailedClipIsNamedAndTheRunGoesOn) {
    AddClips(3);
    Start();
    EndClip();
    // The library's end of a failed clip: its "error:" line, no file, then the message.
    QFile::remove(Fake().outputs.at(1));
    window_.Run().InfoText(QStringLiteral("error: clip1.avi: no video stream can be decoded"));
    TModalAnswerer answerer;
    EndClip();
    EndClip();

    EXPECT_EQ(Fake().outputs.size(), 3);
    ASSERT_EQ(answerer.Texts().size(), 1);
    EXPECT_EQ(answerer.Captions().first(), QStringLiteral("Information"));
    EXPECT_TRUE(answerer.Texts().first().contains(
        QStringLiteral("clip1.avi: clip1.avi: no video stream can be decoded")));
    EXPECT_FALSE(answerer.Texts().first().contains(QStringLiteral("clip0")));
    EXPECT_EQ(desktop_.opened.size(), 1) << "two files were written";
    EXPECT_EQ(window_.Run().Report().Count(TRunReport::TOutcome::Failed), 1);
}

TEST_F(ProgressWindowTest, ARunThatWritesNothingOpensNoFolder) {
    AddClips(2);
    Fake().writeFiles = false;
    TModalAnswerer answerer;
    Start();
    EndClip();
    EndClip();
    EXPECT_TRUE(desktop_.opened.isEmpty());
    ASSERT_EQ(answerer.Texts().size(), 1);
    EXPECT_TRUE(answerer.Texts().first().contains(QStringLiteral("no output file was written")));
}

TEST_F(ProgressWindowTest, TwoClipsOfOneSourceGetTwoFiles) {
    clips_.Add(sources_.Path() + QStringLiteral("clip.avi"), 0, 5);
    clips_.Add(sources_.Path() + QStringLiteral("clip.avi"), 5, 10);
    Start();
    EndClip();
    EndClip();
    EXPECT_EQ(Fake().outputs, QStringList({out_.Path() + QStringLiteral("clip.MP4"),
                                           out_.Path() + QStringLiteral("clip1.MP4")}));
}

TEST_F(ProgressWindowTest, BrowseIsIgnoredDuringARun) {
    AddClips(1);
    Start();
    window_.TB_BrowseClick();
    EXPECT_EQ(window_.FolderDialog(), nullptr);
}

TEST_F(ProgressWindowTest, BrowseSetsTheOutputFolder) {
    window_.ShowModal();
    window_.TB_BrowseClick();
    QFileDialog* dialog = window_.FolderDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Please select \"Output Folder\" :"));
    EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(dialog->isVisible());
    const QString chosen = sources_.Path() + QStringLiteral("picked");
    emit dialog->fileSelected(chosen);
    dialog->close();
    EXPECT_EQ(path_Work, chosen + '/');
    EXPECT_EQ(window_.Edit_WorkingFolder->text(), chosen + '/');
}

TEST_F(ProgressWindowTest, StartMakesAMissingOutputFolder) {
    AddClips(1);
    path_Work = out_.Path() + QStringLiteral("made/");
    Start();
    EXPECT_TRUE(FolderExists(path_Work));
    EXPECT_EQ(path_Work, out_.Path() + QStringLiteral("made/"));
    EXPECT_EQ(Converts(), 1);
}

TEST_F(ProgressWindowTest, AnUncreatableFolderFallsBackToTheDefault) {
    AddClips(1);
    // Each reading two seconds on: the second Start below is past the second after a run's end
    // in which a Start is ignored.
    int64_t now = 0;
    window_.Run().SetClock([&now] { return now += 2000; });
    // A plain file as the parent: no user, root included, can make a folder inside it.
    const QString blocker = out_.Write(QStringLiteral("blocker"), "x");
    path_Work = blocker + QStringLiteral("/out/");
    qputenv("HOME", sources_.Path().toUtf8());
    Start();
    EXPECT_EQ(path_Work, DefaultWorkFolder());
    EXPECT_TRUE(FolderExists(path_Work));
    EXPECT_EQ(window_.Edit_WorkingFolder->text(), path_Work);
    EXPECT_EQ(Converts(), 1);

    // A relative folder has no one meaning: the default takes its place, nothing is made.
    EndClip();
    const QString before = QDir::currentPath();
    QDir::setCurrent(out_.Path());
    path_Work = QStringLiteral("file:/");
    Start();
    QDir::setCurrent(before);
    EXPECT_EQ(path_Work, DefaultWorkFolder());
    EXPECT_FALSE(QFileInfo::exists(out_.Path() + QStringLiteral("file:")));
}

TEST_F(ProgressWindowTest, NoRunWhenTheFallbackCannotBeMadeEither) {
    AddClips(1);
    const QString blocker = out_.Write(QStringLiteral("blocker"), "x");
    path_Work = blocker + QStringLiteral("/out/");
    qputenv("HOME", blocker.toUtf8());
    TModalAnswerer answerer;
    Start();
    EXPECT_EQ(answerer.Texts(), QStringList({"Can not create output folder!"}));
    EXPECT_EQ(answerer.Captions(), QStringList({"Error"}));
    EXPECT_EQ(Converts(), 0);
    EXPECT_FALSE(window_.Run().Converting());
}

TEST_F(ProgressWindowTest, NoRunWithoutClipsOrProfile) {
    TModalAnswerer answerer;
    Start();
    EXPECT_EQ(answerer.Texts(),
              QStringList({"No clip to convert!\nPlease add clip to list, then convert it!"}));
    AddClips(1);
    profileChosen_ = false;
    window_.TB_StartClick();
    EXPECT_EQ(answerer.Texts().size(), 1) << "the profile's reader speaks for itself";
    EXPECT_EQ(Converts(), 0);
    EXPECT_FALSE(window_.Run().Converting());
    EXPECT_FALSE(window_.TB_Start->isHidden());
}

TEST_F(ProgressWindowTest, AStrayNextMessageFindsNoRun) {
    AddClips(2);
    window_.ShowModal();
    int ended = 0;
    QObject::connect(&window_.Run(), &TConversionRun::ClipEnded, [&] { ++ended; });
    EXPECT_EQ(SendMessage(&window_.Run(), WM_CONVERT_NEXT), 1) << "1212 is the run's message";
    EndClip();
    EXPECT_EQ(Converts(), 0);
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(desktop_.opened.isEmpty());
}

TEST_F(ProgressWindowTest, TheRelayLetsGoBeforeTheLibraryIsUninitialised) {
    AddClips(1);
    {
        TProgressWindow window;
        window.PrepareRun(&clips_, [](ConvertSettings&, TConvertTarget&) { return false; });
        window.TB_StartClick();
        EXPECT_TRUE(window.Run().Relay().Registered());
    }
    EXPECT_EQ(Fake().calls.mid(Fake().calls.size() - 2),
              QStringList({"info-null", "percent-null"}));
    // A conversion that copied the old callback may still call it: the text is dropped.
    EXPECT_EQ(TProgressRelay::InfoCallback("time=1.00 bitrate=1"), 0);
}

}  // namespace
