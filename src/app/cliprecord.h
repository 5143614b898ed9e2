#pragma once

#include <QString>
#include <cstdint>

// One clip of the list: what the probe found about the source file, and the part of it the
// user wants converted. Owned by its Image_Item; 0 <= StartTime <= StopTime <= Duration.
struct ClipRecord {
    QString SourceFile;    // full path; the input of conversion and preview
    int32_t Duration = 0;  // whole seconds
    QString VideoFormat;   // shown only
    QString AudioFormat;   // shown only
    int32_t Width = 0;     // pixels; letter-boxing needs them
    int32_t Height = 0;
    int32_t StartTime = 0;  // seconds
    int32_t StopTime = 0;   // seconds
    bool Selected = false;
};
