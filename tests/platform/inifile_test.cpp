#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "platform/inifile.h"
#include "support/tempdir.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

}  // namespace

TEST(IniFile, ReadsWithoutRegardToCaseAndTrimsBlanksAndOnePairOfQuotes) {
    TempDir dir;
    const QString path = dir.Write("a.ini",
                                   "; comment=not a key\r\n"
                                   "[Video]\r\n"
                                   "  Name  =   spaced out   \r\n"
                                   "Quoted=\"\"inner\"\"\r\n"
                                   "Single=' x '\r\n"
                                   "Unbalanced=\"left\r\n"
                                   "Empty=\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("VIDEO", "name", "d"), "spaced out");
    EXPECT_EQ(ini.ReadString("video", "QUOTED", "d"), "\"inner\"");
    EXPECT_EQ(ini.ReadString("Video", "Single", "d"), " x ");
    EXPECT_EQ(ini.ReadString("Video", "Unbalanced", "d"), "\"left");
    EXPECT_EQ(ini.ReadString("Video", "Empty", "d"), "");
    EXPECT_EQ(ini.ReadString("Video", "Missing", "d"), "d");
    EXPECT_EQ(ini.ReadString("Audio", "Name", "d"), "d");
    EXPECT_EQ(ini.ReadString("Video", "; comment", "d"), "d");
    EXPECT_TRUE(ini.ValueExists("video", "EMPTY"));
    EXPECT_FALSE(ini.ValueExists("video", "missing"));
    EXPECT_TRUE(ini.SectionExists("VIDEO"));
    EXPECT_FALSE(ini.SectionExists("comment"));
}

TEST(IniFile, ValuesAreCutAt2047Characters) {
    TempDir dir;
    const QString path = dir.Write("a.ini", "[s]\nk=" + QByteArray(3000, 'x') + "\n");
    EXPECT_EQ(TIniFile(path).ReadString("s", "k", "").size(), 2047);
}

TEST(IniFile, MissingFileGivesDefaults) {
    TempDir dir;
    TIniFile ini(dir.Path() + "none.ini");
    EXPECT_EQ(ini.ReadString("s", "k", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadInteger("s", "k", 7), 7);
    EXPECT_FALSE(ini.SectionExists("s"));
}

TEST(IniFile, ReadsTheLeadingSignedDecimalNumber) {
    TempDir dir;
    const QString path = dir.Write("a.ini",
                                   "[n]\nplain=42\nneg=-17\npos=+5\ntail=12abc\nword=abc\n"
                                   "sign=-\nblank=\nspaced=  8  \nquoted=\"3\"\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("n", "plain", 0), 42);
    EXPECT_EQ(ini.ReadInteger("n", "neg", 0), -17);
    EXPECT_EQ(ini.ReadInteger("n", "pos", 0), 5);
    EXPECT_EQ(ini.ReadInteger("n", "tail", 0), 12);
    EXPECT_EQ(ini.ReadInteger("n", "word", 99), 99);
    EXPECT_EQ(ini.ReadInteger("n", "sign", 99), 99);
    EXPECT_EQ(ini.ReadInteger("n", "blank", 99), 99);
    EXPECT_EQ(ini.ReadInteger("n", "spaced", 0), 8);
    EXPECT_EQ(ini.ReadInteger("n", "quoted", 0), 3);
}

TEST(IniFile, WriteCreatesFileAndSection) {
    TempDir dir;
    const QString path = dir.Path() + "new.ini";
    TIniFile ini(path);
    ini.WriteString("First", "Key", "value");
    ini.WriteInteger("Second", "Number", -3);
    EXPECT_EQ(ReadAll(path), "[First]\nKey=value\n[Second]\nNumber=-3\n");
    EXPECT_EQ(ini.ReadString("first", "key", ""), "value");
    EXPECT_EQ(ini.ReadInteger("SECOND", "number", 0), -3);
}

TEST(IniFile, WriteKeepsEveryOtherLineAsItWas) {
    TempDir dir;
    const QByteArray before =
        "; heading comment\r\n"
        "[A]\r\n"
        "Zeta = 1\r\n"
        "unknown line without equals\r\n"
        "Alpha=old   \r\n"
        "\r\n"
        "[B]\r\n"
        "Other=\"kept\"";  // no final line break
    const QString path = dir.Write("keep.ini", before);
    TIniFile ini(path);

    ini.WriteString("a", "ALPHA", "new");
    QByteArray expected = before;
    expected.replace("Alpha=old   ", "ALPHA=new");
    EXPECT_EQ(ReadAll(path), expected);

    ini.WriteString("A", "Added", "x");
    expected.replace("ALPHA=new\r\n", "ALPHA=new\r\nAdded=x\r\n");
    EXPECT_EQ(ReadAll(path), expected);

    ini.WriteString("B", "Last", "y");
    expected += "\r\nLast=y\r\n";
    EXPECT_EQ(ReadAll(path), expected);
}

TEST(IniFile, ALineBreakInAValueCannotForgeKeys) {
    TempDir dir;
    TIniFile ini(dir.Path() + "a.ini");
    ini.WriteString("s", "k", "one\n[evil]\nx=1");
    EXPECT_FALSE(ini.SectionExists("evil"));
    EXPECT_EQ(ini.ReadString("s", "k", ""), "one [evil] x=1");
}

TEST(IniFile, RefusedWriteRaisesAndLeavesTheFileWhole) {
    TempDir dir;
    TIniFile missingFolder(dir.Path() + "no such folder/a.ini");
    try {
        missingFolder.WriteString("s", "k", "v");
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(QString(e.what()), "Unable to write to " + dir.Path() + "no such folder/a.ini");
    }

    const QString path = dir.Write("ro.ini", "[s]\nk=old\n");
    QFile::setPermissions(dir.Path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool folderIsWritable =
        QFileInfo(dir.Path()).isWritable() && QFile(path).open(QIODevice::ReadWrite);
    if (!folderIsWritable) {
        TIniFile ini(path);
        EXPECT_THROW(ini.WriteString("s", "k", "new"), EIniFileException);
        EXPECT_EQ(ReadAll(path), "[s]\nk=old\n");
    }
    QFile::setPermissions(dir.Path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
