#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <future>

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

TEST(IniFile, APipeIsNeitherWaitedOnNorReplaced) {
    TempDir dir;
    const QString pipe = dir.Path() + "Output.dll";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    auto read = std::async(std::launch::async, [pipe] {
        return TIniFile(pipe).ReadString("Profile", "DefaultName", "default");
    });
    if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Lets a reader stuck in the open go, so the test ends.
        ::close(::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK));
        FAIL() << "the read waited on the pipe";
    }
    EXPECT_EQ(read.get(), "default");
    TIniFile ini(pipe);
    EXPECT_THROW(ini.WriteString("Profile", "DefaultName", "x"), EIniFileException);
    struct stat status {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
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

namespace {

// A tmpfs of a few pages over a scratch folder, so a write can meet a full disk. Mounting needs
// privileges a developer's machine may not grant; Mounted() tells whether it worked.
class SmallTmpfs {
  public:
    explicit SmallTmpfs(int kibibytes) {
        const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
        mounted_ = ::mount("tmpfs", dir_.PathStd().c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                           options.constData()) == 0;
        reason_ = mounted_ ? std::string() : std::strerror(errno);
    }
    ~SmallTmpfs() {
        if (mounted_) {
            ::umount2(dir_.PathStd().c_str(), MNT_DETACH);
        }
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Reason() const { return reason_; }
    QString Path() const { return dir_.Path(); }

    // Takes every free block, so the next block any file asks for is refused.
    void Fill() const {
        QFile filler(Path() + "filler");
        filler.open(QIODevice::WriteOnly);
        const QByteArray page(4096, 'f');
        while (filler.write(page) == page.size() && filler.flush()) {
        }
    }

  private:
    TempDir dir_;
    bool mounted_ = false;
    std::string reason_;
};

}  // namespace

TEST(IniFile, AFullDiskLeavesTheFileAsItWas) {
    SmallTmpfs disk(64);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here: " << disk.Reason();
    }
    QByteArray profiles;
    for (int i = 0; i < 300; ++i) {
        profiles += "[Family" + QByteArray::number(i) + "]\nProfileCount=1\nName=Phone QVGA\n";
    }
    const QString path = disk.Path() + "profiles.ini";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(profiles), profiles.size());
    }
    disk.Fill();
    TIniFile ini(path);
    try {
        ini.WriteString("Family0", "Name", "changed");
        ADD_FAILURE() << "a write onto a full disk reported success";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(QString(e.what()), "Unable to write to " + path);
    }
    EXPECT_TRUE(ReadAll(path) == profiles)
        << "the file now has " << ReadAll(path).size() << " of its " << profiles.size() << " bytes";
    EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden).size(), 2)
        << "a temporary file was left behind";
}

namespace {

// A disk that fails as a full or broken one does: writes stop short after `room` bytes and
// then fail with ENOSPC (or take nothing at all), or the sync fails.
class FailingDisk : public TAtomicFileWriter {
  public:
    enum class Fault { ShortWriteThenFull, TakesNothing, SyncFails };
    FailingDisk(Fault fault, size_t room) : fault_(fault), room_(room) {}

  protected:
    ssize_t Write(int fd, const char* data, size_t size) const override {
        if (fault_ == Fault::TakesNothing) {
            return 0;
        }
        if (fault_ == Fault::ShortWriteThenFull && written_ >= room_) {
            errno = ENOSPC;
            return -1;
        }
        const size_t allowed = fault_ == Fault::SyncFails ? size : std::min(size, room_ - written_);
        const ssize_t result = TAtomicFileWriter::Write(fd, data, allowed);
        written_ += static_cast<size_t>(std::max<ssize_t>(result, 0));
        return result;
    }
    bool Sync(int fd) const override {
        return fault_ != Fault::SyncFails && TAtomicFileWriter::Sync(fd);
    }

  private:
    Fault fault_;
    size_t room_;
    mutable size_t written_ = 0;
};

}  // namespace

TEST(IniFile, AFailedWriteOrSyncRaisesAndKeepsTheOriginal) {
    using Fault = FailingDisk::Fault;
    const QByteArray before = "[s]\nk=old\n" + QByteArray(9000, ';') + "\n";
    for (const auto& [fault, room] :
         {std::pair{Fault::ShortWriteThenFull, size_t{4096}},
          std::pair{Fault::ShortWriteThenFull, size_t{0}},
          std::pair{Fault::TakesNothing, size_t{0}}, std::pair{Fault::SyncFails, size_t{0}}}) {
        TempDir dir;
        const QString path = dir.Write("profiles.ini", before);
        const FailingDisk disk(fault, room);
        TIniFile ini(path, disk);
        EXPECT_THROW(ini.WriteString("s", "k", "new"), EIniFileException)
            << static_cast<int>(fault) << " " << room;
        EXPECT_TRUE(ReadAll(path) == before) << static_cast<int>(fault) << " " << room;
        EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"profiles.ini"});
    }
}

TEST(IniFile, AByteOrderMarkHidesNoSectionAndIsKept) {
    TempDir dir;
    const QString path = dir.Write("bom.ini", "\xEF\xBB\xBF[Video]\r\nName=a\r\n");
    TIniFile ini(path);
    EXPECT_TRUE(ini.SectionExists("video"));
    EXPECT_EQ(ini.ReadString("Video", "Name", "d"), "a");
    ini.WriteString("Video", "Name", "b");
    ini.WriteString("Video", "Size", "2");
    EXPECT_EQ(ReadAll(path), "\xEF\xBB\xBF[Video]\r\nName=b\r\nSize=2\r\n");
}

TEST(IniFile, AReplacedFileKeepsItsModeAndALinkStaysALink) {
    TempDir dir;
    const QString path = dir.Write("real.ini", "[s]\nk=old\n");
    QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    ASSERT_TRUE(QFile::link(path, dir.Path() + "link.ini"));
    TIniFile(dir.Path() + "link.ini").WriteString("s", "k", "new");
    EXPECT_TRUE(QFileInfo(dir.Path() + "link.ini").isSymLink());
    EXPECT_EQ(ReadAll(path), "[s]\nk=new\n");
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}
