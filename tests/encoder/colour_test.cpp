#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

extern "C" {
#include <libavutil/pixfmt.h>
}

#include "encoderfixture.h"
#include "mediareader.h"

namespace {

constexpr int kBars = 8;
// 75 % bars: white, yellow, cyan, green, magenta, red, blue, black.
const char* const kBarColours[kBars] = {"0xBFBFBF", "0xBFBF00", "0x00BFBF", "0x00BF00",
                                        "0xBF00BF", "0xBF0000", "0x0000BF", "0x000000"};

// A lavfi graph of the eight bars side by side as RGB, width x height, 2 s at 10 pictures a second.
std::string BarsGraph(int width, int height) {
    std::string graph;
    std::string inputs;
    for (int i = 0; i < kBars; ++i) {
        const std::string label = "[b" + std::to_string(i) + "]";
        graph += std::string("color=c=") + kBarColours[i] + ":s=" + std::to_string(width / kBars) +
                 "x" + std::to_string(height) + ":r=10:d=2,format=gbrp" + label + ";";
        inputs += label;
    }
    return graph + inputs + "hstack=inputs=8";
}

std::vector<TRgb> BarCentres(const TRgbPicture& picture, int top = 0, int height = 0) {
    std::vector<TRgb> centres;
    const int row = top + (height ? height : picture.height) / 2;
    for (int i = 0; i < kBars; ++i) {
        centres.push_back(picture.At(picture.width * (2 * i + 1) / (2 * kBars), row));
    }
    return centres;
}

int LargestError(const std::vector<TRgb>& got, const std::vector<TRgb>& wanted) {
    int largest = 0;
    for (std::size_t i = 0; i < got.size() && i < wanted.size(); ++i) {
        largest = std::max({largest, std::abs(got[i].r - wanted[i].r),
                            std::abs(got[i].g - wanted[i].g), std::abs(got[i].b - wanted[i].b)});
    }
    return largest;
}

double Hue(const TRgb& c) {
    const int high = std::max({c.r, c.g, c.b});
    const double span = high - std::min({c.r, c.g, c.b});
    if (span <= 0) {
        return 0;
    }
    double hue = high == c.r   ? 60 * std::fmod((c.g - c.b) / span + 6, 6)
                 : high == c.g ? 60 * ((c.b - c.r) / span + 2)
                               : 60 * ((c.r - c.g) / span + 4);
    return hue;
}

double Saturation(const TRgb& c) {
    const int high = std::max({c.r, c.g, c.b});
    return high ? double(high - std::min({c.r, c.g, c.b})) / high : 0;
}

double HueDistance(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, 360 - d);
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ColourTest : public TEncoderFixture {
  protected:
    // HD bars whose Y'CbCr carries BT.709 coefficients; `tagged` says so in the stream, else the
    // file (FFV1 in AVI) carries no colour tag at all.
    static std::string Bt709Bars(bool tagged) {
        const std::string path = Media().PathStd() + (tagged ? "bars709.mkv" : "bars709.avi");
        if (!FileExists(path)) {
            std::vector<std::string> arguments = {
                "-hide_banner",
                "-nostdin",
                "-loglevel",
                "error",
                "-y",
                "-f",
                "lavfi",
                "-i",
                BarsGraph(1280, 720) + ",scale=out_color_matrix=bt709:out_range=tv,format=yuv420p",
                "-c:v",
                "ffv1"};
            if (tagged) {
                arguments.insert(arguments.end(),
                                 {"-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc",
                                  "bt709", "-color_range", "tv"});
            }
            arguments.push_back(path);
            EXPECT_TRUE(TestMedia::Run("ffmpeg", arguments)) << "could not make " << path;
        }
        return path;
    }

    // 10-bit HEVC BT.2020 bars whose signal is 75 % of the transfer's range, as HDR test charts
    // are: about 1000 nits for PQ, HLG's reference white.
    static std::string HdrBars(const std::string& transfer) {
        const std::string path = Media().PathStd() + "bars-" + transfer + ".mkv";
        if (!FileExists(path)) {
            const std::string tags = "zscale=m=2020_ncl:r=tv:p=2020:pin=2020:t=" + transfer +
                                     ":tin=" + transfer + ",format=yuv420p10le";
            EXPECT_TRUE(TestMedia::Run(
                "ffmpeg", {"-hide_banner", "-nostdin",     "-loglevel",
                           "error",        "-y",           "-f",
                           "lavfi",        "-i",           BarsGraph(1280, 720) + "," + tags,
                           "-c:v",         "libx265",      "-preset",
                           "ultrafast",    "-x265-params", "log-level=error",
                           "-colorspace",  "bt2020nc",     "-color_primaries",
                           "bt2020",       "-color_trc",   transfer,
                           "-color_range", "tv",           path}))
                << "could not make " << path;
        }
        return path;
    }

    std::string Convert(const std::string& source, const std::string& format,
                        const std::string& kbps) {
        TConvertArguments arguments;
        arguments.input = source;
        arguments.output = OutputPath("bars." + format);
        arguments.format = format;
        arguments.frameSize = "320x240";
        arguments.videoKbps = kbps;
        EXPECT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
        return arguments.output;
    }

    static void ExpectSdrBars(const std::vector<TRgb>& bars) {
        const std::vector<TRgb> nominal = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191},
                                           {0, 191, 0},     {191, 0, 191}, {191, 0, 0},
                                           {0, 0, 191},     {0, 0, 0}};
        const TRgb& grey = bars[0];
        EXPECT_GE(grey.g, 90);
        EXPECT_LE(grey.g, 235);
        EXPECT_LE(std::abs(grey.r - grey.g) + std::abs(grey.b - grey.g), 6) << "grey is tinted";
        for (int i = 1; i < kBars - 1; ++i) {
            SCOPED_TRACE("bar " + std::to_string(i));
            EXPECT_GE(Saturation(bars[i]), 0.85);
            EXPECT_GE(std::max({bars[i].r, bars[i].g, bars[i].b}), 150);
            EXPECT_LE(HueDistance(Hue(bars[i]), Hue(nominal[i])), 15);
        }
    }
};

