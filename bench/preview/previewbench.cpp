// preview-bench: the preview's player library on 720p and 1080p H.264 clips, played into a
// stand-in for the 300 x 224 preview panel the way the program drives it.
//
//   preview-bench [work folder]      (default /tmp/dero-bench/preview/)
//
// For each clip (made once with the `ffmpeg` command, 25 s at 25 fps):
//   - open -> first picture presented: PlayerOpenFile, then on code 3 the panel is attached and
//     PlayerPlay called, as the program does; the clock stops at the first present whose pixels
//     are the clip's first picture (the `ffmpeg` command's rendering of it, fitted into the panel),
//     not the blank one shown when the panel is attached;
//   - released seek -> asked picture: paused, PlayerSeek to a time; the clock stops at the first
//     present whose pixels are the command's rendering of that time, not the previous picture
//     redrawn. A time whose picture looks too much like its key picture or the one before it is
//     printed but not counted. The same times are then sought by mpv's own exact seek, in this
//     process through its client library (paused, no picture output), and the medians compared;
//   - CPU time (user + system) of this process over 20 s of playback, against
//     `mpv --no-config --vo=null --ao=null` playing the same 20 s in the same run (skipped when
//     mpv is missing), as a ratio; mpv decodes only, the library also scales into the panel;
//   - frames dropped: 20 s at 25 fps against the frames presented in those 20 s.
// Last, whole processes in alternating runs (five each, medians): this program opening a clip
// and showing the picture at a time (`preview-bench --show FILE SECONDS EXPECTED`, which ends
// once the panel shows it) against `mpv --hr-seek=yes --start=SECONDS --frames=1 --vo=null`,
// which decodes to the same picture and shows nothing; wall and CPU of each, as ratios.
// Ratios, not absolute times, are the result: on a shared machine absolute times wander.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include <mpv/client.h>

#include <fstream>
#include <memory>

#include "dero_player.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPanelWidth = 300;
constexpr int kPanelHeight = 224;
constexpr double kClipSeconds = 25;
constexpr double kPlaySeconds = 20;
constexpr double kFrameRate = 25;
constexpr auto kPatience = std::chrono::seconds(30);
// Mean block luma difference under which a present shows the expected picture.
constexpr double kSameLuma = 3.0;

// The program's side of the library: the main window's messages and the panel's frames, copied
// under one lock as the preview panel copies them.
class Stage {
  public:
    Stage() {
        window_.owner = this;
        window_.post = &Stage::Post;
        panel_.owner = this;
        panel_.present = &Stage::Present;
        panel_.size = &Stage::Size;
        frame_.resize(static_cast<size_t>(kPanelWidth) * kPanelHeight);
    }

    DeroWindowHandle* Window() { return &window_; }
    DeroWindowHandle* Panel() { return &panel_; }

