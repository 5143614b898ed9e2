#pragma once

#include "avhandles.h"

namespace dero {

// How a source's pictures encode colour, as its stream says, copied when the source opens.
struct TColourFacts {
    int width = 0;
    int height = 0;
    AVPixelFormat format = AV_PIX_FMT_NONE;
    AVColorSpace space = AVCOL_SPC_UNSPECIFIED;
    AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED;
    AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED;
    AVColorRange range = AVCOL_RANGE_UNSPECIFIED;
    // The brightest light the stream's mastering or content-light data claims; 0 when it says
    // nothing.
    double peakNits = 0;

    static TColourFacts Of(const AVStream* stream);
};

}  // namespace dero
