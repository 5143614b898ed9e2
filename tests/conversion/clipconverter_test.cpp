#include <gtest/gtest.h>

#include <vector>

#include "app/cliprecord.h"
#include "app/clipsource.h"
#include "app/convertsettings.h"
#include "app/encoderbinding.h"
#include "conversion/clipconverter.h"
#include "support/tempdir.h"

namespace {

class TVectorClips : public TClipSource {
  public:
    std::vector<ClipRecord> clips;
    const ClipRecord* ClipAt(int32_t index) const override {
        return index >= 0 && index < static_cast<int32_t>(clips.size())
                   ? &clips[static_cast<size_t>(index)]
                   : nullptr;
    }
};

ClipRecord Clip(const QString& file, int32_t start, int32_t stop, int32_t width = 720,
                int32_t height = 576) {
    ClipRecord clip;
    clip.SourceFile = file;
    clip.Duration = 600;
    clip.StartTime = start;
    clip.StopTime = stop;
    clip.Width = width;
    clip.Height = height;
    return clip;
}

class ClipConverterTest : public ::testing::Test {
  protected:
    TConvertTarget Target(bool keepRatio) const {
        return {dir_.Path(), QStringLiteral(".MP4"), 320, 240, keepRatio};
    }

    TempDir dir_;
    ConvertSettings settings_;
    TClipConverter converter_{settings_};
    TVectorClips clips_;
};

TEST_F(ClipConverterTest, NoClipAtTheIndexChangesNothing) {
    settings_.InputFile = QStringLiteral("untouched");
    EXPECT_FALSE(converter_.PrepareClip(clips_, 0, Target(true)));
    clips_.clips.push_back(Clip(QStringLiteral("/c/a.avi"), 0, 5));
    EXPECT_FALSE(converter_.PrepareClip(clips_, 1, Target(true)));
    EXPECT_FALSE(converter_.PrepareClip(clips_, -1, Target(true)));
    EXPECT_EQ(settings_.InputFile, QStringLiteral("untouched"));
    EXPECT_EQ(converter_.ConvertIndex(), 0);
}

TEST_F(ClipConverterTest, PreparingFillsTheClipFields) {
    clips_.clips.push_back(Clip(QStringLiteral("/c/first.avi"), 0, 0));
    clips_.clips.push_back(Clip(QStringLiteral("/c/a.b.avi"), 65, 190));
    ASSERT_TRUE(converter_.PrepareClip(clips_, 1, Target(true)));
    EXPECT_EQ(settings_.Start, 65);
    EXPECT_EQ(settings_.Stop, 190);
    EXPECT_EQ(settings_.Length, 125);
    EXPECT_EQ(settings_.StartText, QStringLiteral("00:01:05"));
    EXPECT_EQ(settings_.StopText, QStringLiteral("00:03:10"));
    EXPECT_EQ(settings_.LengthText, QStringLiteral("125"));
    EXPECT_EQ(settings_.InputFile, QStringLiteral("/c/a.b.avi"));
    EXPECT_EQ(settings_.Volume, QStringLiteral("100"));
    EXPECT_EQ(settings_.OutputFile, dir_.Path() + QStringLiteral("a.b.MP4"));
    EXPECT_EQ(
        QStringList({settings_.PadTop, settings_.PadBottom, settings_.PadLeft, settings_.PadRight}),
        QStringList({"0", "0", "10", "10"}));
    EXPECT_EQ(converter_.ConvertIndex(), 1);

    ASSERT_TRUE(converter_.PrepareClip(clips_, 0, Target(true)));
    EXPECT_EQ(settings_.LengthText, QStringLiteral("0"));
    EXPECT_EQ(converter_.ConvertIndex(), 0);
}

TEST_F(ClipConverterTest, KeepRatioOffPadsNothing) {
    clips_.clips.push_back(Clip(QStringLiteral("/c/wide.mkv"), 0, 5, 1920, 800));
    ASSERT_TRUE(converter_.PrepareClip(clips_, 0, Target(false)));
    EXPECT_EQ(
        QStringList({settings_.PadTop, settings_.PadBottom, settings_.PadLeft, settings_.PadRight}),
        QStringList({"0", "0", "0", "0"}));
}

struct TConvertCall {
    DeroWindowHandle* window = nullptr;
    int32_t argc = 0;
    QStringList argv;
};
TConvertCall g_lastCall;

int RecordConvert(DeroWindowHandle* window, int32_t argc, char** argv) {
    g_lastCall = {window, argc, {}};
    for (int32_t i = 0; i < argc; ++i) {
        g_lastCall.argv << QString::fromUtf8(argv[i]);
    }
    return 7;
}

TEST_F(ClipConverterTest, ConvertingHandsTheVectorAndWindowToTheLibrary) {
    clips_.clips.push_back(Clip(QStringLiteral("/c/a.avi"), 10, 60));
    ASSERT_TRUE(converter_.PrepareClip(clips_, 0, Target(true)));
    settings_.FrameSize = QStringLiteral("320x240");
    QString shownOutput;
    converter_.SetBeforeConvert([&](const ConvertSettings& s) { shownOutput = s.OutputFile; });

    const X_t bound = DllConvert;
    DllConvert = &RecordConvert;
    DeroWindowHandle window{};
    const int result = converter_.ConvertClip(&window);
    DllConvert = bound;

    EXPECT_EQ(result, 7);
    EXPECT_EQ(g_lastCall.window, &window);
    ASSERT_EQ(g_lastCall.argc, 38);
    EXPECT_EQ(g_lastCall.argv.mid(2, 4), QStringList({"-ss", "00:00:10", "-t", "50"}));
    EXPECT_EQ(g_lastCall.argv.at(22), QStringLiteral("320x240"));
    EXPECT_EQ(g_lastCall.argv.at(37), settings_.OutputFile);
    EXPECT_EQ(shownOutput, settings_.OutputFile);
}

TEST_F(ClipConverterTest, ConvertingWithoutTheLibraryFails) {
    const X_t bound = DllConvert;
    DllConvert = nullptr;
    EXPECT_EQ(converter_.ConvertClip(nullptr), -1);
    DllConvert = bound;
}

}  // namespace