    void Reset() {
        std::lock_guard lock(mutex_);
        loaded_ = false;
        landedMs_ = -1;
        frames_ = 0;
        seeking_ = false;
    }
    int Frames() {
        std::lock_guard lock(mutex_);
        return frames_;
    }
    bool WaitLoaded() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [this] { return loaded_; });
    }
    // Time of the first frame presented after the call (nullopt-like: false on timeout).
    bool WaitFrame(int after, Clock::time_point* at) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, kPatience, [&] { return frames_ > after; })) {
            return false;
        }
        *at = lastFrameAt_;
        return true;
    }
    // Call before PlayerSeek. While paused, the only frame a seek presents is the one it
    // landed on, whether the landing is reported before or after it.
    void BeginSeek() {
        std::lock_guard lock(mutex_);
        landedMs_ = -1;
        seeking_ = true;
        frameAfterSeek_ = false;
    }
    // Call before PlayerSeek: the clock stops at the first present that shows `expected`.
    void ExpectPicture(std::vector<uint32_t> expected) {
        std::lock_guard lock(mutex_);
        expected_ = std::move(expected);
        matched_ = false;
        closest_ = 255;
    }
    bool WaitExpectedPicture(Clock::time_point* at) {
        std::unique_lock lock(mutex_);
        const bool matched = changed_.wait_for(lock, kPatience, [&] { return matched_; });
        expected_.clear();
        *at = matchedAt_;
        if (!matched) {
            std::printf("  (closest present: mean block luma %.1f off)\n", closest_);
        }
        return matched;
    }
    bool WaitLandedFrame(int wantedMs, Clock::time_point* at) {
        std::unique_lock lock(mutex_);
        const bool landed = changed_.wait_for(lock, kPatience, [&] {
            return std::abs(landedMs_ - wantedMs) <= 40 && frameAfterSeek_;
        });
        seeking_ = false;
        *at = firstAfterSeekAt_;
        return landed;
    }

    // Block means of the panel's middle: a scaler's rounding or a line's offset between two
    // renderings of one picture moves them little, another picture of the moving pattern moves
    // them much.
    static double Difference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        constexpr int kBlock = 20;
        constexpr int kLeft = 30, kTop = 52, kColumns = 12, kRows = 6;
        double difference = 0;
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                double sumA = 0, sumB = 0;
                for (int y = 0; y < kBlock; ++y) {
                    for (int x = 0; x < kBlock; ++x) {
                        const size_t at =
                            static_cast<size_t>(kTop + row * kBlock + y) * kPanelWidth + kLeft +
                            column * kBlock + x;
                        sumA += Luma(a[at]);
                        sumB += Luma(b[at]);
                    }
                }
                difference += std::abs(sumA - sumB) / (kBlock * kBlock);
            }
        }
        return difference / (kRows * kColumns);
    }

  private:
    static void Post(void* owner, uint32_t message, uintptr_t code, intptr_t value) {
        auto* self = static_cast<Stage*>(owner);
        {
            std::lock_guard lock(self->mutex_);
            if (message == WM_PLAYER_EVENT && code == 3) {
                self->loaded_ = true;
            }
            if (message == WM_PLAYER_EVENT && code == 2 && value >= 0) {
                self->landedMs_ = static_cast<int>(value);
            }
        }
        self->changed_.notify_all();
    }
    static void Present(void* owner, const void* pixels, int width, int height, size_t stride) {
        auto* self = static_cast<Stage*>(owner);
        const auto now = Clock::now();
        std::lock_guard lock(self->mutex_);
        for (int y = 0; y < std::min(height, kPanelHeight); ++y) {
            std::memcpy(&self->frame_[static_cast<size_t>(y) * kPanelWidth],
                        static_cast<const char*>(pixels) + y * stride,
                        static_cast<size_t>(std::min(width, kPanelWidth)) * 4);
        }
        ++self->frames_;
        self->lastFrameAt_ = now;
        if (!self->expected_.empty() && !self->matched_) {
            const double difference = Difference(self->frame_, self->expected_);
            self->closest_ = std::min(self->closest_, difference);
            if (difference < kSameLuma) {
                self->matched_ = true;
                self->matchedAt_ = now;
            }
        }
        if (self->seeking_ && !self->frameAfterSeek_) {
            self->frameAfterSeek_ = true;
            self->firstAfterSeekAt_ = now;
        }
        self->changed_.notify_all();
    }
    static double Luma(uint32_t pixel) {
        return 0.114 * (pixel & 0xff) + 0.587 * ((pixel >> 8) & 0xff) +
               0.299 * ((pixel >> 16) & 0xff);
    }
    static void Size(void*, int* width, int* height) {
        *width = kPanelWidth;
        *height = kPanelHeight;
    }

    DeroWindowHandle window_{};
    DeroWindowHandle panel_{};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<uint32_t> frame_;
    bool loaded_ = false;
    int landedMs_ = -1;
    int frames_ = 0;
    bool seeking_ = false;
    bool frameAfterSeek_ = false;
    Clock::time_point lastFrameAt_;
    Clock::time_point firstAfterSeekAt_;
    std::vector<uint32_t> expected_;
    bool matched_ = false;
    double closest_ = 255;
    Clock::time_point matchedAt_;
};

bool Exists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

