#include <gtest/gtest.h>

#include <cstring>

#include "app/convertsettings.h"
#include "conversion/encoderarguments.h"

namespace {

ConvertSettings TypicalSettings() {
    ConvertSettings s;
    s.StartText = QStringLiteral("00:00:10");
    s.LengthText = QStringLiteral("50");
    s.InputFile = QStringLiteral("/clips/a b.avi");
    s.Volume = QStringLiteral("100");
    s.VideoCodec = QStringLiteral("mpeg4");
    s.PadTop = QStringLiteral("0");
    s.PadBottom = QStringLiteral("0");
    s.PadLeft = QStringLiteral("10");
    s.PadRight = QStringLiteral("10");
    s.FrameSize = QStringLiteral("320x240");
    s.FrameRate = QStringLiteral("15");
    s.VideoBitRate = QStringLiteral("300");
    s.AudioCodec = QStringLiteral("aac");
    s.AudioChannels = QStringLiteral("2");
    s.SampleRate = QStringLiteral("22050");
    s.AudioBitRate = QStringLiteral("64");
    s.Format = QStringLiteral("mp4");
    s.OutputFile = QStringLiteral("/home/u/DeroOutput/a b.MP4");
    return s;
}

TEST(EncoderArgumentsTest, EntriesComeInTheFixedOrder) {
    const QStringList expected = {"Reelsmith.exe",
                                  "-y",
                                  "-ss",
                                  "00:00:10",
                                  "-t",
                                  "50",
                                  "-i",
                                  "/clips/a b.avi",
                                  "-vol",
                                  "100",
                                  "-bitexact",
                                  "-vcodec",
                                  "mpeg4",
                                  "-padtop",
                                  "0",
                                  "-padbottom",
                                  "0",
                                  "-padleft",
                                  "10",
                                  "-padright",
                                  "10",
                                  "-s",
                                  "320x240",
                                  "-r",
                                  "15",
                                  "-b",
                                  "300",
                                  "-acodec",
                                  "aac",
                                  "-ac",
                                  "2",
                                  "-ar",
                                  "22050",
                                  "-ab",
                                  "64",
                                  "-f",
                                  "mp4",
                                  "/home/u/DeroOutput/a b.MP4"};
    ASSERT_EQ(expected.size(), TEncoderArguments::Count);
    EXPECT_EQ(TEncoderArguments(TypicalSettings()).Texts(), expected);
}

TEST(EncoderArgumentsTest, EmptyFieldsKeepTheirPlaceInArgv) {
    ConvertSettings settings = TypicalSettings();
    settings.FrameRate.clear();
    settings.InputFile = QStringLiteral("/clips/é.avi");
    TEncoderArguments arguments(settings);
    char** argv = arguments.Argv();
    EXPECT_STREQ(argv[23], "-r");
    EXPECT_STREQ(argv[24], "");
    EXPECT_STREQ(argv[25], "-b");
    EXPECT_STREQ(argv[7], "/clips/\xc3\xa9.avi");
    EXPECT_STREQ(argv[37], "/home/u/DeroOutput/a b.MP4");
    EXPECT_EQ(argv[38], nullptr);
}

}  // namespace
