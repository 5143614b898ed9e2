#include <cstdlib>

#include "encoderfixture.h"
#include "mediareader.h"

namespace {

// Pictures the rate conversion drops may go undecoded; the output must not notice.
class DecodeSkipTest : public TEncoderFixture {
  protected:
    // H.264 with B-pictures at 30 fps: most pictures a lower rate drops are non-reference ones.
    static std::string BPictureClip() {
        TestMedia::Recipe recipe;
        recipe.width = 320;
        recipe.height = 240;
        recipe.seconds = 4;
        recipe.frameRate = "30";
        recipe.videoCodec = "libx264";
        return Clip("b-pictures 30 fps.mp4", recipe);
    }

    // The library reads its switch when initialised.
    static int ConvertDecodingEveryPicture(const TConvertArguments& arguments) {
        setenv("DERO_DECODE_EVERY_PICTURE", "1", 1);
        Lib().Init();
        const int result = ConvertNow(arguments);
        unsetenv("DERO_DECODE_EVERY_PICTURE");
        Lib().Init();
        return result;
    }

    struct Case {
        std::string rate, start, length;
        int frames;
    };

    void ExpectFrameExact(const std::string& clip, const Case& c) {
        SCOPED_TRACE(c.rate + " fps from " + c.start);
        TConvertArguments arguments;
        arguments.input = clip;
        arguments.frameSize = "160x120";
        arguments.frameRate = c.rate;
        arguments.start = c.start;
        arguments.length = c.length;
        arguments.videoKbps = "300";
        arguments.output = OutputPath("skipped.MP4");
        ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
        const TConvertArguments skipped = arguments;
        arguments.output = OutputPath("every.MP4");
        ASSERT_EQ(ConvertDecodingEveryPicture(arguments), 0) << recorder_.LastLine();

        const auto withSkipping = TMediaReader::VideoPacketDigests(skipped.output);
        const auto everyPicture = TMediaReader::VideoPacketDigests(arguments.output);
        EXPECT_EQ(static_cast<int>(everyPicture.size()), c.frames);
        ASSERT_EQ(withSkipping.size(), everyPicture.size());
        for (std::size_t i = 0; i < everyPicture.size(); ++i) {
            ASSERT_EQ(withSkipping[i], everyPicture[i]) << "picture " << i;
        }
    }
};

TEST_F(DecodeSkipTest, OutputIsFrameExactWithAndWithoutSkipping) {
    const std::vector<Case> cases = {
        {"15", "00:00:00", "4", 60},    // every other picture dropped, to the source's end
        {"12", "00:00:00", "3", 36},    // an odd rate, cut before the end
        {"15", "00:00:01.3", "2", 30},  // a trimmed start decodes from the key picture before it
        {"12", "00:00:00.7", "4", 40},  // both, to the end
    };
    const std::string clip = BPictureClip();
    for (const Case& c : cases) {
        ExpectFrameExact(clip, c);
    }
}

// Each decoder leaves out its own kind of non-reference picture: B-pictures, HEVC's
// sub-layer non-reference slices, with and without temporal sub-layers.
TEST_F(DecodeSkipTest, EveryCodecThatLeavesPicturesOutStaysFrameExact) {
    struct Source {
        std::string name, codec;
        std::vector<std::string> options;
    };
    const std::vector<Source> sources = {
        {"mpeg2 b.mpg", "mpeg2video", {"-bf", "2", "-b:v", "2M"}},
        {"mpeg4 b.mp4", "mpeg4", {"-bf", "2", "-q:v", "4"}},
        {"hevc.mp4", "libx265", {"-x265-params", "log-level=error"}},
        {"hevc layers.mkv", "libx265", {"-x265-params", "log-level=error:temporal-layers=1"}},
    };
    for (const Source& source : sources) {
        SCOPED_TRACE(source.name);
        TestMedia::Recipe recipe;
        recipe.width = 320;
        recipe.height = 240;
        recipe.seconds = 3;
        recipe.frameRate = "30";
        recipe.videoCodec = source.codec;
        recipe.videoOptions = source.options;
        recipe.audioChannels = 0;
        const std::string clip = Clip(source.name, recipe);
        ExpectFrameExact(clip, {"15", "00:00:00", "3", 45});
        ExpectFrameExact(clip, {"12", "00:00:00.9", "2", 24});
    }
}

}  // namespace
