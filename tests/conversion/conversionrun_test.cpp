// The conversion run on its own, without a window, against the stand-in library: the test posts
// message 1212 through the run's handle as the library's worker does.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <thread>

#include "app/convertsettings.h"
#include "app/pubfunction.h"
#include "conversion/conversionrun.h"
#include "conversion/sleepinhibitor.h"
#include "platform/filesystem.h"
#include "platform/urlcatcher.h"
#include "runfixtures.h"
#include "support/tempdir.h"

using namespace runfixtures;

namespace {

const char* OutcomeName(TRunReport::TOutcome outcome) {
    switch (outcome) {
        case TRunReport::TOutcome::Written:
            return "written";
        case TRunReport::TOutcome::Failed:
            return "failed";
        case TRunReport::TOutcome::Stopped:
            return "stopped";
    }
    return "?";
}

class ConversionRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseFakeLibrary();
        savedWork_ = path_Work;
        path_Work = out_.Path();
        run_.Prepare(&clips_, [this](ConvertSettings& settings, TConvertTarget& target) {
            settings.VideoCodec = QStringLiteral("mpeg4");
            target.OutputExt = QStringLiteral(".MP4");
            return profileChosen_;
        });
        Record();
    }
    void TearDown() override { path_Work = savedWork_; }

    // Everything the run says, in the order it says it.
    void Record() {
        QObject::connect(&run_, &TConversionRun::Cleared, [this] { events_ << "cleared"; });
        QObject::connect(&run_, &TConversionRun::Started, [this] { events_ << "started"; });
        QObject::connect(&run_, &TConversionRun::ClipStarted, [this](const ConvertSettings& s) {
            events_ << "clip " + QFileInfo(s.InputFile).fileName();
        });
        QObject::connect(
            &run_, &TConversionRun::ClipEnded,
            [this](int32_t index, const TRunReport::TClip& clip) {
                events_ << QStringLiteral("ended %1 %2").arg(index).arg(OutcomeName(clip.Outcome));
            });
        QObject::connect(&run_, &TConversionRun::Finished, [this](bool stopped) {
            events_ << (stopped ? "finished stopped" : "finished");
        });
        QObject::connect(&run_, &TConversionRun::Tell, [this](TMessageKind, const QString& text) {
            told_ << text;
            events_ << "tell";
        });
        QObject::connect(&run_, &TConversionRun::Progress, [this](int32_t clip, int32_t total) {
            progress_ = {clip, total};
        });
        QObject::connect(&run_, &TConversionRun::CurrentTime,
                         [this](int32_t seconds) { currentTime_ = seconds; });
    }
    void AddClips(int count, int32_t start = 0, int32_t stop = 10) {
        for (int i = 0; i < count; ++i) {
            clips_.Add(sources_.Path() + QStringLiteral("clip%1.avi").arg(i), start, stop);
        }
    }
    void EndClip() {
        DeroPostMessage(run_.Handle(), WM_CONVERT_NEXT, 0, 0);
        QCoreApplication::sendPostedEvents();
    }
    int Converts() const { return static_cast<int>(Fake().calls.count(QStringLiteral("_X"))); }

    TEntryOverride entries_;
    TempDir out_;
    TempDir sources_;
    QString savedWork_;
    TVectorClips clips_;
    bool profileChosen_ = true;
    TConversionRun run_;
    UrlCatcher desktop_;
    QStringList events_;
    QStringList told_;
    std::pair<int32_t, int32_t> progress_{-1, -1};
    int32_t currentTime_ = -1;
};

TEST_F(ConversionRunTest, EveryClipIsConvertedInListOrderAndItsOutcomeSignalled) {
    AddClips(3, 5, 15);
    events_.clear();
    ASSERT_TRUE(run_.Start());
    EndClip();
    EndClip();
    EndClip();

    EXPECT_EQ(events_, QStringList({"cleared", "started", "clip clip0.avi", "ended 0 written",
                                    "clip clip1.avi", "ended 1 written", "clip clip2.avi",
                                    "ended 2 written", "finished"}));
    EXPECT_EQ(Fake().outputs, QStringList({out_.Path() + "clip0.MP4", out_.Path() + "clip1.MP4",
                                           out_.Path() + "clip2.MP4"}));
    EXPECT_FALSE(run_.Converting());
    EXPECT_EQ(run_.Report().Count(TRunReport::TOutcome::Written), 3);
    // The end shows the whole run done, at the last clip's stop time.
    EXPECT_EQ(progress_, std::make_pair(100, 100));
    EXPECT_EQ(currentTime_, 15);
    ASSERT_EQ(desktop_.opened.size(), 1);
    EXPECT_EQ(desktop_.opened.first().toLocalFile(), out_.Path());
    EXPECT_FALSE(run_.Inhibitor().Wanted());
}

TEST_F(ConversionRunTest, AStopEndsTheRunAndRemovesOnlyTheUnfinishedFile) {
    AddClips(3);
    ASSERT_TRUE(run_.Start());
    EndClip();
    run_.Stop();
    EXPECT_TRUE(run_.UserStopped());
    EXPECT_EQ(Fake().calls.last(), QStringLiteral("stop"));
    EndClip();

    EXPECT_FALSE(run_.Converting());
    ASSERT_EQ(Converts(), 2) << "no clip after the stop";
    EXPECT_TRUE(FileExists(Fake().outputs.at(0)));
    EXPECT_FALSE(FileExists(Fake().outputs.at(1)));
    EXPECT_EQ(events_.mid(events_.size() - 3),
              QStringList({"ended 1 written", "finished stopped", "tell"}));
    EXPECT_EQ(told_, QStringList({"Stop converting process by user!"}));
    EXPECT_EQ(run_.Report().Count(TRunReport::TOutcome::Written), 1);
    EXPECT_EQ(run_.Report().Count(TRunReport::TOutcome::Stopped), 1);
    EXPECT_TRUE(desktop_.opened.isEmpty()) << "a stopped run opens no folder";

    // A stop outside a run asks the library for nothing.
    run_.Stop();
    EXPECT_EQ(Fake().calls.count(QStringLiteral("stop")), 1);
}

