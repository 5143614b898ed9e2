#include "encoderfixture.h"

#include <unistd.h>

#include <memory>

std::vector<std::string> TConvertArguments::Vector() const {
    return {"Reelsmith.exe",
            "-y",
            "-ss",
            start,
            "-t",
            length,
            "-i",
            input,
            "-vol",
            volume,
            "-bitexact",
            "-vcodec",
            "mpeg4",
            "-padtop",
            padTop,
            "-padbottom",
            padBottom,
            "-padleft",
            padLeft,
            "-padright",
            padRight,
            "-s",
            frameSize,
            "-r",
            frameRate,
            "-b",
            videoKbps,
            "-acodec",
            "aac",
            "-ac",
            channels,
            "-ar",
            sampleRate,
            "-ab",
            audioKbps,
            "-f",
            format,
            output};
}

void TEncoderFixture::SetUp() {
    ASSERT_TRUE(Lib().Loaded()) << "libEncoder.so not found beside the program";
    ASSERT_TRUE(TestMedia::Available()) << "the ffmpeg command makes the test media";
    Lib().SetInfoCallback(&TCallbackRecorder::OnInfo);
    Lib().SetPercentCallback(&TCallbackRecorder::OnPercent);
    recorder_.Clear();
}

TEncoderLib& TEncoderFixture::Lib() {
    static TEncoderLib lib;
    return lib;
}

const TempDir& TEncoderFixture::Media() {
    static TempDir media;
    return media;
}

std::string TEncoderFixture::Clip(const std::string& name, const TestMedia::Recipe& recipe) {
    static std::map<std::string, std::string> made;
    if (const auto found = made.find(name); found != made.end()) {
        return found->second;
    }
    const std::string path = Media().PathStd() + name;
    if (!TestMedia::Make(path, recipe)) {
        ADD_FAILURE() << "could not make " << path;
    }
    made[name] = path;
    return path;
}

int TEncoderFixture::ConvertNow(const std::vector<std::string>& arguments) {
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (auto& argument : copies) {
        argv.push_back(argument.data());
    }
    return Lib().Convert(nullptr, static_cast<int32_t>(argv.size()), argv.data());
}

bool TEncoderFixture::FileExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}
