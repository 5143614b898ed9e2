#include "colourfacts.h"

extern "C" {
#include <libavutil/mastering_display_metadata.h>
}

namespace dero {
namespace {

double PeakNits(const AVStream* stream) {
    std::size_t size = 0;
    const uint8_t* light = av_stream_get_side_data(stream, AV_PKT_DATA_CONTENT_LIGHT_LEVEL, &size);
    if (light && size >= sizeof(AVContentLightMetadata)) {
        const auto* metadata = reinterpret_cast<const AVContentLightMetadata*>(light);
        if (metadata->MaxCLL > 0) {
            return metadata->MaxCLL;
        }
    }
    const uint8_t* mastering =
        av_stream_get_side_data(stream, AV_PKT_DATA_MASTERING_DISPLAY_METADATA, &size);
    if (mastering && size >= sizeof(AVMasteringDisplayMetadata)) {
        const auto* metadata = reinterpret_cast<const AVMasteringDisplayMetadata*>(mastering);
        if (metadata->has_luminance && metadata->max_luminance.num > 0) {
            return av_q2d(metadata->max_luminance);
        }
    }
    return 0;
}

}  // namespace

TColourFacts TColourFacts::Of(const AVStream* stream) {
    const AVCodecParameters* parameters = stream->codecpar;
    TColourFacts facts;
    facts.width = parameters->width;
    facts.height = parameters->height;
    facts.format = static_cast<AVPixelFormat>(parameters->format);
    facts.space = parameters->color_space;
    facts.transfer = parameters->color_trc;
    facts.primaries = parameters->color_primaries;
    facts.range = parameters->color_range;
    facts.peakNits = PeakNits(stream);
    return facts;
}

}  // namespace dero
