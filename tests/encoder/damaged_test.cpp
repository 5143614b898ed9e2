#include <dirent.h>

#include <functional>

#include "damagedmedia.h"
#include "encoderfixture.h"
#include "mediareader.h"

namespace {

class DamagedSourceTest : public TEncoderFixture {
  protected:
    static TestMedia::Recipe Small(const std::string& video, const std::string& audio) {
        TestMedia::Recipe recipe;
        recipe.seconds = 1;
        recipe.videoCodec = video;
        recipe.audioCodec = audio;
        return recipe;
    }
    static std::string Mp4Clip() {
        TestMedia::Recipe recipe = Small("mpeg4", "aac");
        recipe.seconds = 2;
        return Clip("index.mp4", recipe);
    }
    // The index in front, as downloads have it, so a cut-off copy still opens.
    static std::string FastStartClip() {
        static const std::string path = [] {
            const std::string made = Media().PathStd() + "faststart.mp4";
            EXPECT_TRUE(TestMedia::Run(
                "ffmpeg", {"-hide_banner", "-nostdin", "-loglevel", "error", "-y", "-i", Mp4Clip(),
                           "-c", "copy", "-movflags", "+faststart", made}));
            return made;
        }();
        return path;
    }
    TConvertArguments SmallOutput(const std::string& input) const {
        TConvertArguments arguments;
        arguments.input = input;
        arguments.output = OutputPath("out.3gp");
        arguments.length = "4";
        arguments.format = "3gp";
        arguments.frameSize = "128x96";
        arguments.frameRate = "10";
        arguments.videoKbps = "48";
        arguments.channels = "1";
        arguments.sampleRate = "8000";
        arguments.audioKbps = "16";
        return arguments;
    }
    // A conversion that ended either way, and cleanly: a playable file, or the error line and
    // nothing in the output folder.
    bool EndedCleanly(int result, const std::string& output) const {
        if (result == 0) {
            const TMediaSummary summary = TMediaReader::Summarize(output);
            EXPECT_TRUE(summary.hasVideo) << output;
            EXPECT_GT(summary.videoSeconds, 0) << output;
        } else {
            EXPECT_EQ(recorder_.LastLine().rfind("error: ", 0), 0u) << recorder_.LastLine();
            EXPECT_EQ(ScratchFiles(), 0) << "a failed run left a file";
        }
        return !::testing::Test::HasFailure();
    }
    int ScratchFiles() const {
        int count = 0;
        if (DIR* folder = opendir(scratch_.PathStd().c_str())) {
            while (const dirent* entry = readdir(folder)) {
                count += entry->d_name[0] != '.';
            }
            closedir(folder);
        }
        return count;
    }
    bool HasNote(const std::string& start = "note: ") const {
        for (const std::string& line : recorder_.Lines()) {
            if (line.rfind(start, 0) == 0) {
                return true;
            }
        }
        return false;
    }
};

// Each of these made the run wait forever on a decoder that had nothing more to give.
TEST_F(DamagedSourceTest, BrokenIndexTablesEndConvertedOrWithAnError) {
    using Damage = std::function<bool(const std::string&, const std::string&)>;
    const std::vector<std::pair<std::string, Damage>> cases = {
        {"stsc zero entry.mp4", &TDamagedMedia::ZeroFirstSampleToChunkEntry},
        {"stsc huge.mp4", &TDamagedMedia::HugeSamplesPerChunk},
        {"stco wrong.mp4", &TDamagedMedia::ScrambleChunkOffsets},
    };
    for (const auto& [name, damage] : cases) {
        SCOPED_TRACE(name);
        recorder_.Clear();
        const std::string damaged = Media().PathStd() + name;
        ASSERT_TRUE(damage(Mp4Clip(), damaged));
        const TConvertArguments arguments = SmallOutput(damaged);
        EXPECT_TRUE(EndedCleanly(ConvertNow(arguments), arguments.output));
        std::remove(arguments.output.c_str());
    }
}

// The `ffmpeg` command converts these two to their last good picture; so does the library, and
// it says that the source was damaged.
TEST_F(DamagedSourceTest, CutOffDownloadAndHugeAviIndexKeepWhatWasConvertedWithANote) {
    const std::string cut = Media().PathStd() + "cut download.mp4";
    ASSERT_TRUE(TestMedia::MakeTruncatedCopy(FastStartClip(), cut, 0.3));
    const std::string avi = Media().PathStd() + "huge index.avi";
    ASSERT_TRUE(TDamagedMedia::HugeAviIndex(Clip("plain.avi", Small("mpeg4", "libmp3lame")), avi));
    for (const std::string& source : {cut, avi}) {
        SCOPED_TRACE(source);
        recorder_.Clear();
        const TConvertArguments arguments = SmallOutput(source);
        ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
        EXPECT_TRUE(TMediaReader::Summarize(arguments.output).hasVideo);
        EXPECT_TRUE(HasNote());
        // Readers of the last line still find the progress there.
        EXPECT_EQ(recorder_.LastLine().rfind("frame=", 0), 0u) << recorder_.LastLine();
        std::remove(arguments.output.c_str());
    }
}

TEST_F(DamagedSourceTest, UndecodableVideoFailsWithAReason) {
    const std::string damaged = Media().PathStd() + "codec private.mkv";
    ASSERT_TRUE(
        TDamagedMedia::ScrambleCodecPrivate(Clip("h264.mkv", Small("libx264", "aac")), damaged));
    const TConvertArguments arguments = SmallOutput(damaged);
    EXPECT_NE(ConvertNow(arguments), 0);
    EXPECT_EQ(recorder_.LastLine().rfind("error: the video cannot be decoded", 0), 0u)
        << recorder_.LastLine();
    EXPECT_FALSE(FileExists(arguments.output));
}

// A sound track that its decoder refuses (broken Vorbis headers) or that the mixer cannot take
// (64 channels) costs the sound, not the picture: psp, whose players need sound, gets silence;
// the other formats go without.
TEST_F(DamagedSourceTest, UnreadableSoundConvertsThePictureAloneWithANote) {
    const std::string vorbis = Media().PathStd() + "vorbis headers.mkv";
    ASSERT_TRUE(TDamagedMedia::ScrambleCodecPrivate(Clip("vorbis.mkv", Small("mpeg4", "libvorbis")),
                                                    vorbis, 1));
    const std::string wide = Media().PathStd() + "64 channels.avi";
    ASSERT_TRUE(
        TDamagedMedia::DeclareAviChannels(Clip("pcm.avi", Small("mpeg4", "pcm_s16le")), wide, 64));
    for (const std::string& source : {vorbis, wide}) {
        for (const std::string format : {"3gp", "psp"}) {
            SCOPED_TRACE(source + " as " + format);
            recorder_.Clear();
            TConvertArguments arguments = SmallOutput(source);
            arguments.format = format;
            arguments.output = OutputPath("out." + format);
            ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
            const TMediaSummary out = TMediaReader::Summarize(arguments.output);
            EXPECT_TRUE(out.hasVideo);
            EXPECT_EQ(out.hasAudio, format == "psp");
            if (out.hasAudio) {
                EXPECT_NEAR(out.audioSeconds, out.videoSeconds, 0.1);
            }
            EXPECT_TRUE(HasNote("note: the sound could not be read ("));
            EXPECT_EQ(recorder_.LastLine().rfind("frame=", 0), 0u) << recorder_.LastLine();
            std::remove(arguments.output.c_str());
        }
    }
}

// Flipped bits and cut tails in every container the program offers; none may crash, hang or
// leave a file behind when it fails.
TEST_F(DamagedSourceTest, FuzzedSourcesOfEveryContainerEndCleanly) {
    const std::vector<std::pair<std::string, TestMedia::Recipe>> sources = {
        {"fuzz.mp4", Small("mpeg4", "aac")},        {"fuzz.mov", Small("mpeg4", "aac")},
        {"fuzz.avi", Small("mpeg4", "libmp3lame")}, {"fuzz.mkv", Small("libx264", "aac")},
        {"fuzz.flv", Small("flv", "aac")},          {"fuzz.mpg", Small("mpeg2video", "mp2")},
        {"fuzz.ts", Small("mpeg2video", "mp2")},
    };
    uint32_t seed = 1;
    for (const auto& [name, recipe] : sources) {
        const std::string clean = Clip(name, recipe);
        const std::string flipped = Media().PathStd() + "flipped " + name;
        const std::string cut = Media().PathStd() + "cut " + name;
        ASSERT_TRUE(TDamagedMedia::FlipBits(clean, flipped, 24, seed++, 64));
        ASSERT_TRUE(TestMedia::MakeTruncatedCopy(clean, cut, 0.6));
        for (const std::string& source : {flipped, cut}) {
            SCOPED_TRACE(source);
            recorder_.Clear();
            const TConvertArguments arguments = SmallOutput(source);
            EXPECT_TRUE(EndedCleanly(ConvertNow(arguments), arguments.output));
            std::remove(arguments.output.c_str());
        }
    }
}

}  // namespace

namespace {

// One early picture stamped far ahead of the rest must neither end the video nor stretch the
// output to its time.
TEST_F(DamagedSourceTest, OutlyingPictureTimeIsDroppedNotFollowed) {
    const std::string damaged = Media().PathStd() + "outlier.mkv";
    ASSERT_TRUE(TestMedia::Run("ffmpeg", {"-hide_banner", "-nostdin", "-loglevel", "error", "-y",
                                          "-i", Mp4Clip(), "-c", "copy", "-an", "-bsf:v",
                                          "setts=pts=if(eq(N\\,1)\\,PTS+100/TB\\,PTS)", damaged}));
    TConvertArguments arguments = SmallOutput(damaged);
    arguments.length = "10";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    EXPECT_NEAR(TMediaReader::Summarize(arguments.output).videoSeconds, 2.0, 0.5);
}

}  // namespace
