#include "conversion/encoderarguments.h"

#include "app/convertsettings.h"

namespace {
QStringList BuildTexts(const ConvertSettings& s) {
    // clang-format off
    return {QStringLiteral("Reelsmith.exe"),
            QStringLiteral("-y"),
            QStringLiteral("-ss"), s.StartText,
            QStringLiteral("-t"), s.LengthText,
            QStringLiteral("-i"), s.InputFile,
            QStringLiteral("-vol"), s.Volume,
            QStringLiteral("-bitexact"),
            QStringLiteral("-vcodec"), s.VideoCodec,
            QStringLiteral("-padtop"), s.PadTop,
            QStringLiteral("-padbottom"), s.PadBottom,
            QStringLiteral("-padleft"), s.PadLeft,
            QStringLiteral("-padright"), s.PadRight,
            QStringLiteral("-s"), s.FrameSize,
            QStringLiteral("-r"), s.FrameRate,
            QStringLiteral("-b"), s.VideoBitRate,
            QStringLiteral("-acodec"), s.AudioCodec,
            QStringLiteral("-ac"), s.AudioChannels,
            QStringLiteral("-ar"), s.SampleRate,
            QStringLiteral("-ab"), s.AudioBitRate,
            QStringLiteral("-f"), s.Format,
            s.OutputFile};
    // clang-format on
}
}  // namespace

TEncoderArguments::TEncoderArguments(const ConvertSettings& settings)
    : texts_(BuildTexts(settings)) {
    bytes_.reserve(static_cast<size_t>(texts_.size()));
    for (const QString& text : texts_) {
        bytes_.push_back(text.toUtf8());
    }
    for (QByteArray& bytes : bytes_) {
        argv_.push_back(bytes.data());
    }
    argv_.push_back(nullptr);
}
