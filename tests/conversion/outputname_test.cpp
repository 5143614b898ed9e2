#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>

#include "conversion/outputname.h"
#include "support/tempdir.h"

namespace {

TEST(OutputNameTest, TakenNamesGetTheNextNumber) {
    TempDir dir;
    const QString source = QStringLiteral("/clips/holiday/clip.avi");
    QStringList names;
    for (int i = 0; i < 3; ++i) {
        const QString name = FreeOutputFile(dir.Path(), source, QStringLiteral(".MP4"));
        names << name.mid(dir.Path().size());
        dir.Write(names.last(), "written");
    }
    EXPECT_EQ(names, QStringList({"clip.MP4", "clip1.MP4", "clip2.MP4"}));
}

TEST(OutputNameTest, OnlyTheLastExtensionIsReplaced) {
    TempDir dir;
    EXPECT_EQ(FreeOutputFile(dir.Path(), QStringLiteral("/in/a.b.avi"), QStringLiteral(".3gp")),
              dir.Path() + QStringLiteral("a.b.3gp"));
    EXPECT_EQ(FreeOutputFile(dir.Path(), QStringLiteral("/in.d/noext"), QStringLiteral(".MP4")),
              dir.Path() + QStringLiteral("noext.MP4"));
}

TEST(OutputNameTest, ALinkToNowhereTakesItsName) {
    TempDir dir;
    ASSERT_EQ(::symlink(QFile::encodeName(dir.Path() + "gone").constData(),
                        QFile::encodeName(dir.Path() + "clip.MP4").constData()),
              0);
    EXPECT_EQ(FreeOutputFile(dir.Path(), QStringLiteral("/in/clip.avi"), QStringLiteral(".MP4")),
              dir.Path() + QStringLiteral("clip1.MP4"));
}

}  // namespace
