#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "clipfixtures.h"
#include "clips/clipprober.h"
#include "fakeprobelibrary.h"
#include "support/tempdir.h"

using namespace clipfixtures;

namespace {

class ClipProberTest : public ::testing::Test {
  protected:
    std::optional<ProbedClip> Probe(const QString& file = QStringLiteral("/media/clip one.avi")) {
        return TClipProber(library_.Entries()).Probe(file, SnapshotPath());
    }
    QString SnapshotPath() const { return TClipProber::SnapshotPath(dir_.Path(), 0); }
    bool SnapshotLeft() const { return !QDir(dir_.Path()).isEmpty(); }

    TFakeProbeLibrary library_;
    TempDir dir_;
};

TEST_F(ClipProberTest, GoodProbeCopiesTheFactsAndAsksForTheThumbnail) {
    library_.Snapshot = PaddedJpeg(1500);
    const std::optional<ProbedClip> clip = Probe();
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->Record.SourceFile, "/media/clip one.avi");
    EXPECT_EQ(clip->Record.Duration, 42);
    EXPECT_EQ(clip->Record.VideoFormat, "mpeg4");
    EXPECT_EQ(clip->Record.AudioFormat, "aac");
    EXPECT_EQ(clip->Record.Width, 320);
    EXPECT_EQ(clip->Record.Height, 240);
    EXPECT_EQ(clip->Record.StartTime, 0);
    EXPECT_EQ(clip->Record.StopTime, 42);
    EXPECT_EQ(clip->Thumbnail.size(), QSize(80, 60));

    const auto calls = library_.PictureCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].fileName, "/media/clip one.avi");
    EXPECT_EQ(calls[0].second, 5);
    EXPECT_EQ(calls[0].size, "80x60");
    EXPECT_EQ(QString::fromStdString(calls[0].picturePath), SnapshotPath());
    EXPECT_FALSE(SnapshotLeft());
}

TEST_F(ClipProberTest, ASnapshotCountsFromOneKibibyte) {
    library_.Snapshot = PaddedJpeg(1023);
    EXPECT_FALSE(Probe());
    EXPECT_FALSE(SnapshotLeft());
    library_.Snapshot = PaddedJpeg(1024);
    EXPECT_TRUE(Probe());
    EXPECT_FALSE(SnapshotLeft());
}

TEST_F(ClipProberTest, RealVideoAndUnknownFormatsAreRefusedBeforeTheSnapshot) {
    library_.Snapshot = PaddedJpeg(1500);
    for (const char* format : {"RV40", "rv30", "xRvx", "Unknown", "unknow", "UNKNOWN codec"}) {
        library_.VideoFormat = format;
        EXPECT_FALSE(Probe()) << format;
    }
    EXPECT_TRUE(library_.PictureCalls().empty());
    library_.VideoFormat = "h264";
    EXPECT_TRUE(Probe());
}

TEST_F(ClipProberTest, FailuresAreSilentAndLeaveNoSnapshot) {
    library_.Throwing << "/media/clip one.avi";
    EXPECT_FALSE(Probe());
    EXPECT_TRUE(library_.PictureCalls().empty());

    library_.Throwing.clear();
    library_.Snapshot = QByteArray(4096, '\x5a');  // large enough, but no JPEG
    EXPECT_FALSE(Probe());
    EXPECT_FALSE(SnapshotLeft());

    const QByteArray noisy = NoisyJpeg();
    ASSERT_GT(noisy.size(), 3000);
    library_.Snapshot = noisy.left(noisy.size() / 2);  // cut short
    EXPECT_FALSE(Probe());
    EXPECT_FALSE(SnapshotLeft());
}

TEST_F(ClipProberTest, AStaleSnapshotIsNotTakenForANewOne) {
    dir_.Write("snap0.pic", PaddedJpeg(2000));
    library_.Snapshot.clear();  // the library writes nothing this time
    EXPECT_FALSE(Probe());
    EXPECT_FALSE(SnapshotLeft());
}

}  // namespace
