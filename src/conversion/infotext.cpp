#include "conversion/infotext.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// The longest leading part of text that reads as a decimal number: sign, digits, fraction and
// exponent. Words such as "inf" or "nan" are not numbers here.
QString LeadingNumber(const QString& text) {
    qsizetype end = 0;
    const auto digitsFrom = [&text](qsizetype at) {
        while (at < text.size() && text.at(at).isDigit()) {
            ++at;
        }
        return at;
    };
    if (end < text.size() && (text.at(end) == '+' || text.at(end) == '-')) {
        ++end;
    }
    const qsizetype integerEnd = digitsFrom(end);
    qsizetype numberEnd = integerEnd;
    if (numberEnd < text.size() && text.at(numberEnd) == '.') {
        const qsizetype fractionEnd = digitsFrom(numberEnd + 1);
        if (fractionEnd > numberEnd + 1 || integerEnd > end) {
            numberEnd = fractionEnd;
        }
    }
    if (numberEnd == end || (numberEnd == end + 1 && text.at(end) == '.')) {
        return {};
    }
    if (numberEnd < text.size() && (text.at(numberEnd) == 'e' || text.at(numberEnd) == 'E')) {
        qsizetype exponent = numberEnd + 1;
        if (exponent < text.size() && (text.at(exponent) == '+' || text.at(exponent) == '-')) {
            ++exponent;
        }
        const qsizetype exponentEnd = digitsFrom(exponent);
        if (exponentEnd > exponent) {
            numberEnd = exponentEnd;
        }
    }
    return text.left(numberEnd);
}

}  // namespace

float InfoTextSeconds(const QString& text) {
    // Positions count from 1, 0 meaning absent, so that a missing "time" reads from position 5
    // on, as the rule has it.
    const qsizetype bitratePos = text.indexOf(QLatin1String("bitrate")) + 1;
    const qsizetype timePos = text.indexOf(QLatin1String("time")) + 1;
    const qsizetype first = timePos + 5;
    const qsizetype last = bitratePos - 1;
    if (last < first || first > text.size()) {
        return 0;
    }
    const QString value = text.mid(first - 1, last - first + 1).trimmed();
    const QString number = LeadingNumber(value);
    return number.isEmpty() ? 0.0f : number.toFloat();
}

int32_t CutTowardZero(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr float kHighest = 2147483520.0f;  // the largest float below 2^31
    if (value >= kHighest) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value <= -2147483648.0f) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}
