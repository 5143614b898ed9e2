#include "timestampmender.h"

namespace dero {
namespace {

// The same limits the ffmpeg command uses: forward jumps beyond 10 s, backward ones beyond 0.1 s.
constexpr int64_t kForwardLimit = 10 * int64_t{AV_TIME_BASE};
constexpr int64_t kBackwardLimit = AV_TIME_BASE / 10;

}  // namespace

TTimestampMender::TTimestampMender(const AVFormatContext* context)
    : context_(context),
      active_(context->iformat->flags & AVFMT_TS_DISCONT),
      clocks_(context->nb_streams) {}

void TTimestampMender::Mend(AVPacket* packet) {
    if (!active_ || packet->stream_index < 0 ||
        static_cast<std::size_t>(packet->stream_index) >= clocks_.size()) {
        return;
    }
    const AVRational timeBase = context_->streams[packet->stream_index]->time_base;
    const int64_t offset = av_rescale_q(offset_, AV_TIME_BASE_Q, timeBase);
    if (packet->dts != AV_NOPTS_VALUE) {
        packet->dts += offset;
    }
    if (packet->pts != AV_NOPTS_VALUE) {
        packet->pts += offset;
    }
    if (packet->dts == AV_NOPTS_VALUE) {
        return;
    }
    TStreamClock& clock = clocks_[packet->stream_index];
    int64_t dts = av_rescale_q(packet->dts, timeBase, AV_TIME_BASE_Q);
    if (clock.nextDts != AV_NOPTS_VALUE) {
        const int64_t delta = dts - clock.nextDts;
        if (delta > kForwardLimit || dts + kBackwardLimit < clock.lastDts) {
            offset_ -= delta;
            const int64_t correction = av_rescale_q(delta, AV_TIME_BASE_Q, timeBase);
            packet->dts -= correction;
            if (packet->pts != AV_NOPTS_VALUE) {
                packet->pts -= correction;
            }
            dts -= delta;
        }
    }
    const int64_t duration =
        packet->duration > 0 ? av_rescale_q(packet->duration, timeBase, AV_TIME_BASE_Q) : 0;
    clock.lastDts = dts;
    clock.nextDts = dts + duration;
}

}  // namespace dero
