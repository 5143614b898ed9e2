#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "encoderfixture.h"
#include "mediareader.h"
#include "messagewindow.h"

namespace {

class OutputNamesTest : public TEncoderFixture {
  protected:
    static std::string PlainClip() {
        TestMedia::Recipe recipe;
        recipe.seconds = 2;
        return Clip("two seconds.mp4", recipe);
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // A temporary as a run of process pid leaves it, last changed ageSeconds ago.
    std::string LeftOver(pid_t pid, const char* tag, int ageSeconds) const {
        const std::string path = OutputPath(".dero-" + std::to_string(pid) + "-" + tag + ".part");
        { std::ofstream(path) << "half a file"; }
        const timespec times[2] = {{::time(nullptr) - ageSeconds, 0},
                                   {::time(nullptr) - ageSeconds, 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        return path;
    }
    static pid_t DeadProcess() {
        const pid_t child = ::fork();
        if (child == 0) {
            ::_exit(0);
        }
        ::waitpid(child, nullptr, 0);
        return child;
    }
    bool HasNote(const std::string& text) const {
        for (const std::string& line : recorder_.Lines()) {
            if (line.rfind("note: ", 0) == 0 && line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(OutputNamesTest, EveryNameTheFileSystemAllowsIsWrittenWhereItIsNamed) {
    TConvertArguments arguments;
    arguments.input = PlainClip();
    arguments.length = "1";
    // 255 bytes, the longest name a folder entry may have.
    arguments.output = OutputPath(std::string(251, 'n') + ".MP4");
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    EXPECT_TRUE(TMediaReader::Summarize(arguments.output).hasVideo);

    // A folder whose name reads like a protocol is an ordinary folder.
    const std::string protocolLike = OutputPath("file:");
    ASSERT_EQ(::mkdir(protocolLike.c_str(), 0755), 0);
    arguments.output = protocolLike + "/clip.MP4";
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    EXPECT_TRUE(TMediaReader::Summarize(arguments.output).hasVideo);

    // A relative name has no one meaning: refused, nothing written.
    arguments.output = "file:/relative-" + std::to_string(::getpid()) + ".MP4";
    EXPECT_NE(ConvertNow(arguments), 0);
    EXPECT_NE(recorder_.LastLine().find("full path"), std::string::npos) << recorder_.LastLine();
    EXPECT_FALSE(FileExists("/relative-" + std::to_string(::getpid()) + ".MP4"));

    // A folder that is not there is named with the system's reason.
    arguments.output = OutputPath("missing/clip.MP4");
    EXPECT_NE(ConvertNow(arguments), 0);
    EXPECT_NE(recorder_.LastLine().find("cannot create the output file"), std::string::npos);
    EXPECT_NE(recorder_.LastLine().find(std::strerror(ENOENT)), std::string::npos)
        << recorder_.LastLine();
}

TEST_F(OutputNamesTest, TheNextRunRemovesOnlyTemporariesOfDeadRuns) {
    const pid_t dead = DeadProcess();
    const std::string stale = LeftOver(dead, "0000abcd", 3600);
    const std::string fresh = LeftOver(dead, "0000abce", 0);
    const std::string alive = LeftOver(::getppid(), "0000abcf", 3600);
    const std::string foreign = OutputPath(".clip.MP4.0000abcd.part");
    { std::ofstream(foreign) << "not ours"; }

    TConvertArguments arguments;
    arguments.input = PlainClip();
    arguments.length = "1";
    arguments.output = OutputPath("clip.MP4");
    ASSERT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
    EXPECT_FALSE(FileExists(stale));
    EXPECT_TRUE(FileExists(fresh));
    EXPECT_TRUE(FileExists(alive));
    EXPECT_TRUE(FileExists(foreign));
}

TEST_F(OutputNamesTest, AFileThatTakesTheNameDuringTheRunIsKept) {
    TestMedia::Recipe longer;
    longer.width = 320;
    longer.height = 240;
    longer.seconds = 8;
    TConvertArguments arguments;
    arguments.input = Clip("eight seconds.mp4", longer);
    arguments.length = "8";
    arguments.frameSize = "320x240";
    arguments.output = OutputPath("clip.MP4");
    const std::string numbered = OutputPath("clip1.MP4");
    const std::string dangling = OutputPath("clip2.MP4");
    TMessageWindow window;
    std::vector<std::string> copies = arguments.Vector();
    std::vector<char*> argv;
    for (auto& argument : copies) {
        argv.push_back(argument.data());
    }
    ASSERT_EQ(Lib().Convert(window.Handle(), static_cast<int32_t>(argv.size()), argv.data()), 0);
    while (recorder_.Lines().empty() && window.Messages().empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(window.Messages().empty()) << "finished before the names could be taken";
    { std::ofstream(arguments.output) << "someone's"; }
    { std::ofstream(numbered) << "someone else's"; }
    ASSERT_EQ(::symlink(OutputPath("nowhere").c_str(), dangling.c_str()), 0);
    ASSERT_EQ(window.WaitFor(1).size(), 1u);

    EXPECT_EQ(Contents(arguments.output), "someone's");
    EXPECT_EQ(Contents(numbered), "someone else's");
    struct stat status {};
    ASSERT_EQ(::lstat(dangling.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_TRUE(TMediaReader::Summarize(OutputPath("clip3.MP4")).hasVideo) << recorder_.LastLine();
    EXPECT_TRUE(HasNote("clip3.MP4"));
}

}  // namespace
