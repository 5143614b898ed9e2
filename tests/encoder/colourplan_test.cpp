#include <gtest/gtest.h>

#include "colourplan.h"
#include "signaltypewriter.h"

namespace {

using dero::TColourFacts;
using dero::TColourPlan;
using dero::TSignalTypeWriter;

TColourFacts Facts(int width, int height, AVColorSpace space,
                   AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED,
                   AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED) {
    TColourFacts facts;
    facts.width = width;
    facts.height = height;
    facts.format = AV_PIX_FMT_YUV420P;
    facts.space = space;
    facts.transfer = transfer;
    facts.primaries = primaries;
    return facts;
}

TEST(ColourPlanTest, MatrixComesFromTheTagElseFromTheSizeAsPlayersGuess) {
    EXPECT_EQ(TColourPlan(Facts(1280, 720, AVCOL_SPC_UNSPECIFIED)).SourceMatrix(), AVCOL_SPC_BT709);
    EXPECT_EQ(TColourPlan(Facts(720, 576, AVCOL_SPC_UNSPECIFIED)).SourceMatrix(),
              AVCOL_SPC_SMPTE170M);
    EXPECT_EQ(TColourPlan(Facts(720, 578, AVCOL_SPC_RESERVED)).SourceMatrix(), AVCOL_SPC_BT709);
    EXPECT_EQ(TColourPlan(Facts(1920, 1080, AVCOL_SPC_BT470BG)).SourceMatrix(), AVCOL_SPC_BT470BG);
    TColourFacts rgb = Facts(1920, 1080, AVCOL_SPC_UNSPECIFIED);
    rgb.format = AV_PIX_FMT_RGB24;
    EXPECT_EQ(TColourPlan(rgb).SourceMatrix(), AVCOL_SPC_RGB);
    EXPECT_TRUE(TColourPlan(rgb).AfterScale().empty());
}

TEST(ColourPlanTest, OnlyNonBt601SourcesGetAConversionAndAllAreTaggedBt601Limited) {
    EXPECT_TRUE(TColourPlan(Facts(640, 480, AVCOL_SPC_SMPTE170M)).AfterScale().empty());
    const std::string hd = TColourPlan(Facts(1920, 1080, AVCOL_SPC_BT709)).AfterScale();
    EXPECT_NE(hd.find("ispace=bt709"), std::string::npos) << hd;
    EXPECT_NE(hd.find("space=smpte170m"), std::string::npos) << hd;
    // An SDR BT.2020 source also needs its gamut brought into BT.709's.
    const TColourPlan wide(
        Facts(3840, 2160, AVCOL_SPC_BT2020_NCL, AVCOL_TRC_BT2020_10, AVCOL_PRI_BT2020));
    EXPECT_NE(wide.AfterScale().find("iprimaries=bt2020"), std::string::npos);
    EXPECT_FALSE(wide.ToneMaps());

    AVCodecContext* encoder = avcodec_alloc_context3(nullptr);
    TColourPlan(Facts(640, 480, AVCOL_SPC_BT470BG, AVCOL_TRC_GAMMA28, AVCOL_PRI_BT470BG))
        .Tag(encoder);
    EXPECT_EQ(encoder->colorspace, AVCOL_SPC_SMPTE170M);
    EXPECT_EQ(encoder->color_range, AVCOL_RANGE_MPEG);
    EXPECT_EQ(encoder->color_primaries, AVCOL_PRI_BT470BG);
    EXPECT_EQ(encoder->color_trc, AVCOL_TRC_GAMMA28);
    wide.Tag(encoder);
    EXPECT_EQ(encoder->color_primaries, AVCOL_PRI_BT709);
    EXPECT_EQ(encoder->color_trc, AVCOL_TRC_BT709);
    avcodec_free_context(&encoder);
}

TEST(ColourPlanTest, HdrPeakComesFromTheStreamElseFromTheTransfer) {
    TColourFacts pq =
        Facts(1920, 1080, AVCOL_SPC_BT2020_NCL, AVCOL_TRC_SMPTE2084, AVCOL_PRI_BT2020);
    EXPECT_TRUE(TColourPlan(pq).ToneMaps());
    EXPECT_NE(TColourPlan(pq).AfterScale().find("tin=smpte2084"), std::string::npos);
    EXPECT_NE(TColourPlan(pq).AfterScale().find("peak=100,"), std::string::npos);
    pq.peakNits = 1000;
    EXPECT_NE(TColourPlan(pq).AfterScale().find("peak=10,"), std::string::npos);
    const TColourPlan hlg(
        Facts(1920, 1080, AVCOL_SPC_BT2020_NCL, AVCOL_TRC_ARIB_STD_B67, AVCOL_PRI_BT2020));
    EXPECT_NE(hlg.AfterScale().find("tin=arib-std-b67"), std::string::npos);
    EXPECT_NE(hlg.AfterScale().find("peak=10,"), std::string::npos);
}

// Visual object sequence, visual object (identified, verid 1, priority 1, video, no signal
// type, stuffing) and the start of a video object layer.
const std::vector<uint8_t> kHeaders = {0x00, 0x00, 0x01, 0xB0, 0x03, 0x00, 0x00, 0x01,
                                       0xB5, 0x89, 0x13, 0x00, 0x00, 0x01, 0x00, 0x00,
                                       0x00, 0x01, 0x20, 0x00, 0xC4, 0x8D};

TEST(SignalTypeWriterTest, WritesRangeAndColourDescriptionAndKeepsTheLayer) {
    const std::vector<uint8_t> rewritten = TSignalTypeWriter::Rewrite(kHeaders, false, 1, 1, 6);
    // 1 0001 001 | 0001 1 101 0 1 | 8 8 8 bits | 0 1111111 stuffing from the next bit on.
    const std::vector<uint8_t> visualObject = {0x00, 0x00, 0x01, 0xB5, 0x89,
                                               0x1D, 0x40, 0x40, 0x41, 0x9F};
    ASSERT_GE(rewritten.size(), 15u);
    EXPECT_EQ(std::vector<uint8_t>(rewritten.begin() + 5, rewritten.begin() + 15), visualObject);
    EXPECT_EQ(std::vector<uint8_t>(rewritten.begin() + 15, rewritten.end()),
              std::vector<uint8_t>(kHeaders.begin() + 11, kHeaders.end()));
    // Full range sets its bit; a header that already has a signal type is left alone.
    EXPECT_EQ(TSignalTypeWriter::Rewrite(kHeaders, true, 1, 1, 6)[10], 0x1D);
    EXPECT_EQ(TSignalTypeWriter::Rewrite(kHeaders, true, 1, 1, 6)[11], 0xC0);
    EXPECT_EQ(TSignalTypeWriter::Rewrite(rewritten, true, 9, 9, 9), rewritten);
    const std::vector<uint8_t> noObject(kHeaders.begin() + 11, kHeaders.end());
    EXPECT_EQ(TSignalTypeWriter::Rewrite(noObject, false, 1, 1, 6), noObject);
}

}  // namespace
