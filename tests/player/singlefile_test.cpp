#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "dero_player.h"
#include "playerprobe.h"
#include "support/tempdir.h"
#include "support/testmedia.h"

namespace {

enum class Outcome { Loaded, Failed, Nothing };

// Records the names of the files opened in one folder, by whatever thread of the process.
class OpenWatch {
  public:
    explicit OpenWatch(const std::string& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(fd_, folder.c_str(), IN_OPEN);
    }
    ~OpenWatch() { close(fd_); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    std::set<std::string> Opened() {
        alignas(inotify_event) char buffer[8192];
        ssize_t length = 0;
        while ((length = read(fd_, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0) {
                    opened_.insert(event->name);
                }
                at += sizeof(inotify_event) + event->len;
            }
        }
        return opened_;
    }

  private:
    int fd_;
    std::set<std::string> opened_;
};

class SingleFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TestMedia::Available()) {
            GTEST_SKIP() << "the ffmpeg command is needed to make clips";
        }
        TestMedia::Recipe recipe;
        recipe.seconds = 1;
        ASSERT_TRUE(TestMedia::Make(dir_.PathStd() + "good.mp4", recipe));
        ASSERT_TRUE(TestMedia::Make(dir_.PathStd() + "good.ts", recipe));
    }

    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = dir_.PathStd() + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::string Read(const std::string& name) {
        std::ifstream in(dir_.PathStd() + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Opens path in a player of its own and waits for the file to load or fail.
    static Outcome Open(const std::string& path) {
        PlayerProbe probe(160, 120);
        if (PlayerInit(probe.Window()) != 1) {
            return Outcome::Nothing;
        }
        PlayerOpenFile(path.c_str(), 0);
        Outcome outcome = Outcome::Nothing;
        probe.WaitFor([&] {
            for (const auto& message : probe.Messages()) {
                if (message.Number == WM_PLAYER_EVENT && message.Code == 3 && message.Value) {
                    outcome = Outcome::Loaded;
                } else if (message.Number == WM_PLAYER_EVENT && message.Code == 2 &&
                           message.Value == -1) {
                    outcome = Outcome::Failed;
                }
            }
            return outcome != Outcome::Nothing;
        });
        PlayerClose();
        return outcome;
    }

    TempDir dir_;
};

TEST_F(SingleFileTest, ListsThatNameOtherFilesFailWithoutOpeningThem) {
    const std::string good = dir_.PathStd() + "good.mp4";
    const std::string lists[][2] = {
        {"list.m3u", "good.mp4\n"},
        {"full.m3u", good + "\n"},
        {"cut.edl", "# mpv EDL v0\n" + good + ",0,1\n"},
        {"joined.ffconcat", "ffconcat version 1.0\nfile good.mp4\n"},
        {"stream.m3u8",
         "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:1\n"
         "#EXTINF:1.0,\ngood.ts\n#EXT-X-ENDLIST\n"},
        // A list under a clip's name is still a list.
        {"disguised.mp4", "#EXTM3U\n#EXTINF:1,\ngood.mp4\n"},
    };
    for (const auto& [name, text] : lists) {
        const std::string path = Write(name, text);
        OpenWatch watch(dir_.PathStd());
        EXPECT_EQ(Open(path), Outcome::Failed) << name;
        const auto opened = watch.Opened();
        EXPECT_EQ(opened.count("good.mp4") + opened.count("good.ts"), 0u) << name;
    }
}

TEST_F(SingleFileTest, ClipPlaysAloneWithoutTheFilesBesideIt) {
    Write("good.srt", "1\n00:00:00,000 --> 00:00:01,000\nwords\n");
    Write("good.ass", "");
    Write("good.mka", "");
    Write("cover.jpg", "");
    OpenWatch watch(dir_.PathStd());
    EXPECT_EQ(Open(dir_.PathStd() + "good.mp4"), Outcome::Loaded);
    EXPECT_EQ(watch.Opened(), std::set<std::string>{"good.mp4"});
}

TEST_F(SingleFileTest, ProgramStreamBehindAnEditListHeaderPlaysAsTheStreamItIs) {
    TestMedia::Recipe recipe;
    recipe.videoCodec = "mpeg2video";
    recipe.audioCodec = "mp2";
    ASSERT_TRUE(TestMedia::Make(dir_.PathStd() + "good.mpg", recipe));
    Write("headed.mpg", "# mpv EDL v0\n" + Read("good.mpg"));
    EXPECT_EQ(Open(dir_.PathStd() + "headed.mpg"), Outcome::Loaded);
}

TEST_F(SingleFileTest, RelativeNamesAreFilesNotProtocols) {
    const std::string folder = dir_.PathStd();
    ASSERT_EQ(chdir(folder.c_str()), 0);
    // Would be the engine's own edit-list protocol if the name were taken as a location.
    ASSERT_EQ(mkdir("edl:", 0700), 0);
    ASSERT_TRUE(TestMedia::Make(folder + "edl:/good.mp4"));
    EXPECT_EQ(Open("edl://good.mp4"), Outcome::Loaded);
    EXPECT_EQ(Open("good.mp4"), Outcome::Loaded);
    ASSERT_EQ(chdir("/"), 0);
}

}  // namespace