// Runs a program to its end, output discarded; its CPU seconds, or -1 when it failed.
double ChildCpuSeconds(const std::vector<std::string>& arguments) {
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (auto& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

double OwnCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

struct ChildRun {
    double wallMs = 0;
    double cpuSeconds = -1;  // -1 when the child failed
};

// Runs a whole program to its end, output discarded: its wall time and CPU seconds.
ChildRun TimeChild(const std::vector<std::string>& arguments) {
    const auto start = Clock::now();
    ChildRun run;
    run.cpuSeconds = ChildCpuSeconds(arguments);
    run.wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return run;
}

bool MpvAvailable() {
    return ChildCpuSeconds({"mpv", "--version"}) >= 0;
}

double Ms(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

template <typename T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? T() : values[values.size() / 2];
}

bool MakeClip(const std::string& path, int width, int height, int keySeconds) {
    if (Exists(path)) {
        return true;
    }
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    return ChildCpuSeconds({"ffmpeg", "-y", "-v", "error", "-f", "lavfi", "-i",
                            // The pattern alone looks much the same from second to second
                            // at the panel's size; a brightness ramp over the clip tells
                            // pictures apart by their time.
                            "testsrc2=size=" + size + ":rate=25:duration=" +
                                std::to_string(static_cast<int>(kClipSeconds)) +
                                ",eq=eval=frame:brightness=-0.5+t/" +
                                std::to_string(static_cast<int>(kClipSeconds)),
                            "-f", "lavfi", "-i",
                            "sine=frequency=440:sample_rate=48000:duration=" +
                                std::to_string(static_cast<int>(kClipSeconds)),
                            "-c:v", "libx264", "-preset", "veryfast", "-g",
                            std::to_string(static_cast<int>(keySeconds * kFrameRate)), "-pix_fmt",
                            "yuv420p", "-c:a", "aac", "-shortest", path}) >= 0;
}

// The `ffmpeg` command's picture at `seconds`, fitted into the panel with its shape kept and
// black bars, as BGRA; empty when the command fails. The clips are untagged high definition,
// which the player shows with the BT.709 matrix; the scaler's default would be BT.601.
std::vector<uint32_t> ExpectedPicture(const std::string& path, double seconds, int width,
                                      int height) {
    const int fittedHeight = std::min(kPanelHeight, kPanelWidth * height / width) & ~1;
    const int fittedWidth = std::min(kPanelWidth, kPanelHeight * width / height) & ~1;
    const std::string raw = path + ".expected.bgra";
    const std::string chain = "scale=" + std::to_string(fittedWidth) + ":" +
                              std::to_string(fittedHeight) +
                              ":in_color_matrix=bt709,pad=" + std::to_string(kPanelWidth) + ":" +
                              std::to_string(kPanelHeight) + ":(ow-iw)/2:(oh-ih)/2,format=bgra";
    std::vector<uint32_t> picture;
    if (ChildCpuSeconds({"ffmpeg", "-y", "-v", "error", "-ss", std::to_string(seconds), "-i", path,
                         "-frames:v", "1", "-vf", chain, "-f", "rawvideo", raw}) < 0) {
        return picture;
    }
    picture.resize(static_cast<size_t>(kPanelWidth) * kPanelHeight);
    FILE* file = std::fopen(raw.c_str(), "rb");
    const size_t read = file ? std::fread(picture.data(), 4, picture.size(), file) : 0;
    if (file) {
        std::fclose(file);
    }
    unlink(raw.c_str());
    if (read != picture.size()) {
        picture.clear();
    }
    return picture;
}

bool WritePicture(const std::string& path, const std::vector<uint32_t>& picture) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(picture.data()),
               static_cast<std::streamsize>(picture.size() * 4));
    return static_cast<bool>(file);
}

std::vector<uint32_t> ReadPicture(const std::string& path) {
    std::vector<uint32_t> picture(static_cast<size_t>(kPanelWidth) * kPanelHeight);
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(picture.data()),
              static_cast<std::streamsize>(picture.size() * 4));
    return file ? picture : std::vector<uint32_t>{};
}

