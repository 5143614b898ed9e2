#include "thumbnailer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <memory>

#include "colourplan.h"
#include "encodeerror.h"
#include "filedescriptor.h"
#include "filtergraph.h"
#include "inputfile.h"
#include "mediaprobe.h"
#include "temporaryname.h"

namespace dero {
namespace {

constexpr std::chrono::seconds kTimeLimit{30};
constexpr std::size_t kMinimumBytes = 1024;
// Gives up on sources whose frames never reach the wanted time.
constexpr int kMaximumDecodedFrames = 3000;

void ParseSize(const std::string& size, int& width, int& height) {
    unsigned w = 0;
    unsigned h = 0;
    char tail = 0;
    if (std::sscanf(size.c_str(), "%ux%u%c", &w, &h, &tail) != 2 || w < 2 || h < 2 || w > 1024 ||
        h > 1024) {
        throw TEncodeError("bad thumbnail size " + size);
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
}

// Decodes up to the first frame at or after targetUs; the last frame when the clip ends first.
// Without seeking it decodes from the start, which is slow but reaches frames that a seek misses.
FramePtr DecodeFrameAt(TInputFile& input, int64_t targetUs, bool seek) {
    AVStream* stream = input.VideoStream();
    CodecContextPtr decoder = TInputFile::OpenDecoder(stream, 0);
    // On the way to the wanted frame only reference pictures matter, and deblocking is invisible
    // in a picture shrunk to thumbnail size; both savings cut the decoding time by about half.
    decoder->skip_loop_filter = AVDISCARD_ALL;
    decoder->skip_frame = AVDISCARD_NONREF;
    const int64_t seekTo = targetUs + input.StartMicroseconds();
    if (seek) {
        avformat_seek_file(input.Context(), -1, INT64_MIN, seekTo, seekTo, 0);
    }
    const int64_t target = av_rescale_q(seekTo, AV_TIME_BASE_Q, stream->time_base);
    PacketPtr packet = MakePacket();
    FramePtr frame = MakeFrame();
    FramePtr last;
    bool draining = false;
    for (int decoded = 0; decoded < kMaximumDecodedFrames;) {
        if (!draining) {
            const int read = av_read_frame(input.Context(), packet.get());
            if (read < 0) {
                draining = true;
                avcodec_send_packet(decoder.get(), nullptr);
            } else if (packet->stream_index == stream->index) {
                avcodec_send_packet(decoder.get(), packet.get());
            }
            av_packet_unref(packet.get());
        }
        for (;;) {
            const int received = avcodec_receive_frame(decoder.get(), frame.get());
            if (received == AVERROR_EOF) {
                return last;
            }
            if (received < 0) {
                break;
            }
            ++decoded;
            last.reset(av_frame_clone(frame.get()));
            av_frame_unref(frame.get());
            if (last->best_effort_timestamp != AV_NOPTS_VALUE &&
                last->best_effort_timestamp >= target) {
                return last;
            }
        }
    }
    return last;
}

std::string LetterBoxChain(const TInputFile& input, const AVStream* stream, int width, int height) {
    int displayWidth = 0;
    int displayHeight = 0;
    input.DisplaySize(displayWidth, displayHeight);
    const double aspect = double(displayWidth) / std::max(displayHeight, 1);
    int fitWidth = width;
    int fitHeight = height;
    if (aspect >= double(width) / height) {
        fitHeight = std::clamp(int(std::lround(width / aspect / 2)) * 2, 2, height);
    } else {
        fitWidth = std::clamp(int(std::lround(height * aspect / 2)) * 2, 2, width);
    }
    std::string chain =
        TFilterGraph::UprightScale(fitWidth, fitHeight, TInputFile::Rotation(stream), "area");
    // JPEG viewers decode with BT.601 coefficients at full range: the same conversion as the
    // output's, and the final format widens the range.
    const std::string colour = TColourPlan(TColourFacts::Of(stream)).AfterScale();
    if (!colour.empty()) {
        chain += "," + colour;
    }
    chain += ",pad=" + std::to_string(width) + ":" + std::to_string(height) + ":" +
             std::to_string((width - fitWidth) / 2) + ":" +
             std::to_string((height - fitHeight) / 2) + ":black,setsar=1,format=yuvj420p";
    return chain;
}

std::string EncodeJpeg(AVFrame* picture) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec) {
        throw TEncodeError("no JPEG encoder");
    }
    CodecContextPtr encoder = MakeCodecContext(codec);
    encoder->width = picture->width;
    encoder->height = picture->height;
    encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
    encoder->time_base = {1, 25};
    encoder->flags |= AV_CODEC_FLAG_QSCALE;
    encoder->global_quality = FF_QP2LAMBDA * 2;
    Check(avcodec_open2(encoder.get(), codec, nullptr), "JPEG encoder");
    picture->quality = encoder->global_quality;
    picture->pict_type = AV_PICTURE_TYPE_I;
    Check(avcodec_send_frame(encoder.get(), picture), "JPEG encoding");
    avcodec_send_frame(encoder.get(), nullptr);
    PacketPtr packet = MakePacket();
    Check(avcodec_receive_packet(encoder.get(), packet.get()), "JPEG encoding");
    return std::string(reinterpret_cast<const char*>(packet->data), packet->size);
}

// A dark or flat picture compresses to a few hundred bytes; a comment segment right after the
// start-of-image marker brings the file to the size the program expects of a thumbnail.
void PadWithComment(std::string& jpeg, const std::string& facts) {
    if (jpeg.size() >= kMinimumBytes || jpeg.size() < 2) {
        return;
    }
    const std::size_t segment = kMinimumBytes - jpeg.size();  // marker + length + text
    std::string text = facts;
    text.resize(std::max<std::size_t>(segment, 4) - 4, ' ');
    const std::size_t length = text.size() + 2;
    std::string comment = {'\xff', '\xfe', char(length >> 8), char(length & 0xff)};
    jpeg.insert(2, comment + text);
}

bool WriteAll(int descriptor, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// The picture is written under a fresh name of its own making (created, never opened if
// something is there), then renamed over the picture's name: a link planted in the folder is
// never written through, and a reader never sees half a picture.
void WriteAtomically(const std::string& path, const std::string& bytes) {
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    std::string temporary;
    TFileDescriptor file;
    for (int attempt = 0; attempt < 16 && !file.IsOpen(); ++attempt) {
        temporary = folder + TTemporaryName::Fresh();
        file = TFileDescriptor(
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!file.IsOpen() && errno != EEXIST) {
            break;
        }
    }
    if (!file.IsOpen()) {
        throw TEncodeError("cannot write " + path);
    }
    const bool written = WriteAll(file.Get(), bytes) && ::close(file.Release()) == 0;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw TEncodeError("cannot write " + path);
    }
}

}  // namespace

