#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <thread>

#include "damagedmedia.h"
#include "encoderfixture.h"
#include "mediareader.h"
#include "messagewindow.h"

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

// A partly downloaded file: a quarter of it zeroed in the middle, across hundreds of pictures.
TEST_F(DamagedSourceTest, AZeroedHoleCostsOnlyItsOwnPictures) {
    TestMedia::Recipe recipe;
    recipe.seconds = 40;
    recipe.videoOptions = {"-g", "25"};
    const std::string damaged = Media().PathStd() + "hole.mp4";
    ASSERT_TRUE(TDamagedMedia::ZeroStretch(Clip("forty seconds.mp4", recipe), damaged, 0.35, 0.6));
    TConvertArguments arguments = SmallOutput(damaged);
    arguments.length = "40";
    arguments.frameRate = "25";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    const std::string theirs = OutputPath("ffmpeg.3gp");
    ASSERT_TRUE(TestMedia::Run(
        "ffmpeg", {"-hide_banner", "-nostdin", "-loglevel", "quiet", "-y", "-i", damaged, "-an",
                   "-s", "128x96", "-r", "25", "-c:v", "mpeg4", theirs}));
    const TMediaSummary ours = TMediaReader::Summarize(arguments.output);
    const TMediaSummary command = TMediaReader::Summarize(theirs);
    ASSERT_GT(command.videoFrames, 500);
    EXPECT_GE(ours.videoFrames, command.videoFrames * 95 / 100);
    EXPECT_NEAR(ours.videoSeconds, 40.0, 1.5);
}

// The source changes under a running conversion: what was converted before is kept.
TEST_F(DamagedSourceTest, ASourceCutOrOverwrittenDuringTheRunKeepsWhatWasConverted) {
    TestMedia::Recipe recipe;
    recipe.width = 320;
    recipe.height = 240;
    recipe.seconds = 30;
    const std::string original = Clip("thirty seconds.mp4", recipe);
    for (const bool overwrite : {false, true}) {
        SCOPED_TRACE(overwrite ? "overwritten" : "cut");
        const std::string source = OutputPath(overwrite ? "overwritten.mp4" : "cut.mp4");
        ASSERT_TRUE(TestMedia::Run("cp", {original, source}));
        struct stat status {};
        ASSERT_EQ(::stat(source.c_str(), &status), 0);
        TConvertArguments arguments = SmallOutput(source);
        arguments.output = OutputPath(overwrite ? "overwritten.3gp" : "cut.3gp");
        arguments.length = "30";
        arguments.frameSize = "320x240";
        recorder_.Clear();
        TMessageWindow window;
        std::vector<std::string> copies = arguments.Vector();
        std::vector<char*> argv;
        for (auto& argument : copies) {
            argv.push_back(argument.data());
        }
        ASSERT_EQ(Lib().Convert(window.Handle(), static_cast<int32_t>(argv.size()), argv.data()),
                  0);
        while (recorder_.Lines().empty() && window.Messages().empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_TRUE(window.Messages().empty()) << "finished before the source could change";
        if (overwrite) {
            std::ofstream(source, std::ios::binary | std::ios::in | std::ios::out)
                << std::string(static_cast<std::size_t>(status.st_size), '\0');
        } else {
            ASSERT_EQ(::truncate(source.c_str(), status.st_size / 4), 0);
        }
        ASSERT_EQ(window.WaitFor(1).size(), 1u);
        const std::string last = recorder_.LastLine();
        ASSERT_EQ(last.rfind("error: ", 0), std::string::npos) << last;
        EXPECT_TRUE(HasNote("note: the source is damaged or cut short"));
        const TMediaSummary summary = TMediaReader::Summarize(arguments.output);
        EXPECT_TRUE(summary.hasVideo);
        EXPECT_GT(summary.videoSeconds, 0.5);
    }
}

}  // namespace
