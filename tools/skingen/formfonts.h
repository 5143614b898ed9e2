#pragma once

// Makes the font names the forms use resolve to outline fonts: "Tahoma" to the metric-compatible
// Tahoma of the system's Wine fonts when they are installed (they are outside fontconfig's
// folders), and "MS Sans Serif", whose free counterparts are bitmap fonts, to that Tahoma. Without
// them both fall back to DejaVu Sans. Call once after the QGuiApplication exists.
void InstallFormFonts();
