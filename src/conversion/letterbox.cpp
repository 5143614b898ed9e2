#include "conversion/letterbox.h"

#include <cmath>

int32_t LetterboxPad(int32_t room, int32_t scaled) {
    int32_t pad = static_cast<int32_t>((int64_t{room} - scaled) / 2);
    if (pad < 0) {
        return 0;
    }
    return pad - pad % 2;
}

namespace {
float Aspect(int32_t width, int32_t height) {
    return static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
}

// Whole pixels of a scaled edge, cut toward zero; the arithmetic runs at double precision from
// the single-precision aspect.
int32_t CutToPixels(double value) {
    return static_cast<int32_t>(std::trunc(value));
}
}  // namespace

TLetterbox ComputeLetterbox(int32_t sourceWidth, int32_t sourceHeight, int32_t outputWidth,
                            int32_t outputHeight) {
    TLetterbox bars;
    if (sourceWidth <= 0 || sourceHeight <= 0 || outputWidth <= 0 || outputHeight <= 0) {
        return bars;
    }
    const float source = Aspect(sourceWidth, sourceHeight);
    const float target = Aspect(outputWidth, outputHeight);
    if (source >= target) {
        const int32_t scaled = CutToPixels(outputWidth / static_cast<double>(source));
        bars.Top = bars.Bottom = LetterboxPad(outputHeight, scaled);
    } else {
        const int32_t scaled = CutToPixels(outputHeight * static_cast<double>(source));
        bars.Left = bars.Right = LetterboxPad(outputWidth, scaled);
    }
    return bars;
}
