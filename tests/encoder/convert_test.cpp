#include <fstream>
#include <iterator>
#include <regex>

#include "encoderfixture.h"
#include "mediareader.h"

namespace {

class ConvertTest : public TEncoderFixture {
  protected:
    static std::string PlainClip() {
        TestMedia::Recipe recipe;
        recipe.seconds = 3;
        recipe.audioChannels = 2;
        return Clip("plain clip.mp4", recipe);
    }
    TConvertArguments ArgumentsFor(const std::string& input, const std::string& output) const {
        TConvertArguments arguments;
        arguments.input = input;
        arguments.output = output;
        return arguments;
    }
};

// Every family's container with the codecs, sizes and rates the devices expect.
TEST_F(ConvertTest, WritesEachFamilyContainerWithSimpleProfileAndAacLc) {
    struct Case {
        std::string format, brand, size, rate, sampleRate, channels;
        int width, height, level;
    };
    const std::vector<Case> cases = {
        // The lowest level whose maximum rate takes the asked one, up to the ceiling itself.
        {"3gp", "3gp4", "176x144", "15", "22050", "1", 176, 144, 2},
        {"psp", "MSNV", "320x240", "29.97", "24000", "2", 320, 240, 3},
        {"mp4", "isom", "352x288", "25", "44100", "2", 352, 288, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        TConvertArguments arguments = ArgumentsFor(PlainClip(), OutputPath("out." + c.format));
        arguments.format = c.format;
        arguments.frameSize = c.size;
        arguments.frameRate = c.rate;
        arguments.sampleRate = c.sampleRate;
        arguments.channels = c.channels;
        arguments.videoKbps = c.format == "3gp" ? "128" : "384";
        ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
        const TMediaSummary out = TMediaReader::Summarize(arguments.output);
        EXPECT_EQ(out.majorBrand, c.brand);
        EXPECT_EQ(out.videoCodec, "mpeg4");
        EXPECT_EQ(out.videoProfile, 0);  // Simple Profile
        EXPECT_EQ(out.videoLevel, c.level);
        EXPECT_EQ(out.width, c.width);
        EXPECT_EQ(out.height, c.height);
        EXPECT_NEAR(out.frameRate, std::stod(c.rate), 0.01);
        EXPECT_EQ(out.audioCodec, "aac");
        EXPECT_EQ(out.audioProfile, 1);  // AAC-LC
        EXPECT_EQ(out.sampleRate, std::stoi(c.sampleRate));
        EXPECT_EQ(out.channels, std::stoi(c.channels));
        EXPECT_NEAR(out.videoSeconds, 2.0, 1.0 / out.frameRate);
        EXPECT_NEAR(out.audioSeconds, 2.0, 0.05);
    }
}

TEST_F(ConvertTest, ReportsProgressLinesAndPercents) {
    TConvertArguments arguments = ArgumentsFor(PlainClip(), OutputPath("progress.MP4"));
    ASSERT_EQ(ConvertNow(arguments), 0);
    const std::regex line(
        R"(frame= *\d+ fps= *\d+ q=\d+\.\d size= *\d+kB time=\d+\.\d\d bitrate= *\d+\.\dkbits/s)");
    const auto lines = recorder_.Lines();
    ASSERT_FALSE(lines.empty());
    for (const auto& text : lines) {
        EXPECT_TRUE(std::regex_match(text, line)) << text;
    }
    EXPECT_NE(lines.back().find("time=2.00 "), std::string::npos) << lines.back();
    const auto percents = recorder_.Percents();
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), 100);
    for (int percent : percents) {
        EXPECT_GE(percent, 0);
        EXPECT_LE(percent, 100);
    }
}

TEST_F(ConvertTest, PadsLetterBoxInsideTheFrameSize) {
    struct Case {
        std::string top, bottom, left, right;
    };
    for (const Case& c : {Case{"30", "30", "0", "0"}, Case{"0", "0", "40", "40"}}) {
        TConvertArguments arguments = ArgumentsFor(PlainClip(), OutputPath("pad.MP4"));
        arguments.frameSize = "320x240";
        arguments.videoKbps = "600";
        arguments.padTop = c.top;
        arguments.padBottom = c.bottom;
        arguments.padLeft = c.left;
        arguments.padRight = c.right;
        ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
        const TLumaPicture picture = TMediaReader::Picture(arguments.output, 5);
        ASSERT_EQ(picture.width, 320);
        const int top = std::stoi(c.top);
        const int left = std::stoi(c.left);
        if (top > 0) {
            EXPECT_LT(picture.Mean(0, 0, 320, top - 4), 24);
            EXPECT_LT(picture.Mean(0, 240 - top + 4, 320, top - 4), 24);
        } else {
            EXPECT_LT(picture.Mean(0, 0, left - 4, 240), 24);
            EXPECT_LT(picture.Mean(320 - left + 4, 0, left - 4, 240), 24);
        }
        EXPECT_GT(picture.Mean(left + 8, top + 8, 320 - 2 * left - 16, 240 - 2 * top - 16), 40);
    }
}

