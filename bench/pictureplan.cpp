#include "pictureplan.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

// How a codec says, picture by picture, that nothing refers to it; the codecs it does not know
// count every picture as a reference.
enum class Marking { None, H264, Hevc, StartCodes };

// The first picture-level unit of a length-prefixed packet: H.264's nal_ref_idc of its first
// slice, HEVC's sub-layer non-reference types (TRAIL_N, TSA_N, STSA_N, RADL_N, RASL_N and the
// reserved even types up to 14). True when it cannot be read, so a picture of unknown kind counts
// as one that must be decoded.
bool IsReferenceUnit(const AVPacket& packet, int lengthSize, bool hevc) {
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
        if (hevc) {
            const int type = (data[0] >> 1) & 0x3f;
            if (type < 32) {
                return type > 14 || type % 2 == 1;
            }
        } else {
            const int type = data[0] & 0x1f;
            if (type == 1 || type == 5) {
                return (data[0] >> 5) != 0;
            }
        }
        data += length;
    }
    return true;
}

// MPEG-1/2 B-pictures (picture header, coding type 3) and MPEG-4 Part 2 B-VOPs (VOP header,
// coding type 2): the first picture header after a start code decides.
bool IsReferenceStartCodes(const AVPacket& packet) {
    const uint8_t* data = packet.data;
    for (int i = 0; i + 5 < packet.size; ++i) {
        if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1) {
            continue;
        }
        if (data[i + 3] == 0x00) {
            return ((data[i + 5] >> 3) & 7) != 3;
        }
        if (data[i + 3] == 0xb6) {
            return (data[i + 4] >> 6) != 2;
        }
    }
    return true;
}

struct PictureKinds {
    Marking marking = Marking::None;
    int lengthSize = 0;

    explicit PictureKinds(const AVCodecParameters& codec) {
        // Only the length-prefixed forms (as MP4 and MKV carry them) are read; the configuration
        // record gives the size of the lengths.
        const uint8_t* extra = codec.extradata;
        if (codec.codec_id == AV_CODEC_ID_H264 && codec.extradata_size > 4 && extra[0] == 1) {
            marking = Marking::H264;
            lengthSize = (extra[4] & 3) + 1;
        } else if (codec.codec_id == AV_CODEC_ID_HEVC && codec.extradata_size > 22 &&
                   extra[0] == 1) {
            marking = Marking::Hevc;
            lengthSize = (extra[21] & 3) + 1;
        } else if (codec.codec_id == AV_CODEC_ID_MPEG1VIDEO ||
                   codec.codec_id == AV_CODEC_ID_MPEG2VIDEO ||
                   codec.codec_id == AV_CODEC_ID_MPEG4) {
            marking = Marking::StartCodes;
        }
    }

    bool IsReference(const AVPacket& packet) const {
        switch (marking) {
            case Marking::H264:
            case Marking::Hevc:
                return IsReferenceUnit(packet, lengthSize, marking == Marking::Hevc);
            case Marking::StartCodes:
                return IsReferenceStartCodes(packet);
            case Marking::None:
                break;
        }
        return true;
    }
};

// Seconds from the start of the part, and whether the picture is a reference.
std::vector<std::pair<double, bool>> ReadPictures(AVFormatContext* context, int index,
                                                  double startSeconds, double lengthSeconds) {
    const AVStream* stream = context->streams[index];
    const PictureKinds kinds(*stream->codecpar);
    const double origin =
        context->start_time == AV_NOPTS_VALUE ? 0 : context->start_time / double(AV_TIME_BASE);
    std::vector<std::pair<double, bool>> pictures;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(context, packet) >= 0) {
        if (packet->stream_index == index && packet->pts != AV_NOPTS_VALUE) {
            const double at = packet->pts * av_q2d(stream->time_base) - origin - startSeconds;
            if (at >= 0 && at < lengthSeconds) {
                pictures.emplace_back(at, kinds.IsReference(*packet));
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
    // Program streams stamp only some pictures; the rest get theirs from the pictures after them.
    context->flags |= AVFMT_FLAG_GENPTS;
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
