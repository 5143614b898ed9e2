#pragma once

#include "avhandles.h"
#include "colourfacts.h"

namespace dero {

// What the stages need to know of one source stream, copied when the source opens: the reader
// thread's av_read_frame may update the demuxer's streams at any time, so no other thread reads
// them.
struct TStreamFacts {
    int index = -1;
    AVRational timeBase{1, 1};
    // Guessed from the container and codec; 0/1 when unknown.
    AVRational frameRate{0, 1};
    AVFieldOrder fieldOrder = AV_FIELD_UNKNOWN;
    // Clockwise degrees that turn the pictures upright.
    int rotation = 0;
    int videoDelay = 0;
    AVCodecID codecId = AV_CODEC_ID_NONE;
    TColourFacts colour;

    static TStreamFacts Of(AVFormatContext* context, AVStream* stream);
};

}  // namespace dero
