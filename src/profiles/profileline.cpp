#include "profiles/profileline.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/convertsettings.h"
#include "profiles/outputstate.h"

// The extraction counts positions from 1 and never fails: a missing separator gives position 0,
// a start below 1 counts as 1 and a count of 0 or less gives the empty text, so every part stays
// inside the line whatever it holds.
namespace {

int Find(const QString& text, const QString& what) {
    return static_cast<int>(text.indexOf(what)) + 1;
}

QString Part(const QString& text, int position, int count) {
    if (count <= 0) {
        return QString();
    }
    position = std::max(position, 1);
    return text.mid(position - 1, count);
}

// Blanks and control characters, like the classic text trim.
QString Trim(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= u' ') {
        ++first;
    }
    while (last > first && text.at(last - 1).unicode() <= u' ') {
        --last;
    }
    return text.mid(first, last - first);
}

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Sign and digits at the start of the text: "176x" is 176; 0 when there are none.
int32_t LeadingInteger(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && IsAsciiDigit(text.at(i)); ++i) {
        value = std::min<int64_t>(value * 10 + (text.at(i).unicode() - u'0'),
                                  std::numeric_limits<int32_t>::max());
    }
    return static_cast<int32_t>(negative ? -value : value);
}

// Sign, digits and a decimal fraction at the start of the text: "22.05 " is 22.05.
double LeadingDecimal(const QString& text) {
    qsizetype end = 0;
    if (end < text.size() && (text.at(end) == u'-' || text.at(end) == u'+')) {
        ++end;
    }
    const qsizetype digitsFrom = end;
    while (end < text.size() && IsAsciiDigit(text.at(end))) {
        ++end;
    }
    if (end < text.size() && text.at(end) == u'.') {
        ++end;
        while (end < text.size() && IsAsciiDigit(text.at(end))) {
            ++end;
        }
    }
    bool ok = false;
    const double value = text.left(end).toDouble(&ok);
    return (ok && end > digitsFrom) ? value : 0.0;
}

// Width and height of a resolution text such as "320x240". The separator is looked for in
// either case: the frame size passes to the encoder lower-cased, so "320X240" means the same
// frame and must letter-box the same way.
void ReadFrameSize(const QString& resolution, TOutputState& state) {
    const QString lower = resolution.toLower();
    const int x = Find(lower, QStringLiteral("x"));
    state.OutputWidth = LeadingInteger(Trim(Part(resolution, 1, x)));
    state.OutputHeight = LeadingInteger(Trim(Part(resolution, x + 1, 4)));
}

void ReadVideoHalf(const QString& video, ConvertSettings& settings) {
    const int comma = Find(video, QStringLiteral(","));
    const int kbps = Find(video, QStringLiteral("kbps,"));
    settings.VideoBitRate = Trim(Part(video, comma + 1, kbps - comma - 1)).toLower();
    settings.FrameRate =
        Trim(Part(video, kbps + 5, Find(video, QStringLiteral("fps")) - kbps - 5)).toLower();
}

void ReadAudioHalf(const QString& audio, ConvertSettings& settings) {
    const int kbps = Find(audio, QStringLiteral("kbps,"));
    settings.AudioBitRate = Trim(Part(audio, 7, kbps - 7));
    const QString kilohertz =
        Trim(Part(audio, kbps + 5, Find(audio, QStringLiteral("khps")) - kbps - 5));
    settings.SampleRate = SampleRateHertz(kilohertz);
    settings.AudioChannels = Trim(Part(audio, Find(audio, QStringLiteral("khps, ")) + 5, 2));
}

}  // namespace

QString SampleRateHertz(const QString& kilohertz) {
    const double hertz = LeadingDecimal(kilohertz) * 1000.0;
    // A number beyond single range (only a text of dozens of digits gets there) becomes infinite
    // instead of an undefined conversion.
    const float single = std::fabs(hertz) <= std::numeric_limits<float>::max()
                             ? static_cast<float>(hertz)
                             : (hertz < 0 ? -1.0f : 1.0f) * std::numeric_limits<float>::infinity();
    return QString::number(static_cast<double>(single), 'g', 15);
}

bool TakeProfileLineApart(const QString& line, TOutputState& state, ConvertSettings& settings) {
    settings.VideoCodec = QStringLiteral("mpeg4");
    settings.AudioCodec = QStringLiteral("aac");

    const int videoAt = Find(line, QStringLiteral("Video: "));
    const QString video = Part(line, videoAt, Find(line, QStringLiteral("Audio:")) - videoAt);
    const QString resolution = Trim(Part(video, 8, Find(video, QStringLiteral(",")) - 8));
    if (resolution.size() < 3) {
        return false;
    }
    ReadFrameSize(resolution, state);
    settings.FrameSize = resolution.toLower();
    ReadVideoHalf(video, settings);
    ReadAudioHalf(Part(line, Find(line, QStringLiteral("Audio: ")), 100), settings);
    settings.Format = state.OutputFormat;
    return true;
}
