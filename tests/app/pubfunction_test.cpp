#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/pubfunction.h"
#include "platform/inifile.h"
#include "support/tempdir.h"

namespace {

// Points the settings store and the home folder at a scratch folder, and puts the globals back.
class PubFunction : public ::testing::Test {
  protected:
    void SetUp() override {
        savedHome_ = qgetenv("HOME");
        savedConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", (dir_.Path() + "home").toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir_.Path() + "config").toUtf8());
        QDir().mkdir(dir_.Path() + "home");
        saved_ = {path_Config, path_Snapshot, path_Work};
        savedKeep_ = b_KeepRatio;
        path_Config = dir_.Path() + "program/";
        path_Snapshot = path_Config + "Snapshot/";
        path_Work = DefaultWorkFolder();
        b_KeepRatio = false;
    }
    void TearDown() override {
        qputenv("HOME", savedHome_);
        qputenv("XDG_CONFIG_HOME", savedConfig_);
        path_Config = saved_[0];
        path_Snapshot = saved_[1];
        path_Work = saved_[2];
        b_KeepRatio = savedKeep_;
    }
    QString SettingsFile() const { return dir_.Path() + "config/Derobox/Derobox.ini"; }

    TempDir dir_;

  private:
    QByteArray savedHome_, savedConfig_;
    QStringList saved_;
    bool savedKeep_ = false;
};

}  // namespace

TEST(TimeText, FormsAndLimits) {
    EXPECT_EQ(TimeToText(3725), "01:02:05");
    EXPECT_EQ(TimeToText(59), "00:00:59");
    EXPECT_EQ(TimeToText(0), "00:00:00");
    EXPECT_EQ(TimeToText(86400), "24:00:00");
    EXPECT_EQ(TimeToText(86401), "00:00:00");
    EXPECT_EQ(TimeToText(-5), "00:00:00");
    EXPECT_EQ(TimeToText(INT32_MIN), "00:00:00");
    EXPECT_EQ(TwoDigitText(7), "07");
    EXPECT_EQ(TwoDigitText(10), "10");
    EXPECT_EQ(TwoDigitText(123), "123");
}

TEST(Clamp, LowWinsWhenTheRangeIsEmpty) {
    EXPECT_EQ(Clamp(5, 0, 10), 5);
    EXPECT_EQ(Clamp(-1, 0, 10), 0);
    EXPECT_EQ(Clamp(11, 0, 10), 10);
    EXPECT_EQ(Clamp(5, 8, 2), 8);
}

TEST_F(PubFunction, FirstRunUsesDefaultsAndSavesBothValues) {
    LoadSettings();
    EXPECT_EQ(path_Work, dir_.Path() + "home/DeroOutput/");
    EXPECT_FALSE(b_KeepRatio);
    EXPECT_TRUE(QDir(dir_.Path() + "config/Derobox").exists());

    b_KeepRatio = true;
    SaveSettings();
    TIniFile ini(SettingsFile());
    EXPECT_EQ(ini.ReadString("SOFTWARE\\Derobox", "OutputFolder", ""), path_Work);
    EXPECT_EQ(ini.ReadInteger("SOFTWARE\\Derobox", "KeepRatio", -1), 1);

    path_Work = "changed/";
    b_KeepRatio = false;
    LoadSettings();
    EXPECT_EQ(path_Work, dir_.Path() + "home/DeroOutput/");
    EXPECT_TRUE(b_KeepRatio);
}

TEST_F(PubFunction, StoredValuesAreReadAndAFolderGetsItsSeparator) {
    QDir().mkpath(dir_.Path() + "config/Derobox");
    dir_.Write("config/Derobox/Derobox.ini",
               "[SOFTWARE\\Derobox]\nOutputFolder=/media/out\nKeepRatio=7\n");
    LoadSettings();
    EXPECT_EQ(path_Work, "/media/out/");
    EXPECT_TRUE(b_KeepRatio);
}

