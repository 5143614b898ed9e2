#pragma once

#include <QString>
#include <cstdint>

// What choosing a device family fixes: the profile file section its profiles live in, the
// extension and container of the output files, and the picture shown while nothing plays.
struct TDeviceFamily {
    int32_t Family;
    QString Section;
    QString OutputExt;
    QString OutputFormat;
    QString PictureFile;
};

// Families 0 "3gp", 1 "psp", 2 "ipod", 3 "pda", 4 "mp4"; null for any other value.
const TDeviceFamily* FindDeviceFamily(int32_t family);
// The family's section name; empty for an unknown family, whose profiles then come from a
// section with an empty name.
QString DeviceFamilySection(int32_t family);
