#include <algorithm>
#include <fstream>
#include <map>
#include <numeric>
#include <regex>

#include "encoderfixture.h"
#include "mediareader.h"

namespace {

// Maximum rate (bit/s) and decoder buffer (bits) of each MPEG-4 Simple Profile level.
struct TLevelModel {
    double bitsPerSecond;
    double bufferBits;
};
const std::map<int, TLevelModel> kLevels = {
    {1, {64e3, 10 * 16384.0}},   {2, {128e3, 40 * 16384.0}},   {3, {384e3, 40 * 16384.0}},
    {4, {4000e3, 80 * 16384.0}}, {5, {8000e3, 112 * 16384.0}}, {6, {12000e3, 248 * 16384.0}}};

struct TStreamRate {
    double averageBitsPerSecond = 0;
    int underflows = 0;  // pictures not wholly in the decoder's buffer when they are due
};

// A decoder of the level: its buffer starts at the default occupancy (170/256), fills at the
// level's maximum rate until full, and gives up each picture's bits when the picture is due.
TStreamRate RateOf(const std::vector<TPacketSize>& packets, double frameRate,
                   const TLevelModel& level) {
    TStreamRate rate;
    double total = 0;
    double buffer = level.bufferBits * 170 / 256;
    for (const TPacketSize& packet : packets) {
        const double bits = double(packet.bytes) * 8;
        total += bits;
        buffer -= bits;
        if (buffer < 0) {
            ++rate.underflows;
            buffer = 0;
        }
        buffer = std::min(level.bufferBits, buffer + level.bitsPerSecond / frameRate);
    }
    rate.averageBitsPerSecond = total / (double(packets.size()) / frameRate);
    return rate;
}

// Each picture's PSNR (Y'CbCr average) against the source brought to the output's size and rate,
// read by the `ffmpeg` command's psnr filter.
std::vector<double> PicturePsnr(const std::string& output, const std::string& source,
                                const std::string& size, const std::string& rate,
                                const std::string& statsPath) {
    const std::string graph = "[1:v]fps=" + rate + ",scale=" + size +
                              ":flags=bicubic,format=yuv420p[r];[0:v]format=yuv420p[d];"
                              "[d][r]psnr=shortest=1:stats_file=" +
                              statsPath;
    EXPECT_TRUE(
        TestMedia::Run("ffmpeg", {"-hide_banner", "-nostdin", "-loglevel", "error", "-i", output,
                                  "-i", source, "-lavfi", graph, "-f", "null", "-"}));
    std::vector<double> values;
    std::ifstream stats(statsPath);
    const std::regex average("psnr_avg:([0-9.]+)");
    for (std::string line; std::getline(stats, line);) {
        std::smatch match;
        if (std::regex_search(line, match, average)) {
            values.push_back(std::stod(match[1]));
        }
    }
    return values;
}

double Mean(const std::vector<double>& values) {
    return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}

class RateControlTest : public TEncoderFixture {
  protected:
    // Moving noise over a test pattern: every picture costs far more bits than any profile
    // grants, so only the rate control keeps the stream to its rate.
    static std::string DetailedClip() {
        static const std::string path = [] {
            const std::string made = Media().PathStd() + "detailed.mkv";
            const bool ok = TestMedia::Run(
                "ffmpeg", {"-hide_banner", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi",
                           "-i", "testsrc2=size=640x480:rate=25:duration=4,noise=alls=24:allf=t",
                           "-c:v", "mpeg4", "-q:v", "2", made});
            EXPECT_TRUE(ok) << "could not make " << made;
            return made;
        }();
        return path;
    }
};

// Stock profiles of each family, among them the lowest rates and those nearest their level's
// ceiling, where the rate control has the least room.
TEST_F(RateControlTest, DetailedPicturesKeepTheAskedRateAndTheWrittenLevel) {
    struct Case {
        std::string name, format, size, rate, kbps;
    };
    const std::vector<Case> cases = {
        {"Phone Small", "3gp", "128x96", "10", "48"},
        {"Phone CIF", "3gp", "352x288", "15", "384"},
        {"PSP Small", "psp", "320x240", "15", "300"},
        {"iPod TV Out", "mp4", "640x480", "29.97", "2500"},
        {"PDA QVGA", "mp4", "320x240", "15", "384"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TConvertArguments arguments;
        arguments.input = DetailedClip();
        arguments.output = OutputPath("rate." + c.format);
        arguments.length = "4";
        arguments.format = c.format;
        arguments.frameSize = c.size;
        arguments.frameRate = c.rate;
        arguments.videoKbps = c.kbps;
        arguments.channels = "2";
        arguments.sampleRate = "24000";
        ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
        const TMediaSummary summary = TMediaReader::Summarize(arguments.output);
        ASSERT_EQ(kLevels.count(summary.videoLevel), 1u) << summary.videoLevel;
        const TLevelModel& level = kLevels.at(summary.videoLevel);
        const TStreamRate rate =
            RateOf(TMediaReader::VideoPackets(arguments.output), summary.frameRate, level);
        // The noise never lets the encoder save much, so the whole clip lands on the asked rate
        // wherever the level allows it; a short clip may also spend what the buffer held at the
        // start.
        const double target = std::min(std::stod(c.kbps) * 1000, level.bitsPerSecond);
        EXPECT_LE(rate.averageBitsPerSecond, target * 1.10);
        EXPECT_GE(rate.averageBitsPerSecond, target * 0.95);
        EXPECT_EQ(rate.underflows, 0) << "level " << summary.videoLevel;
    }
}

// A phone profile never leaves the level phones decode, even when its rate reaches that level's
// ceiling.
TEST_F(RateControlTest, PhoneOutputStaysWithinLevelThree) {
    TConvertArguments arguments;
    arguments.input = DetailedClip();
    arguments.output = OutputPath("ceiling.3gp");
    arguments.length = "2";
    arguments.format = "3gp";
    arguments.frameSize = "352x288";
    arguments.videoKbps = "2000";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    const TMediaSummary summary = TMediaReader::Summarize(arguments.output);
    EXPECT_EQ(summary.videoLevel, 3);
    const TStreamRate rate =
        RateOf(TMediaReader::VideoPackets(arguments.output), summary.frameRate, kLevels.at(3));
    EXPECT_EQ(rate.underflows, 0);
    EXPECT_LE(rate.averageBitsPerSecond, kLevels.at(3).bitsPerSecond * 1.10);
}

}  // namespace

namespace {

// At the lowest phone rate a key picture costs several predicted pictures' worth; the pictures
// between keys must not fall so far behind that the picture visibly pulses once a group.
TEST_F(RateControlTest, KeyPicturesDoNotStandOutAtTheLowestPhoneRate) {
    TConvertArguments arguments;
    arguments.input = DetailedClip();
    arguments.output = OutputPath("pulse.3gp");
    arguments.length = "4";
    arguments.format = "3gp";
    arguments.frameSize = "128x96";
    arguments.frameRate = "10";
    arguments.videoKbps = "48";
    arguments.channels = "1";
    arguments.sampleRate = "8000";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    const std::vector<double> psnr =
        PicturePsnr(arguments.output, arguments.input, "128:96", "10", OutputPath("psnr.log"));
    const std::vector<TPacketSize> packets = TMediaReader::VideoPackets(arguments.output);
    ASSERT_EQ(psnr.size(), packets.size());
    std::vector<double> key, other;
    for (std::size_t i = 0; i < packets.size(); ++i) {
        (packets[i].key ? key : other).push_back(psnr[i]);
    }
    ASSERT_GE(key.size(), 3u);
    EXPECT_LE(Mean(key) - Mean(other), 2.0) << "mean " << Mean(psnr);
}

}  // namespace