// Phones, PSPs and iPods decode SD pictures with BT.601 coefficients whatever the source was;
// the 3GP and PSP files carry no colour box, so there the tags can only come from the stream.
TEST_F(ColourTest, Bt709SourceDecodesRightWithBt601OnEveryFamily) {
    const std::string source = Bt709Bars(true);
    const std::vector<TRgb> wanted =
        BarCentres(TMediaReader::RgbPicture(source, 5, TDecodeMatrix::Bt709));
    struct Case {
        std::string format, kbps;
    };
    for (const Case& c : {Case{"3gp", "384"}, Case{"psp", "300"}, Case{"mp4", "500"}}) {
        SCOPED_TRACE(c.format);
        const std::string output = Convert(source, c.format, c.kbps);
        const TRgbPicture picture = TMediaReader::RgbPicture(output, 5, TDecodeMatrix::Bt601);
        ASSERT_EQ(picture.width, 320);
        EXPECT_LE(LargestError(BarCentres(picture), wanted), 8);
        EXPECT_EQ(picture.space, AVCOL_SPC_SMPTE170M);
        EXPECT_EQ(picture.range, AVCOL_RANGE_MPEG);
        EXPECT_EQ(picture.primaries, AVCOL_PRI_BT709);
        EXPECT_EQ(picture.transfer, AVCOL_TRC_BT709);
    }
    // The MP4 colour box: nclx, primaries 1, transfer 1, matrix 6, limited range.
    const std::string mp4 = FileBytes(OutputPath("bars.mp4"));
    EXPECT_NE(mp4.find(std::string("colrnclx\0\x01\0\x01\0\x06\0", 15)), std::string::npos);
}

// An untagged HD picture is taken for BT.709 as players take it; untagged SD stays BT.601.
TEST_F(ColourTest, UntaggedSourcesAreReadAsPlayersGuessBySize) {
    const std::string hd = Bt709Bars(false);
    ASSERT_EQ(TMediaReader::RgbPicture(hd, 0, TDecodeMatrix::Bt601).space, AVCOL_SPC_UNSPECIFIED);
    const std::vector<TRgb> wanted =
        BarCentres(TMediaReader::RgbPicture(hd, 5, TDecodeMatrix::Bt709));
    const TRgbPicture converted =
        TMediaReader::RgbPicture(Convert(hd, "mp4", "500"), 5, TDecodeMatrix::Bt601);
    EXPECT_LE(LargestError(BarCentres(converted), wanted), 8);

    const std::string sd = Media().PathStd() + "bars601.avi";
    ASSERT_TRUE(TestMedia::Run(
        "ffmpeg",
        {"-hide_banner", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
         BarsGraph(640, 480) + ",scale=out_color_matrix=bt601:out_range=tv,format=yuv420p", "-c:v",
         "ffv1", sd}));
    const std::vector<TRgb> sdWanted =
        BarCentres(TMediaReader::RgbPicture(sd, 5, TDecodeMatrix::Bt601));
    const TRgbPicture sdConverted =
        TMediaReader::RgbPicture(Convert(sd, "3gp", "384"), 5, TDecodeMatrix::Bt601);
    EXPECT_LE(LargestError(BarCentres(sdConverted), sdWanted), 8);
}

TEST_F(ColourTest, PqAndHlgSourcesAreToneMappedToSaturatedSdrBars) {
    for (const std::string transfer : {"smpte2084", "arib-std-b67"}) {
        SCOPED_TRACE(transfer);
        const std::string output = Convert(HdrBars(transfer), "psp", "300");
        const TRgbPicture picture = TMediaReader::RgbPicture(output, 5, TDecodeMatrix::Bt601);
        ASSERT_EQ(picture.width, 320);
        ExpectSdrBars(BarCentres(picture));
        EXPECT_EQ(picture.space, AVCOL_SPC_SMPTE170M);
        EXPECT_EQ(picture.transfer, AVCOL_TRC_BT709);
        EXPECT_EQ(picture.primaries, AVCOL_PRI_BT709);
    }
}

// Thumbnails are JPEGs, decoded with BT.601 at full range: HD and HDR sources are converted
// for them too. 1280x720 letter-boxed into 80x60 leaves the picture in rows 7 to 52.
TEST_F(ColourTest, ThumbnailsShowTheSourcesColours) {
    const std::string source = Bt709Bars(true);
    const std::string picture = OutputPath("bars709.jpg");
    ASSERT_EQ(Lib().GetPicture(source.c_str(), 1, "80x60", picture.c_str()), 0);
    const std::vector<TRgb> wanted =
        BarCentres(TMediaReader::RgbPicture(source, 5, TDecodeMatrix::Bt709));
    const TRgbPicture thumbnail = TMediaReader::RgbPicture(picture, 0, TDecodeMatrix::Bt601);
    ASSERT_EQ(thumbnail.width, 80);
    // Bars five pixels from a JPEG block's edge keep some of their neighbours' colour.
    EXPECT_LE(LargestError(BarCentres(thumbnail, 8, 44), wanted), 16);

    const std::string hdr = OutputPath("barspq.jpg");
    ASSERT_EQ(Lib().GetPicture(HdrBars("smpte2084").c_str(), 1, "80x60", hdr.c_str()), 0);
    ExpectSdrBars(BarCentres(TMediaReader::RgbPicture(hdr, 0, TDecodeMatrix::Bt601), 8, 44));
}

}  // namespace
