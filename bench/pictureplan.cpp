#include "pictureplan.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

// nal_ref_idc of the packet's first slice; true when it cannot be read, so a picture of unknown
// kind counts as one that must be decoded.
bool IsReference(const AVPacket& packet, int lengthSize) {
    const uint8_t* data = packet.data;
    const uint8_t* const end = packet.data + packet.size;
    while (end - data > lengthSize) {
        uint32_t length = 0;
        for (int i = 0; i < lengthSize; ++i) {
            length = (length << 8) | data[i];
        }
        data += lengthSize;
        if (length == 0 || length > static_cast<uint32_t>(end - data)) {
            return true;
        }
        const int type = data[0] & 0x1f;
        if (type == 1 || type == 5) {
            return (data[0] >> 5) != 0;
        }
        data += length;
    }
    return true;
}

// Seconds from the start of the part, and whether the picture is a reference.
std::vector<std::pair<double, bool>> ReadPictures(AVFormatContext* context, int index,
                                                  double startSeconds, double lengthSeconds) {
    const AVStream* stream = context->streams[index];
    const AVCodecParameters* codec = stream->codecpar;
    // Only length-prefixed H.264 (as MP4 and MKV carry it) is read; its header gives the size.
    const bool h264 = codec->codec_id == AV_CODEC_ID_H264 && codec->extradata_size > 4 &&
                      codec->extradata[0] == 1;
    const int lengthSize = h264 ? (codec->extradata[4] & 3) + 1 : 0;
    const double origin =
        context->start_time == AV_NOPTS_VALUE ? 0 : context->start_time / double(AV_TIME_BASE);
    std::vector<std::pair<double, bool>> pictures;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(context, packet) >= 0) {
        if (packet->stream_index == index && packet->pts != AV_NOPTS_VALUE) {
            const double at = packet->pts * av_q2d(stream->time_base) - origin - startSeconds;
            if (at >= 0 && at < lengthSeconds) {
                pictures.emplace_back(at, !h264 || IsReference(*packet, lengthSize));
            }
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    std::sort(pictures.begin(), pictures.end());
    return pictures;
}

}  // namespace

TPictureCounts CountPictures(const std::string& path, double startSeconds, double lengthSeconds,
                             double outputRate) {
    TPictureCounts counts;
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) {
        return counts;
    }
    avformat_find_stream_info(context, nullptr);
    const int index = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const auto pictures = index >= 0 ? ReadPictures(context, index, startSeconds, lengthSeconds)
                                     : std::vector<std::pair<double, bool>>{};
    avformat_close_input(&context);
    auto slot = [&](double at) { return std::floor(at * outputRate + 0.5); };
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const bool kept =
            i + 1 == pictures.size() || slot(pictures[i + 1].first) != slot(pictures[i].first);
        const bool reference = pictures[i].second;
        (reference ? (kept ? counts.keptReference : counts.droppedReference)
                   : (kept ? counts.keptOther : counts.droppedOther))++;
    }
    return counts;
}
