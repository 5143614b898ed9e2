#include "platform/localpath.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <random>

#include "platform/filesystem.h"
#include "support/tempdir.h"

namespace {

QByteArray Bytes(std::initializer_list<unsigned char> values) {
    QByteArray bytes;
    for (unsigned char value : values) {
        bytes.append(static_cast<char>(value));
    }
    return bytes;
}

}  // namespace

TEST(LocalPath, EveryByteStringComesBackExactly) {
    std::mt19937 random(24);
    // Mostly high bytes, so that lead bytes, continuations and their wrong mixes all occur.
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> byte(0x70, 0xFF);
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        for (int n = length(random); n > 0; --n) {
            bytes.append(static_cast<char>(byte(random)));
        }
        ASSERT_EQ(TLocalPath::Encode(TLocalPath::Decode(bytes)), bytes) << bytes.toHex().data();
    }
    for (int value = 1; value < 256; ++value) {
        const QByteArray one(1, static_cast<char>(value));
        EXPECT_EQ(TLocalPath::Encode(TLocalPath::Decode(one)), one) << value;
    }
}

TEST(LocalPath, ValidTextStaysTextAndEveryOtherByteIsKeptAlone) {
    EXPECT_EQ(TLocalPath::Decode(QByteArray("clip \xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xAC.avi")),
              QString::fromUtf8("clip \xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xAC.avi"));
    // Latin-1 "é" and a byte no encoding uses; overlong "/", an encoded surrogate, a value past
    // U+10FFFF and a cut sequence: none of them may turn into a character of its own.
    const QByteArray invalid[] = {Bytes({0xE9, 0xFF}), Bytes({0xC0, 0xAF}),
                                  Bytes({0xED, 0xA0, 0x80}), Bytes({0xF4, 0x90, 0x80, 0x80}),
                                  Bytes({0xE2, 0x82})};
    for (const QByteArray& bytes : invalid) {
        const QString decoded = TLocalPath::Decode(bytes);
        EXPECT_EQ(decoded.size(), bytes.size()) << bytes.toHex().data();
        EXPECT_TRUE(TLocalPath::HoldsRawBytes(decoded));
        EXPECT_EQ(TLocalPath::Display(decoded), QString(bytes.size(), QChar::ReplacementCharacter));
        EXPECT_FALSE(decoded.contains(u'/'));
    }
    // U+1F480's second half has the value of a kept byte: it is still text.
    const QByteArray beyond("skull \xF0\x9F\x92\x80.avi");
    EXPECT_EQ(TLocalPath::Decode(beyond), QString::fromUtf8(beyond));
    EXPECT_EQ(TLocalPath::Display(TLocalPath::Decode(beyond)), QString::fromUtf8(beyond));
    EXPECT_EQ(TLocalPath::Encode(QString::fromUtf8(beyond)), beyond);
    const QString plain = QString::fromUtf8("/home/\xC3\xA9/a*b?\"c\".avi");
    EXPECT_EQ(TLocalPath::Encode(plain), plain.toUtf8());
    EXPECT_FALSE(TLocalPath::HoldsRawBytes(plain));
}

TEST(LocalPath, NamesAndFolders) {
    const QString path = TLocalPath::Decode(Bytes({'/', 'm', '/', 0xE9, 0xFF, '.', 'a', 'v', 'i'}));
    EXPECT_EQ(TLocalPath::Encode(TLocalPath::FileName(path)),
              Bytes({0xE9, 0xFF, '.', 'a', 'v', 'i'}));
    EXPECT_EQ(TLocalPath::FolderOf(path), QStringLiteral("/m"));
    EXPECT_EQ(TLocalPath::FolderOf(QStringLiteral("/a.avi")), QStringLiteral("/"));
    EXPECT_EQ(TLocalPath::FolderOf(QStringLiteral("a.avi")), QStringLiteral("."));
    EXPECT_EQ(TLocalPath::FileName(QStringLiteral("a.avi")), QStringLiteral("a.avi"));
}

TEST(FileSystem, FilesWhoseNamesAreNoTextAreFoundListedAndDeleted) {
    TempDir dir;
    const QByteArray name = Bytes({'c', 'a', 'f', 0xE9, 0xFF, '.', 'a', 'v', 'i'});
    const QByteArray full = QFile::encodeName(dir.Path()) + name;
    const int fd = ::open(full.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "abc", 3), 3);
    ::close(fd);

    const QList<TFolderEntry> entries = ListFolder(dir.Path());
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(TLocalPath::Encode(entries.first().name), name);
    const QString path = dir.Path() + entries.first().name;
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(FileSize(path), 3);
    // The name Qt makes of these bytes is another file, which does not exist.
    EXPECT_FALSE(FileExists(dir.Path() + QFile::decodeName(name)));
    EXPECT_TRUE(DeleteFile(path));
    EXPECT_FALSE(FileExists(path));
}
