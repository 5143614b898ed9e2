#pragma once

#include <QString>
#include <cstdint>

// One clip of the clip list: what probing found out about its source file, and the part of it
// to convert. Invariant kept by the trim operation: 0 <= StartTime <= StopTime <= Duration.
struct ClipRecord {
    QString SourceFile;    // full path
    int32_t Duration = 0;  // whole seconds
    QString VideoFormat;
    QString AudioFormat;
    int32_t Width = 0;      // pixels
    int32_t Height = 0;     // pixels
    int32_t StartTime = 0;  // seconds
    int32_t StopTime = 0;   // seconds
    bool Selected = false;
};