TEST_F(PubFunction, OutputFolderWithMissingParentFallsBackAndTheFallbackIsSaved) {
    QDir().mkpath(dir_.Path() + "config/Derobox");
    const QString gone = dir_.Path() + "no drive/out/";
    dir_.Write("config/Derobox/Derobox.ini",
               ("[SOFTWARE\\Derobox]\nOutputFolder=" + gone).toUtf8());
    LoadSettings();
    EXPECT_EQ(path_Work, gone);

    EXPECT_TRUE(CreateWorkFolders());
    EXPECT_EQ(path_Work, dir_.Path() + "home/DeroOutput/");
    EXPECT_TRUE(QDir(path_Snapshot).exists());
    EXPECT_FALSE(QDir(gone).exists());

    SaveSettings();
    EXPECT_EQ(TIniFile(SettingsFile()).ReadString("SOFTWARE\\Derobox", "OutputFolder", ""),
              dir_.Path() + "home/DeroOutput/");
}

TEST_F(PubFunction, FolderCreationFailsWhenEvenTheDefaultCannotBeMade) {
    qputenv("HOME", (dir_.Path() + "no home").toUtf8());
    path_Work = dir_.Path() + "missing/out/";
    EXPECT_FALSE(CreateWorkFolders());
}

TEST_F(PubFunction, ClearingRemovesFilesAndKeepsFolders) {
    const QString root = dir_.Path() + "clear";
    QDir().mkpath(root + "/sub/deeper");
    dir_.Write("clear/a.pic", "a");
    dir_.Write("clear/.hidden", "h");
    dir_.Write("clear/sub/b.pic", "b");
    dir_.Write("clear/sub/deeper/c.pic", "c");

    ClearFolder(root, false);  // no separator: one is added
    EXPECT_FALSE(QFile::exists(root + "/a.pic"));
    EXPECT_FALSE(QFile::exists(root + "/.hidden"));
    EXPECT_TRUE(QFile::exists(root + "/sub/b.pic"));

    ClearFolder(root + "/", true);
    EXPECT_FALSE(QFile::exists(root + "/sub/b.pic"));
    EXPECT_FALSE(QFile::exists(root + "/sub/deeper/c.pic"));
    EXPECT_TRUE(QDir(root + "/sub/deeper").exists());
}

TEST_F(PubFunction, FileSizeInKibibytes) {
    EXPECT_EQ(FileSizeKiB(dir_.Write("small", QByteArray(1023, 'x'))), 0);
    EXPECT_EQ(FileSizeKiB(dir_.Write("two", QByteArray(2048 + 5, 'x'))), 2);
    EXPECT_EQ(FileSizeKiB(dir_.Path() + "missing"), 0);
    EXPECT_EQ(FileSizeKiB(dir_.Path()), 0);
}

namespace {

TEST_F(PubFunction, AnInstalledProgramKeepsTheUsersFilesInTheUsersFolders) {
    const QString data = dir_.Path() + "data";
    const QString cache = dir_.Path() + "cache";
    qputenv("XDG_DATA_HOME", data.toUtf8());
    qputenv("XDG_CACHE_HOME", cache.toUtf8());
    ASSERT_TRUE(QDir().mkpath(path_Config));
    QFile stock(path_Config + "Output.dll");
    ASSERT_TRUE(stock.open(QIODevice::WriteOnly));
    stock.write("[mp4]\nProfileCount=1\n");
    stock.close();
    stock.setPermissions(QFileDevice::ReadOwner);

    // A build tree: everything in the program folder.
    EXPECT_EQ(ProfileFilePath(), path_Config + "Output.dll");
    EXPECT_EQ(DefaultSnapshotFolder(path_Config), path_Config + "Snapshot/");

    QFile(path_Config + "dero-installed").open(QIODevice::WriteOnly);
    EXPECT_EQ(DefaultSnapshotFolder(path_Config), cache + "/Derobox/Snapshot/");
    const QString own = data + "/Derobox/Output.dll";
    ASSERT_EQ(ProfileFilePath(), own);
    QFile copy(own);
    ASSERT_TRUE(copy.open(QIODevice::ReadWrite));
    EXPECT_EQ(copy.readAll(), QByteArray("[mp4]\nProfileCount=1\n"));
    // The copy is the user's to change, and a later start keeps the change.
    copy.write("Profile0=Mine\n");
    copy.close();
    ASSERT_EQ(ProfileFilePath(), own);
    QFile again(own);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_TRUE(again.readAll().endsWith("Profile0=Mine\n"));
    EXPECT_FALSE(QFile::exists(own + ".part"));

    path_Snapshot = DefaultSnapshotFolder(path_Config);
    EXPECT_TRUE(CreateWorkFolders());
    EXPECT_TRUE(QDir(path_Snapshot).exists());
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CACHE_HOME");
}

}  // namespace
