#include "nonreferencegate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kTrailN = 0;
constexpr int kTrailR = 1;
constexpr int kTsaN = 2;
constexpr int kRaslN = 8;
constexpr int kIdr = 19;
constexpr int kSps = 33;

// A NAL unit: the two header bytes and a little payload.
Bytes Unit(int type, int subLayer) {
    return {static_cast<uint8_t>(type << 1), static_cast<uint8_t>(subLayer + 1), 0xAF, 0x80};
}

// The start of a sequence parameter set declaring subLayers temporal sub-layers.
Bytes Sps(int subLayers) {
    return {static_cast<uint8_t>(kSps << 1), 1, static_cast<uint8_t>((subLayers - 1) << 1 | 1),
            0x60};
}

Bytes StartCodes(const std::vector<Bytes>& units) {
    Bytes packet;
    for (const Bytes& unit : units) {
        packet.insert(packet.end(), {0, 0, 0, 1});
        packet.insert(packet.end(), unit.begin(), unit.end());
    }
    return packet;
}

Bytes LengthPrefixed(const std::vector<Bytes>& units) {
    Bytes packet;
    for (const Bytes& unit : units) {
        const auto size = static_cast<uint32_t>(unit.size());
        packet.insert(packet.end(),
                      {static_cast<uint8_t>(size >> 24), static_cast<uint8_t>(size >> 16),
                       static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size)});
        packet.insert(packet.end(), unit.begin(), unit.end());
    }
    return packet;
}

// A configuration record holding one parameter set, with 4-byte unit lengths.
Bytes Record(const Bytes& sps) {
    Bytes record(23, 0);
    record[0] = 1;
    record[21] = 0xFC | 3;
    record[22] = 1;
    record.insert(record.end(),
                  {static_cast<uint8_t>(kSps), 0, 1, 0, static_cast<uint8_t>(sps.size())});
    record.insert(record.end(), sps.begin(), sps.end());
    return record;
}

bool Allows(dero::TNonReferenceGate& gate, const Bytes& packet) {
    return gate.Allows(packet.data(), packet.size());
}

TEST(NonReferenceGateTest, DecodersThatLeaveOutOnlyUnreferencedPicturesAreTheOnesUsed) {
    for (AVCodecID codec : {AV_CODEC_ID_H264, AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MPEG4,
                            AV_CODEC_ID_VC1, AV_CODEC_ID_WMV3, AV_CODEC_ID_HEVC}) {
        EXPECT_TRUE(dero::TNonReferenceGate(codec, nullptr, 0).Supported()) << codec;
    }
    // The VP9 decoder ignores the request; an intra-only decoder has nothing to leave out.
    for (AVCodecID codec : {AV_CODEC_ID_VP9, AV_CODEC_ID_MJPEG, AV_CODEC_ID_H263}) {
        dero::TNonReferenceGate gate(codec, nullptr, 0);
        EXPECT_FALSE(gate.Supported()) << codec;
        EXPECT_FALSE(Allows(gate, Bytes{0, 0, 1, 0})) << codec;
    }
}

TEST(NonReferenceGateTest, HevcLeavesOutOnlyTheHighestSubLayer) {
    dero::TNonReferenceGate gate(AV_CODEC_ID_HEVC, nullptr, 0);
    // Before any parameter set the sub-layers are unknown.
    EXPECT_FALSE(Allows(gate, StartCodes({Unit(kTrailN, 0)})));
    // In-band parameter sets count from the packet that carries them.
    EXPECT_TRUE(Allows(gate, StartCodes({Sps(1), Unit(kIdr, 0)})));
    EXPECT_TRUE(Allows(gate, StartCodes({Unit(kTrailN, 0)})));
    EXPECT_TRUE(Allows(gate, StartCodes({Unit(kRaslN, 0), Unit(kRaslN, 0)})));

    // With two sub-layers, a _N picture of the lower one may be referred to by the upper one.
    EXPECT_TRUE(Allows(gate, StartCodes({Sps(2), Unit(kIdr, 0)})));
    EXPECT_FALSE(Allows(gate, StartCodes({Unit(kTrailN, 0)})));
    EXPECT_TRUE(Allows(gate, StartCodes({Unit(kTsaN, 1)})));
    EXPECT_FALSE(Allows(gate, StartCodes({Unit(kTsaN, 1), Unit(kTrailN, 0)})));
    // Reference pictures are decoded anyway.
    EXPECT_TRUE(Allows(gate, StartCodes({Unit(kTrailR, 0)})));
}

TEST(NonReferenceGateTest, HevcReadsTheConfigurationRecordAndSizedUnits) {
    const Bytes record = Record(Sps(2));
    dero::TNonReferenceGate gate(AV_CODEC_ID_HEVC, record.data(), static_cast<int>(record.size()));
    EXPECT_TRUE(Allows(gate, LengthPrefixed({Unit(kTsaN, 1)})));
    EXPECT_FALSE(Allows(gate, LengthPrefixed({Unit(kTrailN, 0)})));

    // A unit length that runs past the packet makes the whole packet suspect.
    Bytes cut = LengthPrefixed({Unit(kTsaN, 1), Unit(kTsaN, 1)});
    cut.pop_back();
    EXPECT_FALSE(Allows(gate, cut));
    EXPECT_FALSE(Allows(gate, Bytes{0, 0}));
}

}  // namespace
