#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "encoderfixture.h"
#include "mediareader.h"

namespace {

class ProbeTest : public TEncoderFixture {
  protected:
    MediaFileInfo Probe(const std::string& path) {
        MediaFileInfo info{};
        Lib().GetFileInfo(path.c_str(), &info);
        return info;
    }
    // Shorter than 5 s, so its thumbnail shows the middle frame.
    static std::string ShortClip() {
        TestMedia::Recipe recipe;
        recipe.seconds = 1;
        return Clip("short.mp4", recipe);
    }
    static long SizeOf(const std::string& path) {
        struct stat status {};
        return stat(path.c_str(), &status) == 0 ? static_cast<long>(status.st_size) : -1;
    }
};

TEST_F(ProbeTest, ReportsFormatsDisplaySizeAndDurationRoundedUp) {
    TestMedia::Recipe recipe;
    recipe.seconds = 2.5;
    recipe.audioChannels = 2;
    const std::string path = Clip("facts.mp4", recipe);
    const MediaFileInfo info = Probe(path);
    EXPECT_STREQ(info.FileName, path.c_str());
    EXPECT_EQ(info.Duration, 3);
    EXPECT_STREQ(info.VideoFormat, "mpeg4");
    EXPECT_STREQ(info.AudioFormat, "aac");
    EXPECT_EQ(info.Width, 160);
    EXPECT_EQ(info.Height, 120);
}

TEST_F(ProbeTest, AppliesSampleAspectAndRotationToTheSize) {
    TestMedia::Recipe anamorphic;
    anamorphic.width = 720;
    anamorphic.height = 576;
    anamorphic.sampleAspect = "64:45";
    anamorphic.seconds = 0.4;
    anamorphic.audioChannels = 0;
    MediaFileInfo info = Probe(Clip("dvd wide.mp4", anamorphic));
    EXPECT_EQ(info.Width, 1024);
    EXPECT_EQ(info.Height, 576);
    EXPECT_STREQ(info.AudioFormat, "none");

    TestMedia::Recipe rotated;
    rotated.rotation = 90;
    rotated.seconds = 1;
    info = Probe(Clip("rotated.mp4", rotated));
    EXPECT_EQ(info.Width, 120);
    EXPECT_EQ(info.Height, 160);
}

TEST_F(ProbeTest, UnreadableFilesGiveUnknownAndZeroSizes) {
    const std::string truncated = OutputPath("cut.mp4");
    ASSERT_TRUE(TestMedia::MakeTruncatedCopy(Clip("plain.mp4", {}), truncated, 0.3));
    const std::string random = OutputPath("noise.avi");
    ASSERT_TRUE(TestMedia::MakeRandomFile(random, 64 * 1024));
    const std::string empty = OutputPath("empty.mp4");
    ASSERT_TRUE(TestMedia::MakeRandomFile(empty, 0));
    for (const std::string& path :
         {truncated, random, empty, OutputPath("missing.mp4"), scratch_.PathStd(), std::string()}) {
        SCOPED_TRACE(path);
        const MediaFileInfo info = Probe(path);
        EXPECT_STREQ(info.FileName, path.c_str());
        EXPECT_NE(std::string(info.VideoFormat).find("unknown"), std::string::npos);
        EXPECT_EQ(info.Width, 0);
        EXPECT_EQ(info.Height, 0);
        EXPECT_EQ(info.Duration, 0);
    }
}

TEST_F(ProbeTest, ThumbnailIsAnEightyBySixtyJpegOfAtLeast1024Bytes) {
    const std::string picture = OutputPath("snap0.jpg");
    EXPECT_EQ(Lib().GetPicture(ShortClip().c_str(), 5, "80x60", picture.c_str()), 0);
    EXPECT_GE(SizeOf(picture), 1024);
    const TLumaPicture image = TMediaReader::Picture(picture, 0);
    EXPECT_EQ(image.width, 80);
    EXPECT_EQ(image.height, 60);
}

TEST_F(ProbeTest, FlatBlackThumbnailStillReaches1024Bytes) {
    const std::string path = Media().PathStd() + "black.mp4";
    ASSERT_TRUE(TestMedia::Run(
        "ffmpeg", {"-hide_banner", "-nostdin", "-y", "-f", "lavfi", "-i",
                   "color=c=black:size=64x48:rate=10:duration=6", "-c:v", "mpeg4", path}));
    const std::string picture = OutputPath("black.jpg");
    EXPECT_EQ(Lib().GetPicture(path.c_str(), 5, "80x60", picture.c_str()), 0);
    EXPECT_GE(SizeOf(picture), 1024);
    EXPECT_EQ(TMediaReader::Picture(picture, 0).width, 80);
}

TEST_F(ProbeTest, WideThumbnailIsLetterBoxed) {
    TestMedia::Recipe wide;
    wide.width = 320;
    wide.height = 120;  // 8:3 into 4:3: a 30 pixel picture with bars above and below
    wide.seconds = 1;
    const std::string picture = OutputPath("wide.jpg");
    ASSERT_EQ(Lib().GetPicture(Clip("wide.mp4", wide).c_str(), 5, "80x60", picture.c_str()), 0);
    const TLumaPicture image = TMediaReader::Picture(picture, 0);
    ASSERT_EQ(image.height, 60);
    EXPECT_LT(image.Mean(0, 0, 80, 12), 20);
    EXPECT_LT(image.Mean(0, 48, 80, 12), 20);
    EXPECT_GT(image.Mean(0, 20, 80, 20), 40);
}

TEST_F(ProbeTest, ThumbnailIsFoundWhenTheSeekMissesAndNeverReplacesTheClip) {
    // A raw stream with one key picture at its start: seeking to second 5 lands where no key
    // picture follows, so only a read from the start finds a frame.
    const std::string raw = OutputPath("one key picture.h264");
    ASSERT_TRUE(TestMedia::Run(
        "ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=s=160x120:r=25:d=8", "-c:v",
                   "libx264", "-g", "1000", "-x264-params", "scenecut=0", raw}));
    const std::string picture = OutputPath("found.jpg");
    EXPECT_EQ(Lib().GetPicture(raw.c_str(), 5, "80x60", picture.c_str()), 0);
    EXPECT_TRUE(FileExists(picture));

