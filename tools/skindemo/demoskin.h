#pragma once

#include <QString>

// Writes a complete demonstration skin into dir (ending in the separator): Skin.ini with a
// "SkinDemo" section and its BMP pictures, every one drawn here.
void WriteDemoSkin(const QString& dir);
