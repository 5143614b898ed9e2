#include "mediareader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <memory>

namespace {

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct DecoderFree {
    void operator()(AVCodecContext* decoder) const { avcodec_free_context(&decoder); }
};
using InputPtr = std::unique_ptr<AVFormatContext, InputCloser>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using DecoderPtr = std::unique_ptr<AVCodecContext, DecoderFree>;

InputPtr Open(const std::string& path) {
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) {
        return nullptr;
    }
    InputPtr input(context);
    if (avformat_find_stream_info(context, nullptr) < 0) {
        return nullptr;
    }
    return input;
}

double Seconds(const AVStream* stream) {
    return stream->duration > 0 ? stream->duration * av_q2d(stream->time_base) : 0;
}

void SummarizeVideo(const AVStream* stream, TMediaSummary& summary) {
    const AVCodecParameters* par = stream->codecpar;
    summary.hasVideo = true;
    summary.videoCodec = avcodec_get_name(par->codec_id);
    summary.videoProfile = par->profile;
    summary.videoLevel = par->level;
    summary.width = par->width;
    summary.height = par->height;
    summary.frameRate = av_q2d(stream->avg_frame_rate);
    summary.videoSeconds = Seconds(stream);
    summary.hasRotation = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
}

void SummarizeAudio(const AVStream* stream, TMediaSummary& summary) {
    const AVCodecParameters* par = stream->codecpar;
    summary.hasAudio = true;
    summary.audioCodec = avcodec_get_name(par->codec_id);
    summary.audioProfile = par->profile;
    summary.sampleRate = par->sample_rate;
    summary.channels = par->ch_layout.nb_channels;
    summary.audioSeconds = Seconds(stream);
}

}  // namespace

double TLumaPicture::Mean(int x, int y, int w, int h) const {
    double sum = 0;
    int count = 0;
    for (int row = std::max(y, 0); row < std::min(y + h, height); ++row) {
        for (int column = std::max(x, 0); column < std::min(x + w, width); ++column) {
            sum += luma[static_cast<std::size_t>(row) * width + column];
            ++count;
        }
    }
    return count ? sum / count : -1;
}

TMediaSummary TMediaReader::Summarize(const std::string& path) {
    TMediaSummary summary;
    InputPtr input = Open(path);
    if (!input) {
        return summary;
    }
    summary.opened = true;
    summary.streams = static_cast<int>(input->nb_streams);
    if (const AVDictionaryEntry* brand = av_dict_get(input->metadata, "major_brand", nullptr, 0)) {
        summary.majorBrand = brand->value;
    }
    int videoIndex = -1;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !summary.hasVideo) {
            SummarizeVideo(stream, summary);
            videoIndex = static_cast<int>(i);
        } else if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && !summary.hasAudio) {
            SummarizeAudio(stream, summary);
        }
    }
    PacketPtr packet(av_packet_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        summary.videoFrames += packet->stream_index == videoIndex;
        av_packet_unref(packet.get());
    }
    return summary;
}

namespace {

TLumaPicture LumaOf(const AVFrame* frame, int width, int height) {
    TLumaPicture picture;
    picture.width = width > 0 ? width : frame->width;
    picture.height = height > 0 ? height : frame->height;
    picture.luma.resize(static_cast<std::size_t>(picture.width) * picture.height);
    SwsContext* scaler =
        sws_getContext(frame->width, frame->height, AV_PIX_FMT_GRAY8, picture.width, picture.height,
                       AV_PIX_FMT_GRAY8, SWS_AREA, nullptr, nullptr, nullptr);
    uint8_t* planes[1] = {picture.luma.data()};
    const int strides[1] = {picture.width};
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(scaler);
    return picture;
}

// Calls visit(frame) for each decoded picture of the first video stream until it returns false.
template <typename Visit>
void ForEachPicture(const std::string& path, Visit visit) {
    InputPtr input = Open(path);
    if (!input) {
        return;
    }
    const int stream = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0) {
        return;
    }
    const AVCodecParameters* par = input->streams[stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    DecoderPtr decoderOwner(avcodec_alloc_context3(codec));
    AVCodecContext* decoder = decoderOwner.get();
    avcodec_parameters_to_context(decoder, par);
    PacketPtr packetOwner(av_packet_alloc());
    FramePtr frameOwner(av_frame_alloc());
    AVPacket* packet = packetOwner.get();
    AVFrame* frame = frameOwner.get();
    bool done = avcodec_open2(decoder, codec, nullptr) < 0;
    while (!done) {
        const bool more = av_read_frame(input.get(), packet) >= 0;
        if (more && packet->stream_index != stream) {
            av_packet_unref(packet);
            continue;
        }
        avcodec_send_packet(decoder, more ? packet : nullptr);
        av_packet_unref(packet);
        while (!done && avcodec_receive_frame(decoder, frame) >= 0) {
            done = !visit(frame);
            av_frame_unref(frame);
        }
        done = done || !more;
    }
}

struct ScalerFree {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};

}  // namespace

