#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>

#include "platform/filesystem.h"
#include "support/tempdir.h"

TEST(FileSystem, CreatesOneLevelOnly) {
    TempDir dir;
    EXPECT_FALSE(CreateFolder(dir.Path() + "a/b/"));
    EXPECT_TRUE(CreateFolder(dir.Path() + "a/"));
    EXPECT_TRUE(CreateFolder(dir.Path() + "a/b/"));
    EXPECT_TRUE(CreateFolder(dir.Path() + "a/b/"));  // already there
    EXPECT_TRUE(FolderExists(dir.Path() + "a/b"));
    EXPECT_FALSE(CreateFolder(dir.Write("plain", "x")));
    EXPECT_FALSE(CreateFolder(""));
}

TEST(FileSystem, FilesAndFoldersAreToldApart) {
    TempDir dir;
    const QString file = dir.Write("f.bin", QByteArray(3000, 'x'));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.Path()));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_EQ(FileSize(file), 3000);
    EXPECT_EQ(FileSize(dir.Path()), -1);
    EXPECT_EQ(FileSize(dir.Path() + "none"), -1);
    EXPECT_FALSE(DeleteFile(dir.Path()));
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DeleteFile(file));
}

TEST(FileSystem, ListingShowsHiddenEntriesButNotDots) {
    TempDir dir;
    QDir().mkdir(dir.Path() + "sub");
    dir.Write(".hidden", "h");
    dir.Write("z", "z");
    QFile::link(dir.Path() + "sub", dir.Path() + "link");
    auto entries = ListFolder(dir.Path());
    ASSERT_EQ(entries.size(), 4);
    auto find = [&](const QString& name) {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const TFolderEntry& e) { return e.name == name; });
    };
    EXPECT_TRUE(find("sub")->isFolder);
    EXPECT_FALSE(find(".hidden")->isFolder);
    EXPECT_FALSE(find("link")->isFolder);  // a link to a folder is never descended into
}

TEST(FileSystem, ProgramFolderIsThisProgramsFolder) {
    const QString folder = ProgramFolder();
    EXPECT_TRUE(folder.endsWith('/'));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_EQ(QDir(folder).canonicalPath(),
              QDir(QCoreApplication::applicationDirPath()).canonicalPath());
}
