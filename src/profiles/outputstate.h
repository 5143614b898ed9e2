#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

// The main window's output values that choosing a family and a profile set, and that the
// conversion reads: the output files' extension and container, the chosen profile's frame size
// (for letter-boxing) and the family's picture.
struct TOutputState {
    int32_t DeviceFamily = -1;
    QString OutputExt;
    QString OutputFormat;
    int32_t OutputWidth = 0;
    int32_t OutputHeight = 0;
    QImage DevicePicture;  // null when the family has no picture
};
