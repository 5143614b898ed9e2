#include "encoderfixture.h"

#include <unistd.h>

#include <memory>

#include "dero_arguments.h"

std::vector<std::string> TConvertArguments::Vector() const {
    // The table names the program's settings; these are the fixture's for the same places.
    const std::string &StartText = start, &LengthText = length, &InputFile = input;
    const std::string &Volume = volume, &PadTop = padTop, &PadBottom = padBottom;
    const std::string &PadLeft = padLeft, &PadRight = padRight, &FrameSize = frameSize;
    const std::string &FrameRate = frameRate, &VideoBitRate = videoKbps;
    const std::string &AudioChannels = channels, &SampleRate = sampleRate;
    const std::string &AudioBitRate = audioKbps, &Format = format, &OutputFile = output;
    const std::string VideoCodec = "mpeg4";
    const std::string AudioCodec = "aac";
#define FIXTURE_FLAG(text) std::string(text),
#define FIXTURE_VALUE(field) field,
    return {DERO_ENCODER_ARGUMENTS(FIXTURE_FLAG, FIXTURE_VALUE)};
#undef FIXTURE_FLAG
#undef FIXTURE_VALUE
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
