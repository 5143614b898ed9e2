#pragma once

#include <QString>
#include <cstdint>

// The settings of the clip being converted: one field per value of the encoder's argument
// vector. The profile fields are filled once per run from the chosen profile line, the clip
// fields, output file and padding per clip.
struct ConvertSettings {
    int32_t Start = 0;   // seconds
    int32_t Stop = 0;    // seconds
    int32_t Length = 0;  // Stop - Start, seconds
    QString StartText;   // hh:mm:ss
    QString StopText;    // hh:mm:ss, shown only
    QString LengthText;  // plain decimal seconds
    QString InputFile;
    QString Volume;
    QString OutputFile;
    QString VideoCodec;
    QString PadTop;
    QString PadBottom;
    QString PadLeft;
    QString PadRight;
    QString FrameSize;  // "320x240"
    QString FrameRate;
    QString VideoBitRate;
    QString AudioCodec;
    QString AudioChannels;
    QString AudioBitRate;
    QString SampleRate;  // hertz
    QString Format;      // muxer name
};
