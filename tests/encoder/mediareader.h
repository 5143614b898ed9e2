#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a converted file holds, read back with libavformat and libavcodec.
struct TMediaSummary {
    bool opened = false;
    std::string majorBrand;
    int streams = 0;
    // video
    bool hasVideo = false;
    std::string videoCodec;
    int videoProfile = -99;
    int videoLevel = -99;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    int64_t videoFrames = 0;
    double videoSeconds = 0;
    bool hasRotation = false;
    // audio
    bool hasAudio = false;
    std::string audioCodec;
    int audioProfile = -99;
    int sampleRate = 0;
    int channels = 0;
    double audioSeconds = 0;
};

// A decoded picture's luma plane.
struct TLumaPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> luma;
    // Mean luma of the rectangle [x, x + w) x [y, y + h).
    double Mean(int x, int y, int w, int h) const;
};

struct TRgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

// A decoded picture turned into 8-bit RGB, with the colour tags the decoder reported (FFmpeg's
// AVColor* numbers, which are those of the streams' tags).
struct TRgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    int space = -1;
    int primaries = -1;
    int transfer = -1;
    int range = -1;
    TRgb At(int x, int y) const;
};

// The coefficients a player decodes Y'CbCr with.
enum class TDecodeMatrix { Bt601, Bt709 };

// One coded picture as the container stores it.
struct TPacketSize {
    double seconds = 0;  // decoding time
    int64_t bytes = 0;
    bool key = false;
};

// One coded picture's timestamp and contents, to tell whether two outputs are the same.
struct TPacketDigest {
    int64_t pts = 0;  // in the stream's time base
    int64_t bytes = 0;
    uint64_t hash = 0;
    bool operator==(const TPacketDigest&) const = default;
};

class TMediaReader {
  public:
    static TMediaSummary Summarize(const std::string& path);
    // The index-th decoded picture of the first video stream (empty when there is none).
    static TLumaPicture Picture(const std::string& path, int index);
    // Every decoded picture's luma, area-averaged to width x height (0: as decoded).
    static std::vector<TLumaPicture> Pictures(const std::string& path, int width = 0,
                                              int height = 0);
    // The first video stream's packets in file order (empty when there is none).
    // The index-th picture decoded with `matrix` at the range the picture says it has.
    static TRgbPicture RgbPicture(const std::string& path, int index, TDecodeMatrix matrix);
    static std::vector<TPacketSize> VideoPackets(const std::string& path);
    static std::vector<TPacketDigest> VideoPacketDigests(const std::string& path);
};