bool TThumbnailer::Write(const std::string& source, int second, const std::string& size,
                         const std::string& picturePath) {
    try {
        int width = 0;
        int height = 0;
        ParseSize(size, width, height);
        auto input = std::make_unique<TInputFile>(source, nullptr, kTimeLimit);
        if (input->IsSameFile(picturePath)) {
            return false;
        }
        if (!input->VideoStream()) {
            return false;
        }
        int64_t target = int64_t{std::max(second, 0)} * AV_TIME_BASE;
        const int64_t duration = input->DurationMicroseconds();
        if (duration > 0 && duration <= target) {
            target = duration / 2;
        }
        FramePtr frame = DecodeFrameAt(*input, target, true);
        if (!frame) {
            // No key picture after the seek point: a fresh read from the start still finds one.
            input = std::make_unique<TInputFile>(source, nullptr, kTimeLimit);
            frame = DecodeFrameAt(*input, target, false);
        }
        if (!frame) {
            return false;
        }
        const AVStream* stream = input->VideoStream();
        frame->pts = frame->best_effort_timestamp;
        TFilterGraph graph = TFilterGraph::ForVideo(*frame, stream->time_base,
                                                    LetterBoxChain(*input, stream, width, height));
        graph.Push(frame.get());
        graph.Close(frame->pts == AV_NOPTS_VALUE ? 0 : frame->pts + 1);
        FramePtr picture = MakeFrame();
        if (graph.Pull(picture.get()) < 0) {
            return false;
        }
        std::string jpeg = EncodeJpeg(picture.get());
        const TMediaFacts facts = TMediaProbe::Describe(*input);
        PadWithComment(jpeg, "Dero thumbnail " + std::to_string(facts.width) + "x" +
                                 std::to_string(facts.height) + " " + facts.videoFormat + " " +
                                 facts.audioFormat + " " + std::to_string(facts.durationSeconds) +
                                 " s");
        WriteAtomically(picturePath, jpeg);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace dero
