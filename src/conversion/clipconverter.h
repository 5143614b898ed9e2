#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "dero_window.h"

class TClipSource;
struct ConvertSettings;

// Where and how a run writes its files: the output folder (ending in "/"), the family's
// extension, the chosen profile's frame size and whether the source's shape is kept.
struct TConvertTarget {
    QString WorkPath;
    QString OutputExt;
    int32_t OutputWidth = 0;
    int32_t OutputHeight = 0;
    bool KeepRatio = false;
};

// Converts the clips of a run one at a time: PrepareClip fills the settings for a clip,
// ConvertClip hands them to the encoder library.
class TClipConverter {
  public:
    using TBeforeConvert = std::function<void(const ConvertSettings&)>;

    explicit TClipConverter(ConvertSettings& settings);

    // Fills the clip fields, output file and padding for the clip at index. False, changing
    // nothing, when there is no such clip.
    bool PrepareClip(const TClipSource& clips, int32_t index, const TConvertTarget& target);
    // Starts the encoder library's conversion of the prepared clip; its end is posted to window
    // as WM_CONVERT_NEXT. A null window makes the library convert before returning. Returns the
    // library's result; -1 when the library is not bound.
    int ConvertClip(DeroWindowHandle* window);

    int32_t ConvertIndex() const { return convertIndex_; }
    void SetConvertIndex(int32_t index) { convertIndex_ = index; }
    // Runs just before the library is called, e.g. to show the clip in the progress window.
    void SetBeforeConvert(TBeforeConvert before) { beforeConvert_ = std::move(before); }

  private:
    ConvertSettings& settings_;
    int32_t convertIndex_ = 0;
    TBeforeConvert beforeConvert_;
};