// The child's side of the whole-process comparison: open the file as the program does, seek the
// paused file to the asked time and end once the panel shows the picture there. Exit status 0
// when it was shown.
int ShowPictureAt(const std::string& path, double seconds, const std::string& expectedFile) {
    Stage stage;
    const std::vector<uint32_t> expected = ReadPicture(expectedFile);
    if (expected.empty() || !PlayerInit(stage.Window())) {
        return 2;
    }
    PlayerSetVideoWindow(nullptr, 0, 1);
    PlayerOpenFile(path.c_str(), 0);
    bool shown = false;
    if (stage.WaitLoaded()) {
        stage.ExpectPicture(expected);
        PlayerSetVideoWindow(stage.Panel(), 0, 1);
        PlayerSeek(seconds);
        Clock::time_point at;
        shown = stage.WaitExpectedPicture(&at);
    }
    PlayerStop();
    PlayerClose();
    return shown ? 0 : 1;
}

struct MpvDestroy {
    void operator()(mpv_handle* core) const { mpv_terminate_destroy(core); }
};
using MpvCore = std::unique_ptr<mpv_handle, MpvDestroy>;

// Waits for the engine's next event of the given kind; false on an end of file or timeout.
bool WaitMpvEvent(mpv_handle* core, mpv_event_id wanted) {
    const auto deadline = Clock::now() + kPatience;
    while (Clock::now() < deadline) {
        const mpv_event* event = mpv_wait_event(core, 1.0);
        if (event->event_id == wanted) {
            return true;
        }
        if (event->event_id == MPV_EVENT_END_FILE || event->event_id == MPV_EVENT_SHUTDOWN) {
            return false;
        }
    }
    return false;
}

// mpv's own exact seek on the same file, paused, without picture output: the time from the seek
// command to the engine's restart, which comes once the picture at the asked time is decoded.
std::vector<double> MpvExactSeekMs(const std::string& path, const std::vector<double>& targets) {
    std::vector<double> times;
    MpvCore core(mpv_create());
    if (!core) {
        return times;
    }
    const char* const options[][2] = {{"config", "no"}, {"vo", "null"},     {"ao", "null"},
                                      {"hwdec", "no"},  {"hr-seek", "yes"}, {"pause", "yes"},
                                      {"idle", "yes"},  {"terminal", "no"}};
    for (const auto& option : options) {
        mpv_set_option_string(core.get(), option[0], option[1]);
    }
    if (mpv_initialize(core.get()) < 0) {
        return times;
    }
    const char* load[] = {"loadfile", path.c_str(), nullptr};
    if (mpv_command(core.get(), load) < 0 ||
        !WaitMpvEvent(core.get(), MPV_EVENT_PLAYBACK_RESTART)) {
        return times;
    }
    for (const double target : targets) {
        const std::string at = std::to_string(target);
        const char* seek[] = {"seek", at.c_str(), "absolute+exact", nullptr};
        const auto asked = Clock::now();
        if (mpv_command(core.get(), seek) < 0 ||
            !WaitMpvEvent(core.get(), MPV_EVENT_PLAYBACK_RESTART)) {
            continue;
        }
        times.push_back(Ms(Clock::now() - asked));
    }
    return times;
}

// Whole processes, alternately: this program showing the picture at `seconds` (open, paused
// seek, the first present whose pixels are that picture) against mpv's exact start at the same
// time, decoding to the same picture and showing nothing. Medians of five runs each.
void CompareWholeProcesses(const std::string& self, const std::string& path, double seconds,
                           double keySeconds, int width, int height) {
    const std::string expectedFile = path + ".at.bgra";
    if (!WritePicture(expectedFile, ExpectedPicture(path, seconds, width, height))) {
        return;
    }
    const std::string at = std::to_string(seconds);
    std::vector<double> ourWall, ourCpu, mpvWall, mpvCpu;
    for (int run = 0; run < 5; ++run) {
        const ChildRun ours = TimeChild({self, "--show", path, at, expectedFile});
        const ChildRun mpv =
            TimeChild({"mpv", "--no-config", "--vo=null", "--ao=null", "--hwdec=no",
                       "--hr-seek=yes", "--start=" + at, "--frames=1", path});
        if (ours.cpuSeconds < 0 || mpv.cpuSeconds < 0) {
            std::printf("  whole process at %.1f s: %s failed\n", seconds,
                        ours.cpuSeconds < 0 ? "the library" : "mpv");
            unlink(expectedFile.c_str());
            return;
        }
        ourWall.push_back(ours.wallMs);
        ourCpu.push_back(ours.cpuSeconds);
        mpvWall.push_back(mpv.wallMs);
        mpvCpu.push_back(mpv.cpuSeconds);
    }
    unlink(expectedFile.c_str());
    const double keyAfter = std::fmod(seconds, keySeconds);
    std::printf(
        "  whole process, picture at %.1f s (%.1f s after a key picture): wall %.0f ms vs mpv "
        "%.0f ms (%.2f), CPU %.2f s vs %.2f s (%.2f)\n",
        seconds, keyAfter, Median(ourWall), Median(mpvWall), Median(ourWall) / Median(mpvWall),
        Median(ourCpu), Median(mpvCpu), Median(ourCpu) / Median(mpvCpu));
}

