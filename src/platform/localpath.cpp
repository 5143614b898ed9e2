#include "localpath.h"

#include <cstdint>

namespace {

constexpr char16_t kRawBase = 0xDC00;  // a kept byte b (0x80..0xFF) is kRawBase + b
constexpr char16_t kRawFirst = 0xDC80;
constexpr char16_t kRawLast = 0xDCFF;

bool IsContinuation(uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at bytes[at], or 0 when it is not one. Overlong forms,
// encoded surrogates and values past U+10FFFF are invalid, so no two byte strings decode alike.
int SequenceLength(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<uint8_t>(bytes[at + i]); };
    const uint8_t lead = byte(0);
    const qsizetype left = bytes.size() - at;
    if (lead < 0x80) {
        return 1;
    }
    int length = 0;
    uint8_t low = 0x80;
    uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (left < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (int i = 2; i < length; ++i) {
        if (!IsContinuation(byte(i))) {
            return 0;
        }
    }
    return length;
}

// Whether path[i] is a kept byte. The second half of a surrogate pair (a character past U+FFFF)
// can have the same value, so a unit right after a first half is text.
bool IsRawAt(const QString& path, qsizetype i) {
    const char16_t unit = path[i].unicode();
    return unit >= kRawFirst && unit <= kRawLast && (i == 0 || !path[i - 1].isHighSurrogate());
}

}  // namespace

QString TLocalPath::Decode(const QByteArray& bytes) {
    QString path;
    path.reserve(bytes.size());
    qsizetype at = 0;
    while (at < bytes.size()) {
        const int length = SequenceLength(bytes, at);
        if (length == 0) {
            path.append(QChar(kRawBase + static_cast<uint8_t>(bytes[at])));
            ++at;
            continue;
        }
        path.append(QString::fromUtf8(bytes.constData() + at, length));
        at += length;
    }
    return path;
}

QByteArray TLocalPath::Encode(const QString& path) {
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;
    // Runs of ordinary text go through Qt's encoder; kept bytes are written as themselves.
    const auto flushRun = [&](qsizetype end) {
        if (end > runStart) {
            bytes.append(path.mid(runStart, end - runStart).toUtf8());
        }
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (IsRawAt(path, i)) {
            flushRun(i);
            bytes.append(static_cast<char>(path[i].unicode() - kRawBase));
            runStart = i + 1;
        }
    }
    flushRun(path.size());
    return bytes;
}

QString TLocalPath::Display(const QString& path) {
    QString shown = path;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (IsRawAt(path, i)) {
            shown[i] = QChar::ReplacementCharacter;
        }
    }
    return shown;
}

QString TLocalPath::FileName(const QString& path) {
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString TLocalPath::FolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0) {
        return QStringLiteral(".");
    }
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

bool TLocalPath::HoldsRawBytes(const QString& path) {
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (IsRawAt(path, i)) {
            return true;
        }
    }
    return false;
}
