#pragma once

#include <QString>

// Field n (counting from 1) of a skin entry value: a list of comma-terminated fields. Field n is
// the text between the (n-1)th and the nth comma, trimmed of blanks and control characters; a
// field without its terminating comma, or beyond the list, is empty.
QString SkinField(const QString& value, int n);

// The field as a leading decimal integer (blanks, optional sign, digits up to the first other
// character); 0 for empty or non-numeric text. Values beyond int saturate.
int SkinNumber(const QString& value, int n);

// The largest coordinate a screen can show. Positions and sizes beyond it are clamped, so that a
// crafted skin file cannot ask for a window of billions of pixels.
constexpr int kSkinCoordinateLimit = 16384;

// The field as a Left or Top: a number held to -16384..16384.
int SkinPosition(const QString& value, int n);

// The field as a Width or Height: a number held to 0..16384.
int SkinSize(const QString& value, int n);

// The field as a flag: any non-zero number is true.
bool SkinFlag(const QString& value, int n);