// A source whose frame n has luma 4n shows which frame became the first one of the output.
TEST_F(ConvertTest, TrimStartsAtTheRequestedFrameAndLastsTheRequestedLength) {
    const std::string source = Media().PathStd() + "ramp.mp4";
    ASSERT_TRUE(TestMedia::Run("ffmpeg", {"-hide_banner", "-nostdin", "-y", "-f", "lavfi", "-i",
                                          "color=c=black:size=64x48:rate=10:duration=6", "-vf",
                                          "geq=lum='4*N':cb=128:cr=128", "-c:v", "mpeg4", "-q:v",
                                          "2", "-g", "25", source}));
    TConvertArguments arguments = ArgumentsFor(source, OutputPath("trim.MP4"));
    arguments.start = "00:00:03";
    arguments.length = "2";
    arguments.frameSize = "64x48";
    arguments.frameRate = "10";
    arguments.videoKbps = "400";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    const TMediaSummary out = TMediaReader::Summarize(arguments.output);
    EXPECT_EQ(out.videoFrames, 20);
    EXPECT_NEAR(out.videoSeconds, 2.0, 0.1);
    EXPECT_FALSE(out.hasAudio);  // the source has none and mp4 needs none
    const double first = TMediaReader::Picture(arguments.output, 0).Mean(8, 8, 48, 32);
    EXPECT_NEAR(first, 4 * 30, 6);
}

TEST_F(ConvertTest, TurnsRotatedAndAnamorphicSourcesUpright) {
    TestMedia::Recipe rotated;
    rotated.rotation = 90;
    rotated.seconds = 1;
    TConvertArguments arguments = ArgumentsFor(Clip("turned.mp4", rotated), OutputPath("up.MP4"));
    arguments.frameSize = "120x160";
    arguments.length = "1";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    TMediaSummary out = TMediaReader::Summarize(arguments.output);
    EXPECT_EQ(out.width, 120);
    EXPECT_EQ(out.height, 160);
    EXPECT_FALSE(out.hasRotation);

    TestMedia::Recipe anamorphic;
    anamorphic.width = 176;
    anamorphic.height = 144;
    anamorphic.sampleAspect = "16:11";
    anamorphic.seconds = 1;
    arguments = ArgumentsFor(Clip("anamorphic.mp4", anamorphic), OutputPath("square.MP4"));
    arguments.length = "1";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    out = TMediaReader::Summarize(arguments.output);
    EXPECT_EQ(out.width, 176);
    EXPECT_EQ(out.height, 144);
}

TEST_F(ConvertTest, SilentSourceGetsSilentTrackOnlyForPsp) {
    TestMedia::Recipe silent;
    silent.audioChannels = 0;
    const std::string source = Clip("silent.mp4", silent);
    TConvertArguments arguments = ArgumentsFor(source, OutputPath("silent.MP4"));
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    EXPECT_FALSE(TMediaReader::Summarize(arguments.output).hasAudio);

    arguments.format = "psp";
    arguments.frameSize = "320x240";
    arguments.sampleRate = "24000";
    arguments.output = OutputPath("silent psp.MP4");
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    const TMediaSummary out = TMediaReader::Summarize(arguments.output);
    EXPECT_EQ(out.audioCodec, "aac");
    EXPECT_EQ(out.channels, 2);
    EXPECT_NEAR(out.audioSeconds, out.videoSeconds, 0.1);
}

TEST_F(ConvertTest, MixesDownSurroundAndConvertsAviAndWindowsMedia) {
    TestMedia::Recipe surround;
    surround.audioChannels = 6;
    surround.sampleRate = 48000;
    surround.seconds = 1;
    TConvertArguments arguments =
        ArgumentsFor(Clip("surround.mp4", surround), OutputPath("51.MP4"));
    arguments.length = "1";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    EXPECT_EQ(TMediaReader::Summarize(arguments.output).channels, 2);

    TestMedia::Recipe avi;
    avi.audioCodec = "libmp3lame";
    avi.sampleRate = 44100;
    avi.seconds = 1;
    arguments = ArgumentsFor(Clip("old.avi", avi), OutputPath("avi.3gp"));
    arguments.format = "3gp";
    arguments.channels = "1";
    arguments.length = "1";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    const TMediaSummary out = TMediaReader::Summarize(arguments.output);
    EXPECT_EQ(out.channels, 1);
    EXPECT_NEAR(out.audioSeconds, 1.0, 0.05);

    // Windows Media audio names no channel layout.
    TestMedia::Recipe wmv;
    wmv.videoCodec = "wmv2";
    wmv.audioCodec = "wmav2";
    wmv.seconds = 1;
    arguments = ArgumentsFor(Clip("old.wmv", wmv), OutputPath("wmv.MP4"));
    arguments.length = "1";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    EXPECT_EQ(TMediaReader::Summarize(arguments.output).channels, 2);
}

