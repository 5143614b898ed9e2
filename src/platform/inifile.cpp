#include "inifile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <optional>
#include <vector>

#include "atomicfilewriter.h"

namespace {

constexpr int kMaxValueLength = 2047;

// One physical line of the file; the terminator is kept apart so a rewrite reproduces the
// file byte for byte except where a value changes.
struct Line {
    QByteArray text;
    QByteArray ending;
};

std::vector<Line> SplitLines(const QByteArray& bytes) {
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') {
            ++end;
        }
        Line line{bytes.mid(start, end - start), {}};
        if (end < bytes.size()) {
            const bool crlf =
                bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
            line.ending = bytes.mid(end, crlf ? 2 : 1);
        }
        start = end + line.ending.size();
        lines.push_back(std::move(line));
    }
    return lines;
}

// A file's lines, and the UTF-8 byte-order mark some editors put before the first one: it is no
// part of the first line's text, or it would hide the first section, but it is written back.
struct Document {
    QByteArray byteOrderMark;
    std::vector<Line> lines;
};

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

Document ParseDocument(const QByteArray& bytes) {
    Document document;
    if (bytes.startsWith(kByteOrderMark)) {
        document.byteOrderMark = kByteOrderMark;
    }
    document.lines = SplitLines(bytes.mid(document.byteOrderMark.size()));
    return document;
}

QByteArray JoinDocument(const Document& document) {
    QByteArray bytes = document.byteOrderMark;
    for (const Line& line : document.lines) {
        bytes += line.text;
        bytes += line.ending;
    }
    return bytes;
}

// The section name of a "[name]" line, or nothing.
std::optional<QString> SectionName(const QByteArray& text) {
    const QByteArray trimmed = text.trimmed();
    if (!trimmed.startsWith('[')) {
        return std::nullopt;
    }
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(trimmed.mid(1, close - 1).trimmed());
}

bool IsComment(const QByteArray& text) {
    const QByteArray trimmed = text.trimmed();
    return trimmed.startsWith(';');
}

// The key of a "key=value" line, or nothing.
std::optional<QString> KeyName(const QByteArray& text) {
    if (IsComment(text) || SectionName(text)) {
        return std::nullopt;
    }
    const qsizetype equals = text.indexOf('=');
    if (equals < 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(text.left(equals).trimmed());
}

QString RawValue(const QByteArray& text) {
    return QString::fromUtf8(text.mid(text.indexOf('=') + 1).trimmed());
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a section lies in the file: its header line and one past its last line.
struct SectionRange {
    size_t header;
    size_t end;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, const QString& section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].text);
        if (!name || !SameName(*name, section)) {
            continue;
        }
        size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end].text)) {
            ++end;
        }
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, const SectionRange& range,
                              const QString& key) {
    for (size_t i = range.header + 1; i < range.end; ++i) {
        const auto name = KeyName(lines[i].text);
        if (name && SameName(*name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

// The file as it is; an empty document when it does not exist, nothing when it exists but
// cannot be read. Only a plain file is read: opening a pipe would wait for a writer that never
// comes, and a device could hand out bytes without end. The open does not wait either, and the
// test is made on what was opened, so nothing can be swapped in between.
std::optional<Document> ReadDocument(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return Document{};
        }
        return std::nullopt;
    }
    QFile file;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return ParseDocument(bytes);
}

// What the readers see: a file that cannot be read has no sections.
std::vector<Line> ReadLines(const QString& path) {
    return ReadDocument(path).value_or(Document{}).lines;
}

// The file's own line ending, so added lines match the lines around them.
QByteArray LineEnding(const std::vector<Line>& lines) {
    for (const Line& line : lines) {
        if (!line.ending.isEmpty()) {
            return line.ending;
        }
    }
    return "\n";
}

QString TrimQuotes(const QString& value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == '"' || first == '\'') && value.back() == first) {
            return value.mid(1, value.size() - 2);
        }
    }
    return value;
}

