#pragma once

#include <QString>
#include <cstdint>

// Seconds of output converted so far, as the encoder's progress text gives them: the text
// between "time=" and "bitrate", blanks trimmed, read as its leading decimal number. A text
// without both words, or without a number there, reads as 0.
float InfoTextSeconds(const QString& text);

// Whole units of value, cut toward zero; 0 for a value that is not a number, and the int32 range
// for values beyond it, so divisions by a zero clip length never reach undefined behaviour.
int32_t CutTowardZero(float value);
