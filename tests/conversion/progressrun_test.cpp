// Whole runs through the progress window with the real encoder library on generated clips; the
// library posts message 1212 through the run's own handle.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QThread>

#include "app/convertsettings.h"
#include "app/pubfunction.h"
#include "conversion/progresswindow.h"
#include "platform/filesystem.h"
#include "platform/localpath.h"
#include "platform/urlcatcher.h"
#include "profiles/outputstate.h"
#include "profiles/profileline.h"
#include "runfixtures.h"
#include "support/awkwardnames.h"
#include "support/modalanswerer.h"
#include "support/tempdir.h"
#include "support/testmedia.h"

using namespace runfixtures;

namespace {

constexpr char kProfileLine[] =
    "Test : Video: 320x240, 300 kbps, 25 fps, Audio: 64 kbps, 22.05 khps, 1 Channel Mono";
constexpr int kRunTimeout = 240000;  // ms; a hang fails the test instead of blocking CI

class ProgressRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TestMedia::Available()) {
            GTEST_SKIP() << "the ffmpeg command is needed to make the clips";
        }
        if (!BindEncoderOnce()) {
            GTEST_SKIP() << "the encoder library is not part of this build";
        }
        savedWork_ = path_Work;
        path_Work = out_.Path();
        window_.PrepareRun(&clips_, &ApplyTestProfile);
        QObject::connect(&window_.Run(), &TConversionRun::ClipEnded, [this] { ++clipEnds_; });
        QObject::connect(&window_.Run().Relay(), &TProgressRelay::Text, &window_,
                         [this](const QString& text) {
                             wrongThread_ += QThread::currentThread() != qApp->thread();
                             texts_ << text;
                         });
    }
    void TearDown() override { path_Work = savedWork_; }

    static bool ApplyTestProfile(ConvertSettings& settings, TConvertTarget& target) {
        TOutputState state;
        state.OutputExt = QStringLiteral(".MP4");
        state.OutputFormat = QStringLiteral("mp4");
        if (!TakeProfileLineApart(QLatin1String(kProfileLine), state, settings)) {
            return false;
        }
        target.OutputExt = state.OutputExt;
        target.OutputWidth = state.OutputWidth;
        target.OutputHeight = state.OutputHeight;
        return true;
    }

    QString MakeClip(const QString& name, double seconds) {
        TestMedia::Recipe recipe;
        recipe.seconds = seconds;
        const QString path = sources_.Path() + name;
        EXPECT_TRUE(TestMedia::Make(path.toStdString(), recipe));
        return path;
    }
    void AddClip(const QString& path, int32_t start, int32_t stop) {
        clips_.Add(path, start, stop, 160, 120);
    }
    void Start() {
        window_.ShowModal();
        window_.TB_StartClick();
        ASSERT_TRUE(window_.Run().Converting());
    }
    bool WaitForTheEnd() {
        return QTest::qWaitFor([this] { return !window_.Run().Converting(); }, kRunTimeout);
    }
    QStringList Written() const {
        QStringList names;
        for (const TRunReport::TClip& clip : window_.Run().Report().Clips()) {
            if (clip.Outcome == TRunReport::TOutcome::Written) {
                names << TLocalPath::FileName(clip.OutputFile);
            }
        }
        return names;
    }

    TempDir out_;
    TempDir sources_;
    QString savedWork_;
    TVectorClips clips_;
    TProgressWindow window_;
    UrlCatcher desktop_;
    QStringList texts_;
    int wrongThread_ = 0;
    int clipEnds_ = 0;
};

TEST_F(ProgressRunTest, AListConvertsIntoOneValidFileEachInListOrder) {
    AddClip(MakeClip(QStringLiteral("first.avi"), 3), 0, 3);
    AddClip(MakeClip(QStringLiteral("second.mp4"), 3), 1, 3);
    AddClip(MakeClip(QStringLiteral("third.mkv"), 2), 0, 2);
    Start();
    ASSERT_TRUE(WaitForTheEnd());

    EXPECT_EQ(Written(), QStringList({"first.MP4", "second.MP4", "third.MP4"}));
    const double lengths[] = {3, 2, 2};
    for (int i = 0; i < 3; ++i) {
        const TOutputFacts facts = ReadOutput(out_.Path() + Written().value(i));
        EXPECT_TRUE(facts.readable && facts.hasVideo && facts.hasAudio) << i;
        EXPECT_EQ(facts.width, 320);
        EXPECT_EQ(facts.height, 240);
        EXPECT_NEAR(facts.seconds, lengths[i], 0.3) << i;
    }
    EXPECT_EQ(window_.Label_CP->text(), QStringLiteral("100"));
    EXPECT_EQ(window_.Label_TP->text(), QStringLiteral("100"));
    EXPECT_EQ(clipEnds_, 3);
    EXPECT_EQ(desktop_.opened.size(), 1);
    EXPECT_FALSE(texts_.isEmpty());
    EXPECT_EQ(wrongThread_, 0);
}

TEST_F(ProgressRunTest, TwoClipsOfOneSourceKeepBothFiles) {
    const QString source = MakeClip(QStringLiteral("clip.avi"), 4);
    AddClip(source, 0, 2);
    AddClip(source, 2, 4);
    Start();
    ASSERT_TRUE(WaitForTheEnd());
    EXPECT_EQ(Written(), QStringList({"clip.MP4", "clip1.MP4"}));
    EXPECT_TRUE(ReadOutput(out_.Path() + "clip1.MP4").hasVideo);
}

