#include "streamfacts.h"

#include "inputfile.h"

namespace dero {

TStreamFacts TStreamFacts::Of(AVFormatContext* context, AVStream* stream) {
    TStreamFacts facts;
    facts.index = stream->index;
    facts.timeBase = stream->time_base;
    facts.codecId = stream->codecpar->codec_id;
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        facts.frameRate = av_guess_frame_rate(context, stream, nullptr);
        facts.fieldOrder = stream->codecpar->field_order;
        facts.rotation = TInputFile::Rotation(stream);
        facts.videoDelay = stream->codecpar->video_delay;
        facts.colour = TColourFacts::Of(stream);
    }
    return facts;
}

}  // namespace dero
