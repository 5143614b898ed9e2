#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "conversion/infotext.h"

namespace {

TEST(InfoTextTest, TheSecondsStandBetweenTimeAndBitrate) {
    EXPECT_FLOAT_EQ(
        InfoTextSeconds(QStringLiteral(
            "frame=  250 fps= 50 q=2.0 size=    1024kB time=10.00 bitrate= 838.9kbits/s")),
        10.0f);
    EXPECT_FLOAT_EQ(InfoTextSeconds(QStringLiteral("time=   3.25   bitrate=1")), 3.25f);
    EXPECT_FLOAT_EQ(InfoTextSeconds(QStringLiteral("time=12 bitrate")), 12.0f);
    EXPECT_FLOAT_EQ(InfoTextSeconds(QStringLiteral("time=-0.50 bitrate=0")), -0.5f);
    // Only the leading number counts.
    EXPECT_FLOAT_EQ(InfoTextSeconds(QStringLiteral("time=7.5s elapsed bitrate=0")), 7.5f);
}

TEST(InfoTextTest, TextsWithoutTheirPartsReadAsZero) {
    EXPECT_EQ(InfoTextSeconds(QString()), 0.0f);
    EXPECT_EQ(InfoTextSeconds(QStringLiteral("frame=  250 time=10.00")), 0.0f);
    EXPECT_EQ(InfoTextSeconds(QStringLiteral("error: cannot open a.avi: Invalid data")), 0.0f);
    // No "time": the value runs from the fifth character, which is no number here.
    EXPECT_EQ(InfoTextSeconds(QStringLiteral("frame=  250 size=1kB bitrate=1")), 0.0f);
    // "bitrate" before "time": an empty range.
    EXPECT_EQ(InfoTextSeconds(QStringLiteral("bitrate=1 time=5.00")), 0.0f);
    EXPECT_EQ(InfoTextSeconds(QStringLiteral("time=bitrate")), 0.0f);
    EXPECT_EQ(InfoTextSeconds(QStringLiteral("time= N/A bitrate=N/A")), 0.0f);
    EXPECT_EQ(InfoTextSeconds(QStringLiteral("time=nan bitrate=1")), 0.0f);
    EXPECT_EQ(InfoTextSeconds(QStringLiteral("time=inf bitrate=1")), 0.0f);
    EXPECT_EQ(InfoTextSeconds(QStringLiteral("time=. bitrate=1")), 0.0f);
}

TEST(InfoTextTest, CuttingTowardZeroStaysDefined) {
    EXPECT_EQ(CutTowardZero(24.99f), 24);
    EXPECT_EQ(CutTowardZero(-24.99f), -24);
    EXPECT_EQ(CutTowardZero(std::nanf("")), 0);
    EXPECT_EQ(CutTowardZero(std::numeric_limits<float>::infinity()),
              std::numeric_limits<int32_t>::max());
    EXPECT_EQ(CutTowardZero(-std::numeric_limits<float>::infinity()),
              std::numeric_limits<int32_t>::min());
    EXPECT_EQ(CutTowardZero(3e9f), std::numeric_limits<int32_t>::max());
}

}  // namespace