TEST_F(ProgressRunTest, EverySourceNameConvertsIntoAFileOfTheSameName) {
    const QString source = MakeClip(QStringLiteral("source.avi"), 2);
    ASSERT_TRUE(QDir(sources_.Path()).mkdir("names"));
    const QList<QByteArray> paths = TAwkwardNames::CopyUnderEach(
        QFile::encodeName(source), QFile::encodeName(sources_.Path() + "names"));
    ASSERT_EQ(paths.size(), TAwkwardNames::Names().size());
    for (const QByteArray& path : paths) {
        AddClip(TLocalPath::Decode(path), 0, 2);
    }
    Start();
    ASSERT_TRUE(WaitForTheEnd());

    // The output keeps the source's bytes, those that are no text included.
    QList<QByteArray> expected;
    for (const QByteArray& name : TAwkwardNames::Names()) {
        expected << name.left(name.size() - 4) + ".MP4";
    }
    QList<QByteArray> written;
    for (const QString& name : Written()) {
        written << TLocalPath::Encode(name);
    }
    EXPECT_EQ(written, expected);
    for (const QByteArray& name : expected) {
        const TOutputFacts facts = ReadOutput(out_.Path() + TLocalPath::Decode(name));
        EXPECT_TRUE(facts.readable && facts.hasVideo) << name.constData();
        EXPECT_NEAR(facts.seconds, 2, 0.3) << name.constData();
    }
}

TEST_F(ProgressRunTest, AStopKeepsEarlierFilesAndRemovesThePartialOne) {
    AddClip(MakeClip(QStringLiteral("short.avi"), 1), 0, 1);
    AddClip(MakeClip(QStringLiteral("long.avi"), 60), 0, 60);
    AddClip(MakeClip(QStringLiteral("never.avi"), 1), 0, 1);
    TModalAnswerer answerer;
    Start();
    // Stop once the long clip is under way.
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
            return window_.Run().ConvertIndex() == 1 &&
                   window_.Label_CurrentTime->text() != QLatin1String("00:00:00");
        },
        kRunTimeout));
    window_.TB_StopClick();
    ASSERT_TRUE(WaitForTheEnd());

    EXPECT_TRUE(FileExists(out_.Path() + "short.MP4"));
    EXPECT_TRUE(ReadOutput(out_.Path() + "short.MP4").hasVideo);
    EXPECT_FALSE(FileExists(out_.Path() + "long.MP4"));
    EXPECT_FALSE(FileExists(out_.Path() + "never.MP4"));
    EXPECT_EQ(answerer.Texts(), QStringList({"Stop converting process by user!"}))
        << answerer.Texts().join("|").toStdString();
    EXPECT_TRUE(desktop_.opened.isEmpty());

    window_.TB_CloseClick();
    EXPECT_FALSE(window_.isVisible());
}

TEST_F(ProgressRunTest, ACorruptClipInTheMiddleIsNamedAndTheOthersAreWritten) {
    AddClip(MakeClip(QStringLiteral("good.avi"), 2), 0, 2);
    const QString broken = sources_.Path() + QStringLiteral("broken.mp4");
    ASSERT_TRUE(TestMedia::MakeRandomFile(broken.toStdString(), 64 * 1024));
    AddClip(broken, 0, 2);
    AddClip(MakeClip(QStringLiteral("fine.avi"), 2), 0, 2);
    TModalAnswerer answerer;
    Start();
    ASSERT_TRUE(WaitForTheEnd());

    EXPECT_EQ(Written(), QStringList({"good.MP4", "fine.MP4"}));
    EXPECT_FALSE(FileExists(out_.Path() + "broken.MP4"));
    ASSERT_EQ(answerer.Texts().size(), 1);
    const QString box = answerer.Texts().first();
    EXPECT_TRUE(box.contains(QStringLiteral("broken.mp4: "))) << box.toStdString();
    EXPECT_FALSE(box.contains(QStringLiteral("good.avi")));
    EXPECT_EQ(desktop_.opened.size(), 1);
}

TEST_F(ProgressRunTest, AClipCutShortIsListedAsConvertedWithRemarks) {
    AddClip(MakeClip(QStringLiteral("good.avi"), 2), 0, 2);
    const QString whole = sources_.Path() + QStringLiteral("whole.mp4");
    const QString cut = sources_.Path() + QStringLiteral("cut.mp4");
    ASSERT_TRUE(TestMedia::Make(whole.toStdString(), TestMedia::Recipe{.seconds = 4}));
    // The index in front, then the file cut off: a download that stopped part way.
    ASSERT_TRUE(TestMedia::Run("ffmpeg", {"-v", "error", "-y", "-i", whole.toStdString(), "-c",
                                          "copy", "-movflags", "+faststart", cut.toStdString()}));
    ASSERT_TRUE(QFile::resize(cut, QFileInfo(cut).size() * 6 / 10));
    AddClip(cut, 0, 4);
    TModalAnswerer answerer;
    Start();
    ASSERT_TRUE(WaitForTheEnd());

    EXPECT_EQ(Written(), QStringList({"good.MP4", "cut.MP4"}));
    ASSERT_EQ(answerer.Texts().size(), 1);
    const QString box = answerer.Texts().first();
    EXPECT_TRUE(
        box.startsWith(QStringLiteral("These clips were converted with remarks:\ncut.mp4: "
                                      "the source is damaged or cut short")))
        << box.toStdString();
    EXPECT_FALSE(box.contains(QStringLiteral("good.avi")));
}

}  // namespace
