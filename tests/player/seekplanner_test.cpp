#include "seekplanner.h"

#include <gtest/gtest.h>

using dero::TSeekKind;
using dero::TSeekPlanner;

TEST(SeekPlanner, ALoneSeekGoesStraightToTheExactFrame) {
    TSeekPlanner planner;
    const auto first = planner.Request(4.5);
    EXPECT_EQ(first.Kind, TSeekKind::Exact);
    EXPECT_EQ(first.Target, 4.5);
    EXPECT_EQ(planner.Landed().Kind, TSeekKind::None);
    EXPECT_FALSE(planner.Busy());
}

TEST(SeekPlanner, ADragKeepsOnlyTheNewestTargetAndRefinesItAtRest) {
    TSeekPlanner planner;
    planner.Request(1);
    EXPECT_EQ(planner.Request(2).Kind, TSeekKind::None);
    EXPECT_EQ(planner.Request(3).Kind, TSeekKind::None);
    const auto keyframe = planner.Landed();
    EXPECT_EQ(keyframe.Kind, TSeekKind::Keyframe);
    EXPECT_EQ(keyframe.Target, 3);
    planner.Request(5);
    const auto newer = planner.Landed();
    EXPECT_EQ(newer.Kind, TSeekKind::Keyframe);
    EXPECT_EQ(newer.Target, 5);
    const auto exact = planner.Landed();
    EXPECT_EQ(exact.Kind, TSeekKind::Exact);
    EXPECT_EQ(exact.Target, 5);
    EXPECT_EQ(planner.Landed().Kind, TSeekKind::None);
}

TEST(SeekPlanner, LandingWithoutASeekAndResetAreHarmless) {
    TSeekPlanner planner;
    EXPECT_EQ(planner.Landed().Kind, TSeekKind::None);
    planner.Request(1);
    planner.Request(2);
    planner.Reset();
    EXPECT_EQ(planner.Landed().Kind, TSeekKind::None);
    EXPECT_EQ(planner.Request(7).Kind, TSeekKind::Exact);
}