TLumaPicture TMediaReader::Picture(const std::string& path, int index) {
    TLumaPicture picture;
    int decoded = 0;
    ForEachPicture(path, [&](const AVFrame* frame) {
        if (decoded++ < index) {
            return true;
        }
        picture = LumaOf(frame, 0, 0);
        return false;
    });
    return picture;
}

TRgbPicture TMediaReader::RgbPicture(const std::string& path, int index, TDecodeMatrix matrix) {
    TRgbPicture picture;
    int decoded = 0;
    ForEachPicture(path, [&](const AVFrame* decodedFrame) {
        if (decoded++ < index) {
            return true;
        }
        const AVFrame& frame = *decodedFrame;
        const auto format = static_cast<AVPixelFormat>(frame.format);
        std::unique_ptr<SwsContext, ScalerFree> scaler(
            sws_getContext(frame.width, frame.height, format, frame.width, frame.height,
                           AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr));
        if (!scaler) {
            return false;
        }
        const bool fullRange = frame.color_range == AVCOL_RANGE_JPEG ||
                               format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P ||
                               format == AV_PIX_FMT_YUVJ444P;
        const int* coefficients =
            sws_getCoefficients(matrix == TDecodeMatrix::Bt709 ? SWS_CS_ITU709 : SWS_CS_ITU601);
        sws_setColorspaceDetails(scaler.get(), coefficients, fullRange ? 1 : 0, coefficients, 1, 0,
                                 1 << 16, 1 << 16);
        picture.width = frame.width;
        picture.height = frame.height;
        picture.rgb.resize(static_cast<std::size_t>(frame.width) * frame.height * 3);
        uint8_t* planes[1] = {picture.rgb.data()};
        const int strides[1] = {frame.width * 3};
        sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, planes, strides);
        picture.space = frame.colorspace;
        picture.primaries = frame.color_primaries;
        picture.transfer = frame.color_trc;
        picture.range = frame.color_range;
        return false;
    });
    return picture;
}

TRgb TRgbPicture::At(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

std::vector<TLumaPicture> TMediaReader::Pictures(const std::string& path, int width, int height) {
    std::vector<TLumaPicture> pictures;
    ForEachPicture(path, [&](const AVFrame* frame) {
        pictures.push_back(LumaOf(frame, width, height));
        return true;
    });
    return pictures;
}

namespace {

// Calls visit(packet, time base) for each packet of the first video stream, in file order.
template <typename Visit>
void ForEachVideoPacket(const std::string& path, Visit visit) {
    InputPtr input = Open(path);
    if (!input) {
        return;
    }
    const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0) {
        return;
    }
    const AVRational timeBase = input->streams[index]->time_base;
    PacketPtr packet(av_packet_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == index) {
            visit(*packet, timeBase);
        }
        av_packet_unref(packet.get());
    }
}

}  // namespace

std::vector<TPacketSize> TMediaReader::VideoPackets(const std::string& path) {
    std::vector<TPacketSize> packets;
    ForEachVideoPacket(path, [&](const AVPacket& packet, AVRational timeBase) {
        packets.push_back(
            {packet.dts * av_q2d(timeBase), packet.size, (packet.flags & AV_PKT_FLAG_KEY) != 0});
    });
    return packets;
}

std::vector<TPacketDigest> TMediaReader::VideoPacketDigests(const std::string& path) {
    std::vector<TPacketDigest> digests;
    ForEachVideoPacket(path, [&](const AVPacket& packet, AVRational) {
        uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (int i = 0; i < packet.size; ++i) {
            hash = (hash ^ packet.data[i]) * 1099511628211ull;
        }
        digests.push_back({packet.pts, packet.size, hash});
    });
    return digests;
}
