#include "skin/skinfield.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinField, FieldsAreCommaTerminatedAndTrimmed) {
    const QString value = " a.bmp , static,\t c.bmp\t,12,-7,";
    EXPECT_EQ(SkinField(value, 1), "a.bmp");
    EXPECT_EQ(SkinField(value, 2), "static");
    EXPECT_EQ(SkinField(value, 3), "c.bmp");
    EXPECT_EQ(SkinNumber(value, 4), 12);
    EXPECT_EQ(SkinNumber(value, 5), -7);
    EXPECT_EQ(SkinField(value, 6), "");
    EXPECT_EQ(SkinField(value, 15), "");
    EXPECT_EQ(SkinNumber(value, 9), 0);
    EXPECT_FALSE(SkinFlag(value, 9));
    EXPECT_EQ(SkinField("Wrong", 1), "");  // no comma at all: every field is empty
    EXPECT_EQ(SkinField("a,b", 3), "");
}

TEST(SkinField, TwelfthFieldWithoutItsCommaIsEmpty) {
    const QString base = "b.bmp,,,1,2,3,4,1,1,0,0,";
    EXPECT_EQ(SkinField(base + "Play", 12), "");
    EXPECT_EQ(SkinField(base + "Play,", 12), "Play");
}

TEST(SkinField, NumbersAreLeadingDecimalIntegers) {
    EXPECT_EQ(SkinNumber("  42px,", 1), 42);
    EXPECT_EQ(SkinNumber("+8,", 1), 8);
    EXPECT_EQ(SkinNumber("x8,", 1), 0);
    EXPECT_EQ(SkinNumber("-,", 1), 0);
    EXPECT_EQ(SkinNumber("99999999999,", 1), 2147483647);
    EXPECT_EQ(SkinNumber("-99999999999,", 1), -2147483647 - 1);
    EXPECT_TRUE(SkinFlag("-1,", 1));
    EXPECT_TRUE(SkinFlag("2,", 1));
}

}  // namespace
