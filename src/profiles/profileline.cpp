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
    state.OutputWidth = LeadingNumber(Trim(Part(resolution, 1, x)));
    state.OutputHeight = LeadingNumber(Trim(Part(resolution, x + 1, 4)));
}

}  // namespace

QString TrimProfileText(const QString& text) {
    return Trim(text);
}

int32_t LeadingNumber(const QString& text) {
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

QString SampleRateHertz(const QString& kilohertz) {
    const double hertz = LeadingDecimal(kilohertz) * 1000.0;
    // A number beyond single range (only a text of dozens of digits gets there) becomes infinite
    // instead of an undefined conversion.
    const float single = std::fabs(hertz) <= std::numeric_limits<float>::max()
                             ? static_cast<float>(hertz)
                             : (hertz < 0 ? -1.0f : 1.0f) * std::numeric_limits<float>::infinity();
    return QString::number(static_cast<double>(single), 'g', 15);
}

TProfileLineParts SplitProfileLine(const QString& line) {
    TProfileLineParts parts;
    parts.Name = Trim(Part(line, 1, Find(line, QStringLiteral(" : Video"))));

    const int videoAt = Find(line, QStringLiteral("Video: "));
    const QString video = Part(line, videoAt, Find(line, QStringLiteral("Audio:")) - videoAt);
    const int comma = Find(video, QStringLiteral(","));
    const int videoKbps = Find(video, QStringLiteral("kbps,"));
    parts.Resolution = Trim(Part(video, 8, comma - 8));
    parts.VideoBitRate = Trim(Part(video, comma + 1, videoKbps - comma - 1));
    parts.FrameRate =
        Trim(Part(video, videoKbps + 5, Find(video, QStringLiteral("fps")) - videoKbps - 5));

    const QString audio = Part(line, Find(line, QStringLiteral("Audio: ")), 100);
    const int audioKbps = Find(audio, QStringLiteral("kbps,"));
    parts.AudioBitRate = Trim(Part(audio, 7, audioKbps - 7));
    parts.SampleRate =
        Trim(Part(audio, audioKbps + 5, Find(audio, QStringLiteral("khps")) - audioKbps - 5));
    const int channelsAt = Find(audio, QStringLiteral("khps, ")) + 5;
    parts.Channels = Trim(Part(audio, channelsAt, static_cast<int>(audio.size())));
    parts.ChannelDigit = Trim(Part(audio, channelsAt, 2));
    return parts;
}

QString ComposeProfileLine(const TProfileLineParts& parts) {
    return parts.Name + QStringLiteral(" : Video: ") + parts.Resolution + QStringLiteral(", ") +
           parts.VideoBitRate + QStringLiteral(" kbps, ") + parts.FrameRate +
           QStringLiteral(" fps, Audio: ") + parts.AudioBitRate + QStringLiteral(" kbps, ") +
           parts.SampleRate + QStringLiteral(" khps, ") + parts.Channels;
}

bool TakeProfileLineApart(const QString& line, TOutputState& state, ConvertSettings& settings) {
    settings.VideoCodec = QStringLiteral("mpeg4");
    settings.AudioCodec = QStringLiteral("aac");

    const TProfileLineParts parts = SplitProfileLine(line);
    if (parts.Resolution.size() < 3) {
        return false;
    }
    ReadFrameSize(parts.Resolution, state);
    settings.FrameSize = parts.Resolution.toLower();
    settings.VideoBitRate = parts.VideoBitRate.toLower();
    settings.FrameRate = parts.FrameRate.toLower();
    settings.AudioBitRate = parts.AudioBitRate;
    settings.SampleRate = SampleRateHertz(parts.SampleRate);
    settings.AudioChannels = parts.ChannelDigit;
    settings.Format = state.OutputFormat;
    return true;
}
