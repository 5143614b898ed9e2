#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "encoderfixture.h"
#include "mediareader.h"
#include "messagewindow.h"

namespace {

class FailureTest : public TEncoderFixture {
  protected:
    static std::string PlainClip() {
        TestMedia::Recipe recipe;
        recipe.seconds = 2;
        return Clip("two seconds.mp4", recipe);
    }
    static int ThreadCount() {
        int count = 0;
        if (DIR* tasks = opendir("/proc/self/task")) {
            while (const dirent* entry = readdir(tasks)) {
                count += entry->d_name[0] != '.';
            }
            closedir(tasks);
        }
        return count;
    }
    static void StartConvert(TMessageWindow& window, const TConvertArguments& arguments) {
        std::vector<std::string> copies = arguments.Vector();
        std::vector<char*> argv;
        for (auto& argument : copies) {
            argv.push_back(argument.data());
        }
        ASSERT_EQ(Lib().Convert(window.Handle(), static_cast<int32_t>(argv.size()), argv.data()),
                  0);
    }
    bool LastLineIsError() const { return recorder_.LastLine().rfind("error: ", 0) == 0; }
};

TEST_F(FailureTest, CorruptSourceFailsWithErrorLineNoFileAndMessage1212) {
    const std::string random = OutputPath("noise.avi");
    ASSERT_TRUE(TestMedia::MakeRandomFile(random, 64 * 1024));
    const std::string truncated = OutputPath("cut.mp4");
    ASSERT_TRUE(TestMedia::MakeTruncatedCopy(PlainClip(), truncated, 0.5));
    for (const std::string& source : {random, truncated}) {
        SCOPED_TRACE(source);
        recorder_.Clear();
        TMessageWindow window;
        TConvertArguments arguments;
        arguments.input = source;
        arguments.output = OutputPath("broken.MP4");
        StartConvert(window, arguments);
        EXPECT_EQ(window.WaitFor(1), std::vector<uint32_t>{WM_CONVERT_NEXT});
        EXPECT_TRUE(LastLineIsError()) << recorder_.LastLine();
        EXPECT_FALSE(FileExists(arguments.output));
    }
}

TEST_F(FailureTest, NothingToConvertIsAFailureWithoutAFile) {
    TConvertArguments zero;
    zero.input = PlainClip();
    zero.output = OutputPath("zero.MP4");
    zero.length = "0";
    EXPECT_NE(ConvertNow(zero), 0);
    EXPECT_TRUE(LastLineIsError()) << recorder_.LastLine();
    EXPECT_FALSE(FileExists(zero.output));

    TConvertArguments late = zero;
    late.length = "5";
    late.start = "00:00:09";
    EXPECT_NE(ConvertNow(late), 0);
    EXPECT_TRUE(LastLineIsError()) << recorder_.LastLine();
    EXPECT_FALSE(FileExists(late.output));
}

TEST_F(FailureTest, RejectsMalformedArgumentsWithAClearLine) {
    const std::vector<std::pair<int, std::string>> badValues = {
        {3, "1:2"},
        {3, "00:61:00"},
        {5, "-1"},
        {5, "ten"},
        {9, "loud"},
        {12, "h264"},
        {14, "3.5"},
        {22, "320*240"},
        {22, "8x8"},
        {24, "0"},
        {24, "fast"},
        {26, ""},
        {28, "mp3"},
        {30, "3"},
        {32, "22000"},
        {34, "64k"},
        {36, "avi"},
        // Numbers far beyond any clip or screen are refused, never wrapped.
        {3, "99999999999999999999"},
        {5, "00:00:99999999999999999"},
        {22, "99999999999x240"},
        {24, "99999999999"},
        {32, "4294989346"},
    };
    for (const auto& [position, value] : badValues) {
        TConvertArguments base;
        base.input = PlainClip();
        base.output = OutputPath("bad.MP4");
        std::vector<std::string> arguments = base.Vector();
        arguments[position] = value;
        SCOPED_TRACE(arguments[position - 1] + " " + value);
        recorder_.Clear();
        EXPECT_NE(ConvertNow(arguments), 0);
        EXPECT_TRUE(LastLineIsError()) << recorder_.LastLine();
        EXPECT_FALSE(FileExists(base.output));
    }
    TConvertArguments base;
    base.input = PlainClip();
    base.output = OutputPath("bad.MP4");
    std::vector<std::string> unknown = base.Vector();
    unknown.insert(unknown.begin() + 1, "-deinterlace");
    EXPECT_NE(ConvertNow(unknown), 0);
    EXPECT_NE(recorder_.LastLine().find("-deinterlace"), std::string::npos);
    std::vector<std::string> twoOutputs = base.Vector();
    twoOutputs.push_back(OutputPath("second.MP4"));
    EXPECT_NE(ConvertNow(twoOutputs), 0);
    std::vector<std::string> missingValue = base.Vector();
    missingValue.pop_back();
    missingValue.pop_back();
    EXPECT_NE(ConvertNow(missingValue), 0);
    EXPECT_TRUE(LastLineIsError()) << recorder_.LastLine();
}

TEST_F(FailureTest, NeverOverwritesWithoutPermissionOrTheSourceItself) {
    const std::string output = OutputPath("kept.MP4");
    { std::ofstream(output) << "precious"; }
    TConvertArguments arguments;
    arguments.input = PlainClip();
    arguments.output = output;
    std::vector<std::string> noOverwrite = arguments.Vector();
    noOverwrite.erase(noOverwrite.begin() + 1);  // "-y"
    EXPECT_NE(ConvertNow(noOverwrite), 0);
    std::ifstream kept(output);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "precious");