TEST_F(ConvertTest, OddSizedInterlacedSourcesConvertAtTheSourceSizeRoundedToEven) {
    TestMedia::Recipe odd;
    odd.width = 161;
    odd.height = 121;
    odd.videoCodec = "libx264";
    odd.pixelFormat = "yuv444p";
    odd.seconds = 1;
    std::vector<std::string> arguments = {"dero-encode", "-i", Clip("odd.mkv", odd),
                                          OutputPath("odd.MP4")};
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    TMediaSummary out = TMediaReader::Summarize(arguments.back());
    EXPECT_EQ(out.width, 160);
    EXPECT_EQ(out.height, 120);

    TestMedia::Recipe interlaced;
    interlaced.videoCodec = "mpeg2video";
    interlaced.audioCodec = "mp2";
    interlaced.interlaced = true;
    interlaced.seconds = 1;
    TConvertArguments tv = ArgumentsFor(Clip("tv.mpg", interlaced), OutputPath("tv.MP4"));
    tv.length = "1";
    ASSERT_EQ(ConvertNow(tv), 0) << recorder_.LastLine();
    EXPECT_EQ(TMediaReader::Summarize(tv.output).videoFrames, 15);
}

TEST_F(ConvertTest, VariableRateSourceComesOutAtTheConstantRate) {
    const std::string source = Media().PathStd() + "gaps.mkv";
    ASSERT_TRUE(TestMedia::Run("ffmpeg", {"-hide_banner", "-nostdin", "-y", "-f", "lavfi", "-i",
                                          "testsrc2=size=160x120:rate=30:duration=2", "-vf",
                                          "select='not(between(mod(n\\,10)\\,3\\,6))'", "-vsync",
                                          "vfr", "-c:v", "mpeg4", source}));
    TConvertArguments arguments;
    arguments.input = source;
    arguments.output = OutputPath("constant.MP4");
    arguments.frameRate = "15";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    const TMediaSummary out = TMediaReader::Summarize(arguments.output);
    EXPECT_EQ(out.videoFrames, 30);
    EXPECT_NEAR(out.frameRate, 15, 0.01);
}

// Cut or joined MPEG files restart their clock; the pictures after the reset still count.
TEST_F(ConvertTest, JoinsRestartedTimestampsOfConcatenatedMpegFiles) {
    TestMedia::Recipe part;
    part.videoCodec = "mpeg2video";
    part.audioCodec = "mp2";
    part.seconds = 1;
    const std::string joined = OutputPath("joined.mpg");
    {
        std::ifstream in(Clip("part.mpg", part), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(joined, std::ios::binary) << bytes << bytes;
    }
    const std::vector<std::string> arguments = {
        "dero-encode", "-i", joined, "-s", "176x144", "-r", "10", OutputPath("joined.MP4")};
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    const TMediaSummary out = TMediaReader::Summarize(arguments.back());
    EXPECT_NEAR(out.videoFrames, 20, 1);
    EXPECT_NEAR(out.audioSeconds, 2.0, 0.1);
}

// Broadcast recordings change picture size and audio layout midway.
TEST_F(ConvertTest, FollowsPictureSizeAndAudioLayoutChangesMidway) {
    TestMedia::Recipe first;
    first.videoCodec = "mpeg2video";
    first.audioCodec = "mp2";
    first.audioChannels = 2;
    first.sampleRate = 48000;
    first.width = 320;
    first.height = 240;
    first.seconds = 1;
    TestMedia::Recipe second = first;
    second.audioChannels = 1;
    second.sampleRate = 44100;
    second.width = 176;
    second.height = 144;
    const std::string changing = OutputPath("changing.ts");
    {
        std::ifstream a(Clip("wide part.ts", first), std::ios::binary);
        std::ifstream b(Clip("small part.ts", second), std::ios::binary);
        std::ofstream(changing, std::ios::binary)
            << std::string((std::istreambuf_iterator<char>(a)), {})
            << std::string((std::istreambuf_iterator<char>(b)), {});
    }
    const std::vector<std::string> arguments = {
        "dero-encode", "-i", changing, "-s", "320x240", "-r", "10", OutputPath("changing.MP4")};
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    const TMediaSummary out = TMediaReader::Summarize(arguments.back());
    EXPECT_NEAR(out.videoFrames, 20, 1);
    EXPECT_NEAR(out.audioSeconds, 2.0, 0.1);
    EXPECT_GT(TMediaReader::Picture(arguments.back(), 15).Mean(40, 40, 240, 160), 40);
}

TEST_F(ConvertTest, HandlesSpacesAndNonAsciiInPaths) {
    TestMedia::Recipe recipe;
    recipe.seconds = 1;
    const std::string source = Clip("Überraschung é 1.mp4", recipe);
    TConvertArguments arguments = ArgumentsFor(source, OutputPath("Ausgabe ä ü.MP4"));
    arguments.length = "1";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    EXPECT_TRUE(TMediaReader::Summarize(arguments.output).hasVideo);
}

}  // namespace
