#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>

#include "dero_player.h"
#include "playerprobe.h"
#include "support/tempdir.h"
#include "support/testmedia.h"

namespace {

constexpr int kPanelWidth = 300;
constexpr int kPanelHeight = 224;

int ThreadCount() {
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(tasks)) {
            count += entry->d_name[0] != '.';
        }
        closedir(tasks);
    }
    return count;
}

bool FileHeldOpen(const std::string& path) {
    bool held = false;
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (dirent* entry = readdir(fds)) {
            char target[4096] = {};
            const std::string link = std::string("/proc/self/fd/") + entry->d_name;
            const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
            held = held || (length > 0 && path == target);
        }
        closedir(fds);
    }
    return held;
}

class PlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TestMedia::Available()) {
            GTEST_SKIP() << "the ffmpeg command is needed to make clips";
        }
        threadsBefore_ = ThreadCount();
    }

    void TearDown() override {
        PlayerSetVideoWindow(nullptr, 0, 1);
        PlayerStop();
        PlayerClose();
        PlayerSetCallback(nullptr);
    }

    std::string MakeClip(const std::string& name, const TestMedia::Recipe& recipe) {
        const std::string path = dir_.PathStd() + name;
        EXPECT_TRUE(TestMedia::Make(path, recipe));
        return path;
    }

    static TestMedia::Recipe Wide(double seconds = 4) {
        TestMedia::Recipe recipe;
        recipe.width = 320;
        recipe.height = 180;
        recipe.seconds = seconds;
        return recipe;
    }

    // Init, open and wait for code 3; the panel is attached with the given keep-aspect flag.
    void OpenLoaded(const std::string& path, bool keepAspect = true) {
        ASSERT_EQ(PlayerInit(probe_.Window()), 1);
        PlayerSetCallback(&PlayerProbe::EventFunction);
        PlayerSetVideoWindow(probe_.Panel(), 0, keepAspect ? 1 : 0);
        ASSERT_EQ(PlayerOpenFile(path.c_str(), 0), 1);
        ASSERT_TRUE(
            probe_.WaitForEvent(PLAYER_EVENT_LOADED, [](intptr_t value) { return value != 0; }));
    }

    double Seconds() {
        double duration = 0, seconds = -1, percent = 0;
        return PlayerGetPosition(&duration, &seconds, &percent) ? seconds : -1;
    }

    TempDir dir_;
    PlayerProbe probe_{kPanelWidth, kPanelHeight};
    int threadsBefore_ = 0;
};

TEST_F(PlayerTest, OpenAsksForTheHookReportsTheSeekableFileAndShowsItLetterBoxed) {
    OpenLoaded(MakeClip("wide.mp4", Wide()));
    const auto messages = probe_.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front().Number, static_cast<uint32_t>(WM_PLAYER_HOOK));
    const auto* record = reinterpret_cast<const unsigned char*>(probe_.LoadedRecord());
    EXPECT_NE(record[8], 0);
    EXPECT_NEAR(probe_.LoadedRecord()->Duration, 4.0, 0.1);

    ASSERT_EQ(PlayerPlay(1.0), 1);
    // 16:9 in 300 x 224 is 300 x 169: bars of about 27 rows above and below.
    PlayerProbe::Frame frame;
    ASSERT_TRUE(probe_.WaitForFrame([](const auto& f) { return !f.RowBlack(112); }, &frame));
    EXPECT_EQ(frame.Width, kPanelWidth);
    EXPECT_EQ(frame.Height, kPanelHeight);
    EXPECT_TRUE(frame.RowBlack(5));
    EXPECT_TRUE(frame.RowBlack(kPanelHeight - 6));
    EXPECT_FALSE(frame.ColumnBlack(2));

    // Without the flag the picture fills the panel, at once and while playing.
    PlayerSetVideoWindow(probe_.Panel(), 0, 0);
    EXPECT_TRUE(probe_.WaitForFrame([](const auto& f) { return !f.RowBlack(5); }));
}

