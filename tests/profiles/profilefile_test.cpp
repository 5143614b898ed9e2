#include <gtest/gtest.h>

#include "platform/inifile.h"
#include "profiles/profilefile.h"
#include "support/tempdir.h"

namespace {

QStringList Lines(const TProfileFile& file, const QString& section) {
    return file.ReadList(section, QStringLiteral("Profile"));
}

class ProfileFileTest : public ::testing::Test {
  protected:
    QString Write(const QByteArray& text) { return dir_.Write(QStringLiteral("Output.dll"), text); }
    TempDir dir_;
};

TEST_F(ProfileFileTest, ListsSkipMissingAndNoDataKeysAndStopAtTheCount) {
    const TProfileFile file(
        Write("[psp]\n"
              "ProfileCount=4\n"
              "Profile0=first\n"
              "PROFILE2=third\n"
              "profile0=a second Profile0 is never read\n"
              "Profile3=NoData\n"
              "Profile4=beyond the count\n"
              "ResolutionCount=3\n"
              "Resolution0=nodata\n"
              "Resolution1=320x240\n"));
    EXPECT_EQ(Lines(file, QStringLiteral("psp")), QStringList({"first", "third"}));
    const auto profiles = file.Profiles(QStringLiteral("psp"));
    ASSERT_EQ(profiles.size(), 2u);
    EXPECT_EQ(profiles[1].Number, 2);  // the key it came from, not its position
    // Only the exact marker drops out; another spelling is a value like any other.
    EXPECT_EQ(file.ReadList(QStringLiteral("psp"), QStringLiteral("Resolution")),
              QStringList({"nodata", "320x240"}));
    EXPECT_EQ(file.ProfileCount(QStringLiteral("psp")), 4);
    EXPECT_EQ(file.Profile(QStringLiteral("psp"), 1), TProfileFile::NoData);
}

TEST_F(ProfileFileTest, SectionNamesMatchWithoutRegardToCase) {
    const TProfileFile file(Write("[PSP]\nProfileCount=1\nProfile0=line\nDefaultIndex=1\n"));
    EXPECT_EQ(Lines(file, QStringLiteral("psp")), QStringList({"line"}));
    EXPECT_EQ(file.DefaultIndex(QStringLiteral("psp")), 1);
}

TEST_F(ProfileFileTest, MissingFileReadsAsDefaults) {
    const TProfileFile file(dir_.Path() + QStringLiteral("absent.dll"));
    EXPECT_TRUE(file.Profiles(QStringLiteral("3gp")).empty());
    EXPECT_TRUE(file.ReadList(QStringLiteral("3gp"), QStringLiteral("AudioFrameRate")).isEmpty());
    EXPECT_EQ(file.DefaultIndex(QStringLiteral("3gp")), 0);
    EXPECT_EQ(file.ReadListIndex(QStringLiteral("3gp"), QStringLiteral("Resolution")), 0);
    EXPECT_EQ(file.DefaultName(QStringLiteral("3gp")), QStringLiteral("DefaultName"));
    EXPECT_EQ(file.DefaultBitRate(QStringLiteral("3gp")), QStringLiteral("200"));
}

TEST_F(ProfileFileTest, AppendingRaisesTheCountAndReplacingKeepsIt) {
    TProfileFile file(Write("[mp4]\nProfileCount=2\nProfile0=a\nProfile1=b\n"));
    ASSERT_TRUE(file.AppendProfile(QStringLiteral("mp4"), QStringLiteral("c")));
    EXPECT_EQ(file.ProfileCount(QStringLiteral("mp4")), 3);
    EXPECT_EQ(file.Profile(QStringLiteral("mp4"), 2), QStringLiteral("c"));

    ASSERT_TRUE(file.WriteProfile(QStringLiteral("mp4"), 1, QStringLiteral("B")));
    EXPECT_EQ(file.ProfileCount(QStringLiteral("mp4")), 3);
    EXPECT_EQ(Lines(file, QStringLiteral("mp4")), QStringList({"a", "B", "c"}));
}

TEST_F(ProfileFileTest, RefusedWriteNamesTheFile) {
    const QString path = dir_.Path() + QStringLiteral("no such folder/Output.dll");
    TProfileFile file(path);
    try {
        (void)file.AppendProfile(QStringLiteral("3gp"), QStringLiteral("x"));
        FAIL() << "the write should have been refused";
    } catch (const EIniFileException& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()), QStringLiteral("Unable to write to ") + path);
    }
}

}  // namespace
