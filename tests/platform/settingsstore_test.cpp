#include <gtest/gtest.h>

#include "platform/inifile.h"
#include "platform/settingsstore.h"
#include "support/tempdir.h"

TEST(SettingsStore, FollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(TSettingsStore::DefaultFilePath(), "/somewhere/config/Derobox/Derobox.ini");
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_TRUE(TSettingsStore::DefaultFilePath().endsWith("/.config/Derobox/Derobox.ini"));
    EXPECT_TRUE(TSettingsStore::DefaultFilePath().startsWith('/'));
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST(SettingsStore, KeysAreSectionsAndBooleansAreZeroOrOne) {
    TempDir dir;
    TSettingsStore store(dir.Path() + "a/b/Derobox.ini");
    EXPECT_FALSE(store.OpenKey("\\SOFTWARE\\Derobox", false));
    ASSERT_TRUE(store.OpenKey("\\SOFTWARE\\Derobox", true));
    EXPECT_FALSE(store.ValueExists("KeepRatio"));
    store.WriteBool("KeepRatio", true);
    store.WriteString("OutputFolder", "/x/");
    EXPECT_TRUE(store.ReadBool("keepratio"));
    EXPECT_EQ(store.ReadString("OutputFolder"), "/x/");

    TIniFile ini(store.FilePath());
    EXPECT_EQ(ini.ReadString("SOFTWARE\\Derobox", "KeepRatio", ""), "1");
    store.WriteBool("KeepRatio", false);
    EXPECT_EQ(ini.ReadString("SOFTWARE\\Derobox", "KeepRatio", ""), "0");
    EXPECT_TRUE(TSettingsStore(store.FilePath()).OpenKey("\\SOFTWARE\\Derobox", false));
}

TEST(SettingsStore, AFolderThatCannotBeMadeLeavesTheKeyClosed) {
    TempDir dir;
    dir.Write("file", "x");
    TSettingsStore store(dir.Path() + "file/Derobox/Derobox.ini");
    EXPECT_FALSE(store.OpenKey("\\SOFTWARE\\Derobox", true));
    EXPECT_FALSE(store.ValueExists("OutputFolder"));
    EXPECT_THROW(store.WriteString("OutputFolder", "/x/"), std::logic_error);
}