TEST_F(PlayerTest, RotatedClipShowsUpright) {
    TestMedia::Recipe recipe = Wide();
    recipe.rotation = 90;
    OpenLoaded(MakeClip("rotated.mp4", recipe));
    ASSERT_EQ(PlayerPlay(1.0), 1);
    // Upright it is 180 x 320: 126 x 224 in the panel, black columns at both sides and picture
    // from the top row to the bottom row in the middle.
    PlayerProbe::Frame frame;
    ASSERT_TRUE(probe_.WaitForFrame([](const auto& f) { return !f.ColumnBlack(150); }, &frame));
    EXPECT_TRUE(frame.ColumnBlack(40));
    EXPECT_TRUE(frame.ColumnBlack(kPanelWidth - 41));
    EXPECT_FALSE(frame.RowBlack(2));
    EXPECT_FALSE(frame.RowBlack(kPanelHeight - 3));
}

TEST_F(PlayerTest, PositionAdvancesWhilePlayingAndStandsStillWhilePaused) {
    OpenLoaded(MakeClip("wide.mp4", Wide()));
    ASSERT_EQ(PlayerPlay(1.0), 1);
    ASSERT_TRUE(
        probe_.WaitForEvent(PLAYER_EVENT_RUNNING, [](intptr_t value) { return value >= 0; }));
    ASSERT_TRUE(probe_.WaitFor([&] { return Seconds() > 0.5; }));

    ASSERT_EQ(PlayerPause(), 1);
    ASSERT_TRUE(probe_.WaitForEvent(PLAYER_EVENT_PAUSED, [](intptr_t) { return true; }));
    const double paused = Seconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_NEAR(Seconds(), paused, 1.0 / 25);
    double duration = 0, seconds = 0, percent = 0;
    ASSERT_EQ(PlayerGetPosition(&duration, &seconds, &percent), 1);
    EXPECT_NEAR(percent, 100 * seconds / duration, 1.0);
}

TEST_F(PlayerTest, SeekLandsOnTheFrameAtTheAskedTime) {
    OpenLoaded(MakeClip("wide.mp4", Wide()));
    constexpr double kFrame = 1.0 / 25;
    ASSERT_EQ(PlayerSeek(2.3), 1);
    EXPECT_TRUE(probe_.WaitFor([&] { return std::fabs(Seconds() - 2.3) <= kFrame; }));
}

TEST_F(PlayerTest, BurstOfSeeksEndsExactlyOnTheLastTarget) {
    OpenLoaded(MakeClip("wide.mp4", Wide()));
    for (double target = 0.2; target < 3.0; target += 0.2) {
        PlayerSeek(target);
    }
    PlayerSeek(1.7);
    EXPECT_TRUE(probe_.WaitFor([&] { return std::fabs(Seconds() - 1.7) <= 1.0 / 25; }));
    // Still paused: a drag never starts playback.
    for (const auto& message : probe_.Messages()) {
        EXPECT_FALSE(message.Number == WM_PLAYER_EVENT && message.Code == PLAYER_EVENT_RUNNING);
    }
}

TEST_F(PlayerTest, EndOfFileIsReportedOnBothChannelsAndLeavesNothingToPlay) {
    OpenLoaded(MakeClip("short.mp4", Wide(1)));
    ASSERT_EQ(PlayerPlay(1.0), 1);
    ASSERT_TRUE(probe_.WaitForEvent(PLAYER_EVENT_RUNNING,
                                    [](intptr_t value) { return value == PLAYER_VALUE_GONE; }));
    // Beside the word that the sound is dropped, on a machine without an audio device.
    const auto endCalls = [&] {
        std::vector<PlayerProbe::Call> calls = probe_.Calls();
        std::erase_if(calls, [](const auto& call) { return call.Code == PLAYER_CALL_SILENT; });
        return calls;
    };
    ASSERT_TRUE(probe_.WaitFor([&] { return !endCalls().empty(); }));
    EXPECT_EQ(endCalls().front().Code, PLAYER_CALL_END);
    EXPECT_EQ(PlayerPlay(1.0), 0);
    EXPECT_EQ(PlayerGetPosition(nullptr, nullptr, nullptr), 0);
}

