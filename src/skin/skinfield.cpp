#include "skinfield.h"

#include <algorithm>
#include <limits>

namespace {

bool IsBlankOrControl(QChar c) {
    return c.unicode() <= u' ';
}

QString TrimBlanksAndControls(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlankOrControl(text[first])) {
        ++first;
    }
    while (last > first && IsBlankOrControl(text[last - 1])) {
        --last;
    }
    return text.mid(first, last - first);
}

int LeadingInteger(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 kLimit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = std::min(kLimit, magnitude * 10 + (text[i].unicode() - u'0'));
    }
    const qint64 value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<int>(value);
}

}  // namespace

QString SkinField(const QString& value, int n) {
    qsizetype start = 0;
    for (int skipped = 1; skipped < n; ++skipped) {
        const qsizetype comma = value.indexOf(u',', start);
        if (comma >= 0) {
            start = comma + 1;
        }
    }
    const qsizetype end = value.indexOf(u',', start);
    if (end < 0) {
        return QString();
    }
    return TrimBlanksAndControls(value.mid(start, end - start));
}

int SkinNumber(const QString& value, int n) {
    return LeadingInteger(SkinField(value, n));
}

int SkinPosition(const QString& value, int n) {
    return std::clamp(SkinNumber(value, n), -kSkinCoordinateLimit, kSkinCoordinateLimit);
}

int SkinSize(const QString& value, int n) {
    return std::clamp(SkinNumber(value, n), 0, kSkinCoordinateLimit);
}

bool SkinFlag(const QString& value, int n) {
    return SkinNumber(value, n) != 0;
}