    const std::string clip = OutputPath("own.mp4");
    ASSERT_TRUE(TestMedia::Make(clip));
    EXPECT_NE(Lib().GetPicture(clip.c_str(), 1, "80x60", clip.c_str()), 0);
    EXPECT_TRUE(TMediaReader::Summarize(clip).hasVideo);
}

TEST_F(ProbeTest, FailedThumbnailWritesNothing) {
    const std::string random = OutputPath("noise.mpg");
    ASSERT_TRUE(TestMedia::MakeRandomFile(random, 32 * 1024));
    const std::string picture = OutputPath("none.jpg");
    EXPECT_NE(Lib().GetPicture(random.c_str(), 5, "80x60", picture.c_str()), 0);
    EXPECT_FALSE(FileExists(picture));
    EXPECT_NE(Lib().GetPicture(ShortClip().c_str(), 5, "eighty", picture.c_str()), 0);
    EXPECT_FALSE(FileExists(picture));
}

TEST_F(ProbeTest, ALinkPlantedBesideThePictureIsNotWrittenThrough) {
    const std::string victim = OutputPath("victim.txt");
    { std::ofstream(victim) << "keep me"; }
    const std::string picture = OutputPath("pic0.jpg");
    ASSERT_EQ(::symlink(victim.c_str(), (picture + ".part").c_str()), 0);
    ASSERT_EQ(Lib().GetPicture(ShortClip().c_str(), 5, "80x60", picture.c_str()), 0);
    EXPECT_EQ(TMediaReader::Picture(picture, 0).width, 80);
    std::ifstream kept(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
}

}  // namespace
