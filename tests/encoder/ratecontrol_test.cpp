#include <algorithm>
#include <map>

#include "encoderfixture.h"
#include "mediareader.h"

namespace {

// Maximum rate of each MPEG-4 Simple Profile level, bit/s.
const std::map<int, double> kLevelMaximum = {{1, 64e3},   {2, 128e3},  {3, 384e3},
                                             {4, 4000e3}, {5, 8000e3}, {6, 12000e3}};

struct TStreamRate {
    double averageBitsPerSecond = 0;
    double peakSecondBits = 0;  // the most bits any one second holds
};

TStreamRate RateOf(const std::vector<TPacketSize>& packets, double frameRate) {
    TStreamRate rate;
    double total = 0;
    double window = 0;
    std::size_t last = 0;
    for (std::size_t first = 0; first < packets.size(); ++first) {
        while (last < packets.size() &&
               packets[last].seconds < packets[first].seconds + 1.0 - 1e-6) {
            window += double(packets[last++].bytes) * 8;
        }
        rate.peakSecondBits = std::max(rate.peakSecondBits, window);
        window -= double(packets[first].bytes) * 8;
        total += double(packets[first].bytes) * 8;
    }
    rate.averageBitsPerSecond = total / (double(packets.size()) / frameRate);
    return rate;
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
        ASSERT_EQ(kLevelMaximum.count(summary.videoLevel), 1u) << summary.videoLevel;
        const TStreamRate rate =
            RateOf(TMediaReader::VideoPackets(arguments.output), summary.frameRate);
        const double asked = std::stod(c.kbps) * 1000;
        EXPECT_LE(rate.averageBitsPerSecond, asked * 1.10);
        // The noise never lets the encoder save much: a rate far below the asked one would be a
        // rate control that starves the pictures.
        EXPECT_GE(rate.averageBitsPerSecond,
                  std::min(asked, 0.7 * kLevelMaximum.at(summary.videoLevel)) * 0.85);
        EXPECT_LE(rate.peakSecondBits, kLevelMaximum.at(summary.videoLevel))
            << "level " << summary.videoLevel;
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
    EXPECT_LE(
        RateOf(TMediaReader::VideoPackets(arguments.output), summary.frameRate).peakSecondBits,
        kLevelMaximum.at(3));
}

}  // namespace
