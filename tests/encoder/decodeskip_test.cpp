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
};

TEST_F(DecodeSkipTest, OutputIsFrameExactWithAndWithoutSkipping) {
    struct Case {
        std::string rate, start, length;
        int frames;
    };
    const std::vector<Case> cases = {
        {"15", "00:00:00", "4", 60},    // every other picture dropped, to the source's end
        {"12", "00:00:00", "3", 36},    // an odd rate, cut before the end
        {"15", "00:00:01.3", "2", 30},  // a trimmed start decodes from the key picture before it
        {"12", "00:00:00.7", "4", 40},  // both, to the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate + " fps from " + c.start);
        TConvertArguments arguments;
        arguments.input = BPictureClip();
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
}

}  // namespace
