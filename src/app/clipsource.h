#pragma once

#include <cstdint>

struct ClipRecord;

// The clips of a conversion run, in list order. The clip list panel implements it.
class TClipSource {
  public:
    virtual ~TClipSource() = default;
    // The clip at a 0-based position, or null past the end.
    virtual const ClipRecord* ClipAt(int32_t index) const = 0;
};