std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void Bench(Stage& stage, const std::string& label, const std::string& path, int width, int height,
           double keySeconds, bool mpv) {
    std::printf("%s (%s; load average %s)\n", label.c_str(), path.c_str(), LoadAverage().c_str());
    const std::vector<double> targets = {3.3, 17.7, 9.1, 21.5, 6.6};
    std::vector<std::vector<uint32_t>> pictures;
    // How far each asked picture is from those a seek may show before it (the key picture it
    // starts from, the picture of the seek before): a match only counts when they differ.
    std::vector<double> distinct;
    for (size_t i = 0; i < targets.size(); ++i) {
        pictures.push_back(ExpectedPicture(path, targets[i], width, height));
        const double key = std::floor(targets[i] / keySeconds) * keySeconds;
        double apart = Stage::Difference(pictures[i], ExpectedPicture(path, key, width, height));
        if (i > 0) {
            apart = std::min(apart, Stage::Difference(pictures[i], pictures[i - 1]));
        }
        distinct.push_back(apart);
    }
    const std::vector<uint32_t> firstPicture = ExpectedPicture(path, 0, width, height);
    stage.Reset();
    PlayerInit(stage.Window());
    PlayerSetVideoWindow(nullptr, 0, 1);
    const auto opened = Clock::now();
    PlayerOpenFile(path.c_str(), 0);
    if (!stage.WaitLoaded()) {
        std::printf("  the library never reported the file open\n");
        PlayerStop();
        PlayerClose();
        return;
    }
    stage.ExpectPicture(firstPicture);
    PlayerSetVideoWindow(stage.Panel(), 0, 1);
    PlayerPlay(1.0);
    Clock::time_point first;
    if (!stage.WaitExpectedPicture(&first)) {
        std::printf("  the first picture was never presented\n");
        PlayerStop();
        PlayerClose();
        return;
    }
    std::printf("  open -> first picture presented: %.0f ms\n", Ms(first - opened));

    // 20 s of playback from the start, counted from the first frame after the jump back, so
    // the jump's own gap is not taken for dropped frames.
    stage.BeginSeek();
    PlayerSeek(0);
    Clock::time_point restarted;
    stage.WaitLandedFrame(0, &restarted);
    const int framesAtLanding = stage.Frames();
    stage.WaitFrame(framesAtLanding, &restarted);
    const int framesBefore = stage.Frames();
    const double cpuBefore = OwnCpuSeconds();
    const auto playStart = Clock::now();
    while (Clock::now() - playStart < std::chrono::duration<double>(kPlaySeconds)) {
        usleep(100 * 1000);
    }
    const double cpu = OwnCpuSeconds() - cpuBefore;
    const int presented = stage.Frames() - framesBefore;
    const int expected = static_cast<int>(kPlaySeconds * kFrameRate);
    std::printf(
        "  20 s of playback: %.2f s CPU (%.0f %% of one core), %d frames presented, %d "
        "dropped (%.1f %%)\n",
        cpu, 100 * cpu / kPlaySeconds, presented, std::max(0, expected - presented),
        100.0 * std::max(0, expected - presented) / expected);

    // Released seeks while paused, to places away from keyframes.
    PlayerPause();
    usleep(300 * 1000);
    std::vector<double> seekMs;
    std::vector<size_t> counted;  // the targets whose seeks count, for mpv's median too
    for (size_t i = 0; i < targets.size(); ++i) {
        stage.ExpectPicture(pictures[i]);
        const auto asked = Clock::now();
        PlayerSeek(targets[i]);
        Clock::time_point shown;
        if (stage.WaitExpectedPicture(&shown)) {
            const bool counts = distinct[i] >= 2 * kSameLuma;
            std::printf(
                "    seek to %4.1f s (%.1f s after a key picture): %.0f ms%s [apart %.1f]\n",
                targets[i], std::fmod(targets[i], keySeconds), Ms(shown - asked),
                counts ? "" : " (not counted: too like the pictures before it)", distinct[i]);
            if (counts) {
                seekMs.push_back(Ms(shown - asked));
                counted.push_back(i);
            }
        }
    }
    if (seekMs.empty()) {
        std::printf("  released seek -> asked picture: never presented\n");
    } else {
        std::printf("  released seek -> asked picture presented: median %.0f ms (%zu counted)\n",
                    Median(seekMs), seekMs.size());
    }
    PlayerStop();
    PlayerClose();
    const std::vector<double> mpvSeekMs = MpvExactSeekMs(path, targets);
    for (size_t i = 0; i < mpvSeekMs.size() && mpvSeekMs.size() == targets.size(); ++i) {
        std::printf("    mpv exact seek to %4.1f s: %.0f ms\n", targets[i], mpvSeekMs[i]);
    }
    if (mpvSeekMs.size() == targets.size() && !seekMs.empty()) {
        std::vector<double> mpvCounted;
        for (const size_t i : counted) {
            mpvCounted.push_back(mpvSeekMs[i]);
        }
        std::printf(
            "  mpv's own exact seek (paused, no picture output), same times: median %.0f "
            "ms; library / mpv = %.2f\n",
            Median(mpvCounted), Median(seekMs) / Median(mpvCounted));
    }

    if (!mpv) {
        std::printf("  mpv: not installed, no comparison\n");
        return;
    }
    const double mpvCpu =
        ChildCpuSeconds({"mpv", "--no-config", "--vo=null", "--ao=null", "--hwdec=no",
                         "--length=" + std::to_string(static_cast<int>(kPlaySeconds)), path});
    if (mpvCpu <= 0) {
        std::printf("  mpv: failed on the file\n");
        return;
    }
    std::printf("  mpv --vo=null, same 20 s: %.2f s CPU; library / mpv = %.2f\n", mpvCpu,
                cpu / mpvCpu);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--show") == 0) {
        return ShowPictureAt(argv[2], std::atof(argv[3]), argv[4]);
    }
    std::string work = argc > 1 ? argv[1] : "/tmp/dero-bench/preview/";
    if (work.back() != '/') {
        work += '/';
    }
    ChildCpuSeconds({"mkdir", "-p", work});
    const std::string hd = work + "h264-720p-key2s-ramp.mp4";
    const std::string fullHd = work + "h264-1080p-key10s-ramp.mp4";
    if (!MakeClip(hd, 1280, 720, 2) || !MakeClip(fullHd, 1920, 1080, 10)) {
        std::fprintf(stderr, "preview-bench: the ffmpeg command could not make the clips\n");
        return 1;
    }
    const bool mpv = MpvAvailable();
    Stage stage;
    Bench(stage, "720p H.264, 25 fps, a key picture every 2 s", hd, 1280, 720, 2, mpv);
    Bench(stage, "1080p H.264, 25 fps, a key picture every 10 s", fullHd, 1920, 1080, 10, mpv);
    if (!mpv) {
        return 0;
    }
    std::printf("open -> picture at a time, whole processes against mpv (load average %s)\n",
                LoadAverage().c_str());
    const std::string self = "/proc/self/exe";
    CompareWholeProcesses(self, hd, 8.6, 2, 1280, 720);
    CompareWholeProcesses(self, fullHd, 10.6, 10, 1920, 1080);
    CompareWholeProcesses(self, fullHd, 9.1, 10, 1920, 1080);
    return 0;
}
