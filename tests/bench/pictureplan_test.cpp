#include "pictureplan.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/tempdir.h"
#include "support/testmedia.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

struct InputClose {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};

// B-pictures as the decoder reports them: for MPEG-2 and MPEG-4 Part 2 exactly the pictures
// nothing refers to. -1 when the file cannot be decoded.
int DecodedBPictures(const std::string& path) {
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) {
        return -1;
    }
    const std::unique_ptr<AVFormatContext, InputClose> input(opened);
    avformat_find_stream_info(input.get(), nullptr);
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (index < 0) {
        return -1;
    }
    const std::unique_ptr<AVCodecContext, CodecFree> decoder(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(decoder.get(), input->streams[index]->codecpar);
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0) {
        return -1;
    }
    const std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    const std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    int bPictures = 0;
    auto drain = [&] {
        while (avcodec_receive_frame(decoder.get(), frame.get()) >= 0) {
            bPictures += frame->pict_type == AV_PICTURE_TYPE_B;
        }
    };
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == index) {
            avcodec_send_packet(decoder.get(), packet.get());
            drain();
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(decoder.get(), nullptr);
    drain();
    return bPictures;
}

class PicturePlanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TestMedia::Available()) {
            GTEST_SKIP() << "the ffmpeg command is not installed";
        }
    }

    // Two seconds at 25 fps: 50 pictures, of which 15 fps keeps 30.
    std::string Clip(const std::string& name, const std::string& codec,
                     std::vector<std::string> options) {
        TestMedia::Recipe recipe;
        recipe.seconds = 2;
        recipe.audioChannels = 0;
        recipe.videoCodec = codec;
        recipe.videoOptions = std::move(options);
        const std::string path = dir_.PathStd() + name;
        EXPECT_TRUE(TestMedia::Make(path, recipe));
        return path;
    }

    TempDir dir_;
};

TEST_F(PicturePlanTest, StartCodeCodecsCountTheirBPicturesAsReferredToByNothing) {
    for (const auto& [name, codec] : {std::pair{"b.mpg", "mpeg2video"}, {"b.mp4", "mpeg4"}}) {
        const std::string path = Clip(name, codec, {"-bf", "2"});
        const TPictureCounts counts = CountPictures(path, 0, 2, 15);
        EXPECT_EQ(counts.Total(), 50) << name;
        EXPECT_EQ(counts.keptReference + counts.keptOther, 30) << name;
        EXPECT_GT(counts.droppedOther, 0) << name;
        EXPECT_EQ(counts.Other(), DecodedBPictures(path)) << name;
    }
}

TEST_F(PicturePlanTest, PicturesWithoutBPicturesAllCountAsReferences) {
    const std::string path = Clip("p.mpg", "mpeg2video", {"-bf", "0"});
    const TPictureCounts counts = CountPictures(path, 0, 2, 15);
    EXPECT_EQ(counts.Total(), 50);
    EXPECT_EQ(counts.Other(), 0);
    EXPECT_EQ(counts.Dropped(), 20);
}

// x265 leaves its top-layer B-pictures unreferenced (TRAIL_N); without B-pictures every
// picture is a reference.
TEST_F(PicturePlanTest, HevcSubLayerNonReferencePicturesAreFound) {
    const TPictureCounts withB = CountPictures(
        Clip("b.mp4", "libx265", {"-x265-params", "log-level=error:bframes=3"}), 0, 2, 15);
    const TPictureCounts withoutB = CountPictures(
        Clip("p.mp4", "libx265", {"-x265-params", "log-level=error:bframes=0"}), 0, 2, 15);
    EXPECT_EQ(withB.Total(), 50);
    EXPECT_GT(withB.droppedOther, 0);
    EXPECT_EQ(withoutB.Total(), 50);
    EXPECT_EQ(withoutB.Other(), 0);
}

TEST_F(PicturePlanTest, TheSameRateDropsNothing) {
    const TPictureCounts counts =
        CountPictures(Clip("same.mp4", "libx264", {"-bf", "2"}), 0, 2, 25);
    EXPECT_EQ(counts.Dropped(), 0);
    EXPECT_GT(counts.keptOther, 0);
}

}  // namespace