TEST_F(PlayerTest, RandomBytesTakeTheErrorPath) {
    const std::string path = dir_.PathStd() + "noise.mp4";
    ASSERT_TRUE(TestMedia::MakeRandomFile(path, 200000));
    ASSERT_EQ(PlayerInit(probe_.Window()), 1);
    PlayerSetCallback(&PlayerProbe::EventFunction);
    ASSERT_EQ(PlayerOpenFile(path.c_str(), 0), 1);
    ASSERT_TRUE(probe_.WaitForEvent(PLAYER_EVENT_SEEK,
                                    [](intptr_t value) { return value == PLAYER_VALUE_GONE; }));
    ASSERT_TRUE(probe_.WaitFor([&] { return !probe_.Calls().empty(); }));
    EXPECT_EQ(probe_.Calls().front().Code, 3);
    EXPECT_LT(probe_.Calls().front().Value, 0);
    EXPECT_EQ(probe_.LoadedRecord(), nullptr);
    EXPECT_EQ(PlayerPlay(1.0), 0);
    EXPECT_EQ(PlayerSeek(1.0), 0);
}

TEST_F(PlayerTest, CloseReleasesTheFileAndEndsEveryThread) {
    const std::string path = MakeClip("wide.mp4", Wide());
    OpenLoaded(path);
    ASSERT_EQ(PlayerPlay(1.0), 1);
    ASSERT_TRUE(
        probe_.WaitForEvent(PLAYER_EVENT_RUNNING, [](intptr_t value) { return value >= 0; }));
    EXPECT_TRUE(FileHeldOpen(path));
    EXPECT_GT(ThreadCount(), threadsBefore_);

    PlayerStop();
    PlayerClose();
    EXPECT_FALSE(FileHeldOpen(path));
    EXPECT_EQ(ThreadCount(), threadsBefore_);
    const size_t messages = probe_.Messages().size();
    const int frames = probe_.FramesPresented();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(probe_.Messages().size(), messages);
    EXPECT_EQ(probe_.FramesPresented(), frames);

    // Nothing runs any more: the entries refuse until the next PlayerInit, which starts afresh.
    EXPECT_EQ(PlayerPlay(1.0), 0);
    EXPECT_EQ(PlayerOpenFile(path.c_str(), 0), 0);
    ASSERT_EQ(PlayerInit(probe_.Window()), 1);
    ASSERT_EQ(PlayerOpenFile(path.c_str(), 0), 1);
    EXPECT_TRUE(probe_.WaitFor([&] {
        int loaded = 0;
        for (const auto& message : probe_.Messages()) {
            loaded += message.Number == WM_PLAYER_EVENT && message.Code == PLAYER_EVENT_LOADED;
        }
        return loaded == 2;
    }));
}

int LoadedMessages(PlayerProbe& probe) {
    int count = 0;
    for (const auto& message : probe.Messages()) {
        count += message.Number == WM_PLAYER_EVENT && message.Code == PLAYER_EVENT_LOADED;
    }
    return count;
}

int SilentCalls(PlayerProbe& probe) {
    int count = 0;
    for (const auto& call : probe.Calls()) {
        count += call.Code == PLAYER_CALL_SILENT;
    }
    return count;
}

TEST_F(PlayerTest, WithoutAnAudioDeviceSoundIsDroppedAndSaidOnce) {
    // No sound server and an ALSA without a single device, whatever this machine has; the
    // engine's list then ends at its silent output. Set before the engine starts.
    const std::string emptyConfig = dir_.PathStd() + "asound.conf";
    ASSERT_TRUE(TestMedia::MakeRandomFile(emptyConfig, 0));
    setenv("PULSE_SERVER", "unix:/nonexistent/pulse", 1);
    setenv("ALSA_CONFIG_PATH", emptyConfig.c_str(), 1);

    TestMedia::Recipe mute = Wide(3);
    mute.audioChannels = 0;
    OpenLoaded(MakeClip("mute.mp4", mute));
    ASSERT_EQ(PlayerPlay(1.0), 1);
    ASSERT_TRUE(probe_.WaitFor([&] { return Seconds() > 0.5; }));
    EXPECT_EQ(SilentCalls(probe_), 0) << "a file without sound has nothing to drop";

    for (int file = 1; file <= 2; ++file) {
        const std::string path = MakeClip("sound" + std::to_string(file) + ".mp4", Wide(3));
        ASSERT_EQ(PlayerOpenFile(path.c_str(), 0), 1);
        ASSERT_TRUE(probe_.WaitFor([&] { return LoadedMessages(probe_) == file + 1; }));
        ASSERT_EQ(PlayerPlay(1.0), 1);
        // The picture plays on without its sound.
        ASSERT_TRUE(probe_.WaitFor([&] { return SilentCalls(probe_) > 0 && Seconds() > 0.5; }))
            << file;
    }
    EXPECT_EQ(SilentCalls(probe_), 1);
    unsetenv("PULSE_SERVER");
    unsetenv("ALSA_CONFIG_PATH");
}