// A value holding a line break would split into lines of its own and could forge keys or
// sections; line breaks are stored as blanks instead.
QByteArray SingleLine(const QString& value) {
    QByteArray bytes = value.toUtf8();
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

// The document with key's value in section set: the key replaced where it is, else added to the
// section, else a new section added at the end.
Document SetValue(Document document, const QString& section, const QString& key,
                  const QString& value) {
    std::vector<Line>& lines = document.lines;
    const QByteArray ending = LineEnding(lines);
    const QByteArray entry = SingleLine(key).trimmed() + '=' + SingleLine(value);

    const auto range = FindSection(lines, section);
    if (!range) {
        if (!lines.empty() && lines.back().ending.isEmpty()) {
            lines.back().ending = ending;
        }
        lines.push_back({'[' + SingleLine(section) + ']', ending});
        lines.push_back({entry, ending});
    } else if (const auto index = FindKey(lines, *range, key)) {
        lines[*index].text = entry;
    } else {
        // A new key goes after the section's last non-blank line, keeping blank separators
        // between sections where they were.
        size_t at = range->end;
        while (at > range->header + 1 && lines[at - 1].text.trimmed().isEmpty()) {
            --at;
        }
        if (lines[at - 1].ending.isEmpty()) {
            lines[at - 1].ending = ending;
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{entry, ending});
    }
    return document;
}

[[noreturn]] void RefuseWrite(const QString& path) {
    throw EIniFileException(QString("Unable to write to %1").arg(path).toStdString());
}

}  // namespace

TIniFile::TIniFile(QString path, const TAtomicFileWriter& writer)
    : path_(std::move(path)), writer_(&writer) {}

QString TIniFile::ReadString(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    const std::vector<Line> lines = ReadLines(path_);
    const auto range = FindSection(lines, section);
    if (!range) {
        return defaultValue;
    }
    const auto index = FindKey(lines, *range, key);
    if (!index) {
        return defaultValue;
    }
    return TrimQuotes(RawValue(lines[*index].text)).left(kMaxValueLength);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    const QString text = ReadString(section, key, QString()).trimmed();
    qsizetype end = 0;
    if (end < text.size() && (text[end] == '-' || text[end] == '+')) {
        ++end;
    }
    const qsizetype digitsStart = end;
    while (end < text.size() && text[end].isDigit() && text[end].unicode() < 128) {
        ++end;
    }
    if (end == digitsStart) {
        return defaultValue;
    }
    bool ok = false;
    const qlonglong value = text.left(end).toLongLong(&ok);
    if (!ok) {
        return defaultValue;
    }
    // Out-of-range numbers wrap the way a 32-bit accumulator does.
    return static_cast<int>(static_cast<uint32_t>(value));
}

QHash<QString, QString> TIniFile::ReadSectionValues(const QString& section) const {
    const std::vector<Line> lines = ReadLines(path_);
    QHash<QString, QString> values;
    const auto range = FindSection(lines, section);
    if (!range) {
        return values;
    }
    for (size_t i = range->header + 1; i < range->end; ++i) {
        const auto name = KeyName(lines[i].text);
        if (!name) {
            continue;
        }
        const QString key = name->toCaseFolded();
        if (!values.contains(key)) {
            values.insert(key, TrimQuotes(RawValue(lines[i].text)).left(kMaxValueLength));
        }
    }
    return values;
}

bool TIniFile::SectionExists(const QString& section) const {
    return FindSection(ReadLines(path_), section).has_value();
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    const std::vector<Line> lines = ReadLines(path_);
    const auto range = FindSection(lines, section);
    return range && FindKey(lines, *range, key).has_value();
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    std::optional<Document> document = ReadDocument(path_);
    // Writing a file that could not be read would leave nothing in it but this one key.
    if (!document) {
        RefuseWrite(path_);
    }
    const QByteArray bytes = JoinDocument(SetValue(std::move(*document), section, key, value));
    if (!writer_->Replace(path_, bytes)) {
        RefuseWrite(path_);
    }
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}
