#include <gtest/gtest.h>

#include "conversion/letterbox.h"

namespace {

TEST(LetterboxTest, NarrowerSourceGetsSideBars) {
    const TLetterbox bars = ComputeLetterbox(720, 576, 320, 240);
    EXPECT_EQ(bars.Left, 10);
    EXPECT_EQ(bars.Right, 10);
    EXPECT_EQ(bars.Top, 0);
    EXPECT_EQ(bars.Bottom, 0);
}

TEST(LetterboxTest, WiderSourceGetsTopAndBottomBarsFromTheSinglePrecisionAspect) {
    // 320 / 1.7777778f is just under 180, so the picture is 179 rows and the bars 30.
    const TLetterbox bars = ComputeLetterbox(640, 360, 320, 240);
    EXPECT_EQ(bars.Top, 30);
    EXPECT_EQ(bars.Bottom, 30);
    EXPECT_EQ(bars.Left, 0);
    EXPECT_EQ(bars.Right, 0);
}

TEST(LetterboxTest, EqualAspectsGiveNoBars) {
    const TLetterbox bars = ComputeLetterbox(640, 480, 320, 240);
    EXPECT_EQ(bars.Top + bars.Bottom + bars.Left + bars.Right, 0);
    const TLetterbox same = ComputeLetterbox(176, 144, 176, 144);
    EXPECT_EQ(same.Top + same.Bottom + same.Left + same.Right, 0);
}

TEST(LetterboxTest, PadsAreEvenAndNeverNegative) {
    EXPECT_EQ(LetterboxPad(240, 226), 6);  // 7 lowered
    EXPECT_EQ(LetterboxPad(240, 246), 0);  // -3
    EXPECT_EQ(LetterboxPad(240, 220), 10);
    // 320 / (1413/1000) is 226.47: a 7-row bar, lowered to 6.
    EXPECT_EQ(ComputeLetterbox(1413, 1000, 320, 240).Top, 6);
}

TEST(LetterboxTest, ZeroSizesGiveNoBars) {
    for (const TLetterbox& bars :
         {ComputeLetterbox(640, 0, 320, 240), ComputeLetterbox(0, 480, 320, 240),
          ComputeLetterbox(640, 480, 0, 0), ComputeLetterbox(640, 480, 320, 0)}) {
        EXPECT_EQ(bars.Top + bars.Bottom + bars.Left + bars.Right, 0);
    }
}

}  // namespace
