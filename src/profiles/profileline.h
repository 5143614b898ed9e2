#pragma once

#include <QString>

struct ConvertSettings;
struct TOutputState;

// Takes a profile line ("name : Video: 176x144, 200 kbps, 15 fps, Audio: 32 kbps, 22.05 khps,
// 1 Channel Mono") apart into the profile fields of settings and the frame size of state.
// Parts are located by their separators, so a line written by hand without them yields empty
// or zero fields rather than a failure. Returns false, without touching anything but the two
// codec fields, when the resolution text is shorter than 3 characters.
bool TakeProfileLineApart(const QString& line, TOutputState& state, ConvertSettings& settings);

// The sample rate in hertz, as text, for a kilohertz text such as "22.05": rounded to single
// precision so that the usual rates come out as whole numbers without a decimal point.
QString SampleRateHertz(const QString& kilohertz);
