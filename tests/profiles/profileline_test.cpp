#include <gtest/gtest.h>

#include "app/convertsettings.h"
#include "profiles/outputstate.h"
#include "profiles/profileline.h"

namespace {

struct Taken {
    bool ok = false;
    TOutputState state;
    ConvertSettings settings;
};

Taken TakeApart(const QString& line) {
    Taken taken;
    taken.state.OutputFormat = QStringLiteral("3gp");
    taken.ok = TakeProfileLineApart(line, taken.state, taken.settings);
    return taken;
}

TEST(ProfileLineTest, TakesTheStandardLineApart) {
    const Taken t = TakeApart(QStringLiteral(
        "My Phone : Video: 176x144, 200 kbps, 15 fps, Audio: 32 kbps, 22.05 khps, 1 Channel Mono"));
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.state.OutputWidth, 176);
    EXPECT_EQ(t.state.OutputHeight, 144);
    EXPECT_EQ(t.settings.FrameSize, QStringLiteral("176x144"));
    EXPECT_EQ(t.settings.VideoBitRate, QStringLiteral("200"));
    EXPECT_EQ(t.settings.FrameRate, QStringLiteral("15"));
    EXPECT_EQ(t.settings.AudioBitRate, QStringLiteral("32"));
    EXPECT_EQ(t.settings.SampleRate, QStringLiteral("22050"));
    EXPECT_EQ(t.settings.AudioChannels, QStringLiteral("1"));
    EXPECT_EQ(t.settings.VideoCodec, QStringLiteral("mpeg4"));
    EXPECT_EQ(t.settings.AudioCodec, QStringLiteral("aac"));
    EXPECT_EQ(t.settings.Format, QStringLiteral("3gp"));
}

TEST(ProfileLineTest, SampleRatesBecomeWholeHertzWithoutAPoint) {
    EXPECT_EQ(SampleRateHertz(QStringLiteral("22.05")), QStringLiteral("22050"));
    EXPECT_EQ(SampleRateHertz(QStringLiteral("44.1")), QStringLiteral("44100"));
    EXPECT_EQ(SampleRateHertz(QStringLiteral("11.025")), QStringLiteral("11025"));
    EXPECT_EQ(SampleRateHertz(QStringLiteral("48")), QStringLiteral("48000"));
    EXPECT_EQ(SampleRateHertz(QStringLiteral("8 ")), QStringLiteral("8000"));
    EXPECT_EQ(SampleRateHertz(QStringLiteral("")), QStringLiteral("0"));
    EXPECT_EQ(SampleRateHertz(QStringLiteral("fast")), QStringLiteral("0"));
    EXPECT_EQ(SampleRateHertz(QString(60, u'9')), QStringLiteral("inf"));
}

TEST(ProfileLineTest, ResolutionTextDecidesWhetherTheProfileCanBeUsed) {
    EXPECT_FALSE(
        TakeApart(QStringLiteral("P : Video: 12, 200 kbps, 15 fps, Audio: 32 kbps, 8 khps, 1 Ch"))
            .ok);
    EXPECT_FALSE(TakeApart(QStringLiteral("not a profile at all")).ok);
    EXPECT_FALSE(TakeApart(QString()).ok);
    // Without the audio half the video half is empty too.
    EXPECT_FALSE(TakeApart(QStringLiteral("P : Video: 320x240, 200 kbps, 15 fps")).ok);

    const Taken zero =
        TakeApart(QStringLiteral("P : Video: 0x0, 200 kbps, 15 fps, Audio: 32 kbps, 8 khps, 1 C"));
    ASSERT_TRUE(zero.ok);
    EXPECT_EQ(zero.state.OutputWidth, 0);
    EXPECT_EQ(zero.state.OutputHeight, 0);
    EXPECT_EQ(zero.settings.FrameSize, QStringLiteral("0x0"));
}

TEST(ProfileLineTest, HandWrittenLinesAreLowerCasedAndTrimmed) {
    const Taken t =
        TakeApart(QStringLiteral("Big : Video:  640X480 ,\t1500 kbps,  29.97 fps, Audio: 128 kbps, "
                                 " 44.1 khps, 2 Channels Stereo"));
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.settings.FrameSize, QStringLiteral("640x480"));
    // The upper-case separator still gives the frame size that the encoder is asked for.
    EXPECT_EQ(t.state.OutputWidth, 640);
    EXPECT_EQ(t.state.OutputHeight, 480);
    EXPECT_EQ(t.settings.VideoBitRate, QStringLiteral("1500"));
    EXPECT_EQ(t.settings.FrameRate, QStringLiteral("29.97"));
    EXPECT_EQ(t.settings.SampleRate, QStringLiteral("44100"));
    EXPECT_EQ(t.settings.AudioChannels, QStringLiteral("2"));
}

TEST(ProfileLineTest, MissingSeparatorsGiveEmptyFieldsNotAFailure) {
    const Taken t = TakeApart(QStringLiteral("Odd : Video: 320x240, Audio: 64"));
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.state.OutputWidth, 320);
    EXPECT_EQ(t.state.OutputHeight, 240);
    EXPECT_EQ(t.settings.VideoBitRate, QString());
    EXPECT_EQ(t.settings.FrameRate, QString());
    EXPECT_EQ(t.settings.AudioBitRate, QString());
    EXPECT_EQ(t.settings.SampleRate, QStringLiteral("0"));
}

TEST(ProfileLineTest, ComposedLineSplitsBackIntoItsParts) {
    TProfileLineParts parts;
    parts.Name = QStringLiteral("My Phone");
    parts.Resolution = QStringLiteral("176x144");
    parts.VideoBitRate = QStringLiteral("200");
    parts.FrameRate = QStringLiteral("15");
    parts.AudioBitRate = QStringLiteral("32");
    parts.SampleRate = QStringLiteral("22.05");
    parts.Channels = QStringLiteral("1 Channel Mono");
    const QString line = ComposeProfileLine(parts);
    EXPECT_EQ(line, QStringLiteral("My Phone : Video: 176x144, 200 kbps, 15 fps, Audio: 32 kbps, "
                                   "22.05 khps, 1 Channel Mono"));
    TProfileLineParts back = SplitProfileLine(line);
    EXPECT_EQ(back.ChannelDigit, QStringLiteral("1"));
    back.ChannelDigit.clear();
    EXPECT_EQ(back, parts);

    // A separator inside the name shifts every part after it.
    parts.Name = QStringLiteral("Audio: mine");
    EXPECT_NE(SplitProfileLine(ComposeProfileLine(parts)).Resolution, parts.Resolution);
}

}  // namespace
