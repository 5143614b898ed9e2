#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

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

namespace {

// Root reads every file whatever its mode. To meet a file it may write but not read, as a user
// does, the test thread takes an unprivileged file-system identity for the scope's lifetime.
class UnprivilegedFiles {
  public:
    static constexpr uid_t kNobody = 65534;
    explicit UnprivilegedFiles(const QStringList& paths) : root_(::geteuid() == 0) {
        if (!root_) {
            return;
        }
        for (const QString& path : paths) {
            chowned_ = ::chown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0;
        }
        ::setfsgid(kNobody);
        ::setfsuid(kNobody);
    }
    ~UnprivilegedFiles() {
        if (root_) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    UnprivilegedFiles(const UnprivilegedFiles&) = delete;
    UnprivilegedFiles& operator=(const UnprivilegedFiles&) = delete;
    bool Usable() const { return !root_ || chowned_; }

  private:
    bool root_;
    bool chowned_ = false;
};

}  // namespace

TEST(SettingsStore, AWriteOnlyFileIsRefusedNotReplaced) {
    TempDir dir;
    const QByteArray before = "[SOFTWARE\\Derobox]\nOutputFolder=/videos/\nKeepRatio=1\n";
    const QString path = dir.Write("Derobox.ini", before);
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    {
        const UnprivilegedFiles identity({dir.Path(), path});
        ASSERT_TRUE(identity.Usable());
        ASSERT_FALSE(QFile(path).open(QIODevice::ReadOnly));
        TSettingsStore store(path);
        ASSERT_TRUE(store.OpenKey("\\SOFTWARE\\Derobox", true));
        try {
            store.WriteBool("KeepRatio", false);
            ADD_FAILURE() << "the unreadable file was written";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(QString(e.what()), "Unable to write to " + path);
        }
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(TIniFile(path).ReadString("SOFTWARE\\Derobox", "OutputFolder", ""), "/videos/");
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Derobox.ini"});
}
