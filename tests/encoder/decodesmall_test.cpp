#include <cmath>
#include <cstdlib>

#include "encoderfixture.h"
#include "lowreschoice.h"
#include "mediareader.h"

namespace {

using dero::TLowresChoice;

constexpr int kNoLimit = 3;

TEST(LowresChoiceTest, ShrinksOnlyAsFarAsTheOutputAllows) {
    // Half of 640 x 480 on both sides, and not a pixel more.
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 640, 480, 0, 320, 240), 1);
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 640, 480, 0, 322, 240), 0);
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 640, 480, 0, 320, 242), 0);
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 640, 480, 0, 160, 120), 2);
    // The narrower side decides: 1280 x 720 to 320 x 240 is a quarter across, a third down.
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 1280, 720, 0, 320, 240), 1);
    // An eighth is never asked for, and never more than the decoder can.
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 1920, 1080, 0, 176, 120), 2);
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, 1, 1920, 1080, 0, 176, 120), 1);
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, 0, 1920, 1080, 0, 176, 120), 0);
}

TEST(LowresChoiceTest, ATurnedSourceIsMeasuredUpright) {
    // 640 x 480 turned a quarter shows as 480 x 640: 240 x 320 is half, 320 x 240 is not.
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 640, 480, 90, 240, 320), 1);
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 640, 480, 270, 320, 240), 0);
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 640, 480, 180, 320, 240), 1);
}

TEST(LowresChoiceTest, PredictedCodecsAndUnknownSizesDecodeFully) {
    for (const AVCodecID codec :
         {AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MPEG4, AV_CODEC_ID_H263, AV_CODEC_ID_H264}) {
        EXPECT_EQ(TLowresChoice::Level(codec, kNoLimit, 640, 480, 0, 160, 120), 0) << codec;
    }
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 0, 0, 0, 160, 120), 0);
    EXPECT_EQ(TLowresChoice::Level(AV_CODEC_ID_MJPEG, kNoLimit, 640, 480, 0, 0, 0), 0);
}

// Pictures decoded small must land at the same times as pictures decoded fully and scaled, and
// look as close to the source.
class DecodeSmallTest : public TEncoderFixture {
  protected:
    // Moving detail at the source's own size: a picture scaled up from a smaller one would
    // hide what decoding small loses.
    static std::string DetailedJpegClip() {
        const std::string path = Media().PathStd() + "detailed mjpeg.avi";
        if (!FileExists(path)) {
            TestMedia::Run("ffmpeg",
                           {"-hide_banner", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi",
                            "-i", "testsrc2=size=640x480:rate=25,noise=alls=8:allf=t", "-t", "2",
                            "-c:v", "mjpeg", "-q:v", "3", path});
        }
        return path;
    }

    static int ConvertDecodingFullSize(const TConvertArguments& arguments) {
        setenv("DERO_DECODE_FULL_SIZE", "1", 1);
        Lib().Init();
        const int result = ConvertNow(arguments);
        unsetenv("DERO_DECODE_FULL_SIZE");
        Lib().Init();
        return result;
    }

    // Luma PSNR of every picture against the source area-averaged to the same size.
    static double Psnr(const std::vector<TLumaPicture>& pictures,
                       const std::vector<TLumaPicture>& source) {
        double squares = 0;
        double samples = 0;
        for (std::size_t i = 0; i < pictures.size() && i < source.size(); ++i) {
            for (std::size_t p = 0; p < pictures[i].luma.size(); ++p) {
                const double difference = double(pictures[i].luma[p]) - source[i].luma[p];
                squares += difference * difference;
            }
            samples += double(pictures[i].luma.size());
        }
        return samples > 0 ? 10 * std::log10(255.0 * 255.0 * samples / squares) : 0;
    }
};

TEST_F(DecodeSmallTest, HalfAndQuarterSizeLoseNothingAgainstFullDecoding) {
    const std::string clip = DetailedJpegClip();
    ASSERT_TRUE(FileExists(clip));
    struct Case {
        int width, height;
        std::string kbps;
    };
    for (const Case& c : {Case{320, 240, "400"}, Case{160, 120, "150"}}) {
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        SCOPED_TRACE(size);
        TConvertArguments arguments;
        arguments.input = clip;
        arguments.frameSize = size;
        arguments.frameRate = "25";
        arguments.videoKbps = c.kbps;
        arguments.output = OutputPath("small " + size + ".MP4");
        ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
        const std::string small = arguments.output;
        arguments.output = OutputPath("full " + size + ".MP4");
        ASSERT_EQ(ConvertDecodingFullSize(arguments), 0) << recorder_.LastLine();

        const auto smallPackets = TMediaReader::VideoPacketDigests(small);
        const auto fullPackets = TMediaReader::VideoPacketDigests(arguments.output);
        // Other pixels, hence other bits: the small decoding did happen.
        EXPECT_NE(smallPackets, fullPackets);
        std::vector<int64_t> smallTimes, fullTimes;
        for (const TPacketDigest& packet : smallPackets) {
            smallTimes.push_back(packet.pts);
        }
        for (const TPacketDigest& packet : fullPackets) {
            fullTimes.push_back(packet.pts);
        }
        EXPECT_EQ(fullTimes.size(), 50u);
        EXPECT_EQ(smallTimes, fullTimes);

        const auto source = TMediaReader::Pictures(clip, c.width, c.height);
        const double smallPsnr = Psnr(TMediaReader::Pictures(small), source);
        const double fullPsnr = Psnr(TMediaReader::Pictures(arguments.output), source);
        EXPECT_GT(fullPsnr, 25);
        EXPECT_GE(smallPsnr, fullPsnr - 0.3) << "full " << fullPsnr << " dB";
    }
}

}  // namespace
