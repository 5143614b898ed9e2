#include "conversion/clipconverter.h"

#include "app/cliprecord.h"
#include "app/clipsource.h"
#include "app/convertsettings.h"
#include "app/encoderbinding.h"
#include "app/pubfunction.h"
#include "conversion/encoderarguments.h"
#include "conversion/letterbox.h"
#include "conversion/outputname.h"

TClipConverter::TClipConverter(ConvertSettings& settings) : settings_(settings) {}

bool TClipConverter::PrepareClip(const TClipSource& clips, int32_t index,
                                 const TConvertTarget& target) {
    const ClipRecord* clip = clips.ClipAt(index);
    if (!clip) {
        return false;
    }
    settings_.Start = clip->StartTime;
    settings_.Stop = clip->StopTime;
    settings_.StartText = TimeToText(settings_.Start);
    settings_.StopText = TimeToText(settings_.Stop);
    settings_.Length = settings_.Stop - settings_.Start;
    settings_.LengthText = QString::number(settings_.Length);
    settings_.InputFile = clip->SourceFile;
    settings_.Volume = QStringLiteral("100");
    settings_.OutputFile = FreeOutputFile(target.WorkPath, clip->SourceFile, target.OutputExt);

    TLetterbox bars;
    if (target.KeepRatio) {
        bars = ComputeLetterbox(clip->Width, clip->Height, target.OutputWidth, target.OutputHeight);
    }
    settings_.PadTop = QString::number(bars.Top);
    settings_.PadBottom = QString::number(bars.Bottom);
    settings_.PadLeft = QString::number(bars.Left);
    settings_.PadRight = QString::number(bars.Right);
    convertIndex_ = index;
    return true;
}

int TClipConverter::ConvertClip(DeroWindowHandle* window) {
    TEncoderArguments arguments(settings_);
    if (beforeConvert_) {
        beforeConvert_(settings_);
    }
    if (!DllConvert) {
        return -1;
    }
    return DllConvert(window, TEncoderArguments::Count, arguments.Argv());
}