TEST_F(ConversionRunTest, AFailedClipIsToldWithTheLibrarysWordsAndTheRunGoesOn) {
    AddClips(3);
    ASSERT_TRUE(run_.Start());
    EndClip();
    QFile::remove(Fake().outputs.at(1));
    run_.InfoText(QStringLiteral("error: clip1.avi: no video stream can be decoded"));
    EndClip();
    EndClip();

    EXPECT_TRUE(events_.contains("ended 1 failed"));
    EXPECT_EQ(Converts(), 3);
    ASSERT_EQ(told_.size(), 1);
    EXPECT_EQ(told_.first(),
              QStringLiteral("These clips were not converted:\n"
                             "clip1.avi: clip1.avi: no video stream can be decoded"));
    EXPECT_EQ(desktop_.opened.size(), 1) << "two files were written";
}

TEST_F(ConversionRunTest, TheLastTextOfAClipCountsEvenWhenItArrivesJustBeforeItsEnd) {
    AddClips(1);
    ASSERT_TRUE(run_.Start());
    ASSERT_TRUE(Fake().info);
    QFile::remove(Fake().outputs.at(0));
    // The library's worker says why the clip failed, then posts 1212, both from its own thread.
    std::thread worker([info = Fake().info, handle = run_.Handle()] {
        info("time=1.00 bitrate= 1.0kbits/s");
        info("error: clip0.avi: cannot open");
        DeroPostMessage(handle, WM_CONVERT_NEXT, 0, 0);
    });
    worker.join();
    QCoreApplication::sendPostedEvents();

    EXPECT_FALSE(run_.Converting());
    ASSERT_EQ(run_.Report().Clips().size(), 1u);
    EXPECT_EQ(run_.Report().Clips().front().Reason, QStringLiteral("clip0.avi: cannot open"));
}

TEST_F(ConversionRunTest, ProgressTextsMoveTheClipAndTheWholeRun) {
    AddClips(4, 30, 40);
    ASSERT_TRUE(run_.Start());
    EndClip();
    run_.InfoText(QStringLiteral("frame=  125 size=  512kB time=5.00 bitrate= 838.9kbits/s"));
    EXPECT_EQ(progress_, std::make_pair(50, 37));
    EXPECT_EQ(currentTime_, 35);

    // A time beyond the clip's length plus one second is not believed.
    run_.InfoText(QStringLiteral("time=11.50 bitrate= 1.0kbits/s"));
    EXPECT_EQ(progress_, std::make_pair(50, 37));
    EXPECT_EQ(run_.TotalPercent(100), 50);
}

TEST_F(ConversionRunTest, NothingStartsWithoutAClipAProfileOrAFolder) {
    EXPECT_FALSE(run_.Start());
    EXPECT_EQ(told_,
              QStringList({"No clip to convert!\nPlease add clip to list, then convert it!"}));

    AddClips(1);
    profileChosen_ = false;
    EXPECT_FALSE(run_.Start());
    EXPECT_EQ(told_.size(), 1) << "the profile's reader speaks for itself";

    profileChosen_ = true;
    const QString blocker = out_.Write(QStringLiteral("blocker"), "x");
    path_Work = blocker + QStringLiteral("/out/");
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", blocker.toUtf8());
    EXPECT_FALSE(run_.Start());
    qputenv("HOME", home);
    EXPECT_EQ(told_.last(), QStringLiteral("Can not create output folder!"));

    EXPECT_EQ(Converts(), 0);
    EXPECT_FALSE(run_.Converting());
    EXPECT_FALSE(events_.contains("started"));
}

TEST_F(ConversionRunTest, ASecondStartAndAStrayEndChangeNothing) {
    AddClips(2);
    EndClip();
    EXPECT_EQ(Converts(), 0) << "1212 before a run";
    ASSERT_TRUE(run_.Start());
    EXPECT_FALSE(run_.Start());
    EXPECT_EQ(Converts(), 1);
    EXPECT_EQ(SendMessage(&run_, WM_CONVERT_NEXT + 1), 0) << "only 1212 is the run's";
    EXPECT_EQ(run_.ConvertIndex(), 0);
}

TEST_F(ConversionRunTest, ARunGoneWhileConvertingStopsTheLibraryAndWaitsForIt) {
    AddClips(2);
    {
        TConversionRun run;
        run.Prepare(&clips_, [](ConvertSettings&, TConvertTarget& target) {
            target.OutputExt = QStringLiteral(".MP4");
            return true;
        });
        ASSERT_TRUE(run.Start());
        EXPECT_TRUE(run.Relay().Registered());
        Fake().calls.clear();
    }
    EXPECT_EQ(Fake().calls, QStringList({"stop", "uninit", "info-null", "percent-null"}));

    // One that ended leaves the library alone.
    {
        TConversionRun run;
        run.Prepare(&clips_, nullptr);
        EXPECT_FALSE(run.Start());
        Fake().calls.clear();
    }
    EXPECT_EQ(Fake().calls, QStringList({"info-null", "percent-null"}));
}

}  // namespace