    const std::string source = OutputPath("self.mp4");
    ASSERT_TRUE(TestMedia::Make(source));
    arguments.input = arguments.output = source;
    EXPECT_NE(ConvertNow(arguments), 0);
    EXPECT_TRUE(LastLineIsError()) << recorder_.LastLine();
    EXPECT_TRUE(TMediaReader::Summarize(source).hasVideo);
}

TEST_F(FailureTest, AFailedRunKeepsWhatWasThereAndWritesOnlyRegularFiles) {
    const std::string output = OutputPath("kept.MP4");
    { std::ofstream(output) << "precious"; }
    TConvertArguments failing;
    failing.input = PlainClip();
    failing.output = output;
    failing.start = "1.999";
    failing.length = "0.0001";
    EXPECT_NE(ConvertNow(failing), 0);
    std::ifstream kept(output);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "precious");

    // A folder or a pipe under the output's name is refused and left as it is.
    const std::string folder = OutputPath("folder.MP4");
    const std::string pipe = OutputPath("pipe.MP4");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    for (const std::string& odd : {folder, pipe}) {
        TConvertArguments arguments;
        arguments.input = PlainClip();
        arguments.output = odd;
        EXPECT_NE(ConvertNow(arguments), 0) << odd;
        EXPECT_TRUE(LastLineIsError()) << recorder_.LastLine();
        struct stat status {};
        ASSERT_EQ(lstat(odd.c_str(), &status), 0);
        EXPECT_FALSE(S_ISREG(status.st_mode));
    }

    // A run that succeeds replaces the file, through a link onto what the link points at.
    const std::string link = OutputPath("link.MP4");
    ASSERT_EQ(symlink(output.c_str(), link.c_str()), 0);
    TConvertArguments replacing;
    replacing.input = PlainClip();
    replacing.output = link;
    ASSERT_EQ(ConvertNow(replacing), 0) << recorder_.LastLine();
    EXPECT_TRUE(TMediaReader::Summarize(output).hasVideo);
    struct stat status {};
    ASSERT_EQ(lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));

    // No temporary file is left behind by any of these runs.
    DIR* folderList = opendir(scratch_.PathStd().c_str());
    ASSERT_NE(folderList, nullptr);
    while (const dirent* entry = readdir(folderList)) {
        EXPECT_EQ(std::string(entry->d_name).find(".part"), std::string::npos) << entry->d_name;
    }
    closedir(folderList);
}

TEST_F(FailureTest, InputsThatAreNotOneRegularFileAreRefusedAtOnce) {
    const std::string pipe = OutputPath("waiting.mp4");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    // A concatenation list and a picture sequence would pull other files into the output.
    const std::string list = OutputPath("list.mp4");
    { std::ofstream(list) << "ffconcat version 1.0\nfile '" << PlainClip() << "'\n"; }
    const std::string pictures = OutputPath("frame%03d.png");
    ASSERT_TRUE(TestMedia::Run(
        "ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=s=64x48:r=5:d=1", pictures}));
    for (const std::string& source : {pipe, list, pictures}) {
        SCOPED_TRACE(source);
        TConvertArguments arguments;
        arguments.input = source;
        arguments.output = OutputPath("out.MP4");
        EXPECT_NE(ConvertNow(arguments), 0);
        EXPECT_TRUE(LastLineIsError()) << recorder_.LastLine();
        EXPECT_FALSE(FileExists(arguments.output));
        MediaFileInfo info{};
        Lib().GetFileInfo(source.c_str(), &info);
        EXPECT_EQ(info.Width, 0);
    }
}

TEST_F(FailureTest, StopEndsTheConversionRemovesTheFileAndLeavesNoThread) {
    Lib().Stop();  // harmless with nothing running
    const int threadsBefore = ThreadCount();
    TestMedia::Recipe longer;
    longer.width = 320;
    longer.height = 240;
    longer.seconds = 30;
    TConvertArguments arguments;
    arguments.input = Clip("thirty seconds.mp4", longer);
    arguments.output = OutputPath("stopped.MP4");
    arguments.length = "30";
    arguments.frameSize = "320x240";
    TMessageWindow window;
    StartConvert(window, arguments);
    // The first progress line comes as the pipeline starts: stop right then, long before the end.
    while (recorder_.Lines().empty() && window.Messages().empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(window.Messages().empty()) << "finished before it could be stopped";
    Lib().Stop();
    EXPECT_EQ(window.WaitFor(1), std::vector<uint32_t>{WM_CONVERT_NEXT});
    EXPECT_FALSE(FileExists(arguments.output));
    EXPECT_FALSE(LastLineIsError()) << recorder_.LastLine();
    Lib().UnInit();
    EXPECT_LE(ThreadCount(), threadsBefore);
    Lib().Init();
}

TEST_F(FailureTest, RefusesASecondConversionWhileOneRuns) {
    TestMedia::Recipe longer;
    longer.width = 320;
    longer.height = 240;
    longer.seconds = 30;
    TConvertArguments arguments;
    arguments.input = Clip("thirty seconds.mp4", longer);
    arguments.output = OutputPath("first.MP4");
    arguments.length = "30";
    TMessageWindow window;
    StartConvert(window, arguments);
    TConvertArguments second = arguments;
    second.output = OutputPath("second.MP4");
    EXPECT_NE(ConvertNow(second), 0);
    EXPECT_FALSE(FileExists(second.output));
    Lib().Stop();
    EXPECT_EQ(window.WaitFor(1).size(), 1u);
    // Once the first one has ended the library takes the next.
    arguments.length = "1";
    arguments.input = PlainClip();
    EXPECT_EQ(ConvertNow(arguments), 0) << recorder_.LastLine();
}

}  // namespace