TEST_F(PlayerTest, EntriesWithoutAPlayerAreHarmless) {
    EXPECT_EQ(PlayerInit(nullptr), 0);
    EXPECT_EQ(PlayerOpenFile("/nonexistent", 0), 0);
    EXPECT_EQ(PlayerPlay(1.0), 0);
    EXPECT_EQ(PlayerPause(), 0);
    EXPECT_EQ(PlayerSeek(1.0), 0);
    EXPECT_EQ(PlayerGetPosition(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(PlayerStop(), 1);
    EXPECT_EQ(PlayerClose(), 1);
}

}  // namespace

// Phones record HDR; the preview shows such a clip as SDR colours, not washed out.
TEST_F(PlayerTest, HdrClipShowsSaturatedBars) {
    const char* const colours[] = {"0xBFBFBF", "0xBFBF00", "0x00BFBF", "0x00BF00",
                                   "0xBF00BF", "0xBF0000", "0x0000BF", "0x000000"};
    for (const std::string transfer : {"smpte2084", "arib-std-b67"}) {
        SCOPED_TRACE(transfer);
        std::string graph;
        std::string inputs;
        for (int i = 0; i < 8; ++i) {
            const std::string label = "[b" + std::to_string(i) + "]";
            graph += std::string("color=c=") + colours[i] + ":s=160x720:r=10:d=2,format=gbrp" +
                     label + ";";
            inputs += label;
        }
        graph += inputs + "hstack=inputs=8,zscale=m=2020_ncl:r=tv:p=2020:pin=2020:t=" + transfer +
                 ":tin=" + transfer + ",format=yuv420p10le";
        const std::string path = dir_.PathStd() + transfer + ".mkv";
        ASSERT_TRUE(TestMedia::Run("ffmpeg", {"-hide_banner", "-nostdin",     "-loglevel",
                                              "error",        "-y",           "-f",
                                              "lavfi",        "-i",           graph,
                                              "-c:v",         "libx265",      "-preset",
                                              "ultrafast",    "-x265-params", "log-level=error",
                                              "-colorspace",  "bt2020nc",     "-color_primaries",
                                              "bt2020",       "-color_trc",   transfer,
                                              "-color_range", "tv",           path}));
        OpenLoaded(path);
        ASSERT_EQ(PlayerPlay(1.0), 1);
        // The grey bar is 75 % of the signal: below white once tone-mapped, not clipped to it.
        const auto grey = [](const PlayerProbe::Frame& f) {
            return int((f.At(kPanelWidth / 16, 112) >> 8) & 255);
        };
        PlayerProbe::Frame frame;
        ASSERT_TRUE(probe_.WaitForFrame(
            [&](const auto& f) { return grey(f) >= 90 && grey(f) <= 235; }, &frame))
            << "grey bar at " << grey(frame);
        // Yellow, cyan, green, magenta, red, blue: the strong channels stay far above the weak.
        const uint32_t strong[] = {0xFFFF00, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0x0000FF};
        for (int i = 1; i < 7; ++i) {
            const uint32_t pixel = frame.At(kPanelWidth * (2 * i + 1) / 16, 112);
            for (int shift : {16, 8, 0}) {
                const int value = int((pixel >> shift) & 255);
                if ((strong[i - 1] >> shift) & 255) {
                    EXPECT_GE(value, 120) << "bar " << i;
                } else {
                    EXPECT_LE(value, 40) << "bar " << i;
                }
            }
        }
        PlayerStop();
        PlayerClose();
    }
}
