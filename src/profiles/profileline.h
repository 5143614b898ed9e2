#pragma once

#include <QString>
#include <cstdint>

struct ConvertSettings;
struct TOutputState;

// The texts of a profile line ("name : Video: 176x144, 200 kbps, 15 fps, Audio: 32 kbps,
// 22.05 khps, 1 Channel Mono"), each as it stands in the line, trimmed; the readers apply their
// own case rules.
struct TProfileLineParts {
    QString Name;
    QString Resolution;
    QString VideoBitRate;
    QString FrameRate;
    QString AudioBitRate;
    QString SampleRate;  // kilohertz
    QString Channels;    // "1 Channel Mono"
    // The two characters after "khps, " trimmed: the channel count the readers take. Filled by
    // SplitProfileLine only.
    QString ChannelDigit;

    bool operator==(const TProfileLineParts&) const = default;
};

// Locates the parts by their separators, so a line written by hand without them yields empty
// parts rather than a failure. Only the first 100 characters from "Audio: " on are looked at.
TProfileLineParts SplitProfileLine(const QString& line);
// The line the editor writes: the parts joined by the separators; ChannelDigit is not used.
QString ComposeProfileLine(const TProfileLineParts& parts);

// Takes a profile line apart into the profile fields of settings and the frame size of state.
// Returns false, without touching anything but the two codec fields, when the resolution text
// is shorter than 3 characters.
bool TakeProfileLineApart(const QString& line, TOutputState& state, ConvertSettings& settings);

// The sample rate in hertz, as text, for a kilohertz text such as "22.05": rounded to single
// precision so that the usual rates come out as whole numbers without a decimal point.
QString SampleRateHertz(const QString& kilohertz);

// Blanks and control characters off both ends, as the readers trim every part.
QString TrimProfileText(const QString& text);

// Sign and digits at the start of the text: "176x" is 176; 0 when there are none. Numbers
// beyond the 32-bit range stop at its limit.
int32_t LeadingNumber(const QString& text);
