#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Damages media files the way broken downloads, bad muxers and hostile files do: each function
// reads a well-formed file, breaks one structure and writes the result to a new path. False when
// the source lacks the structure.
class TDamagedMedia {
  public:
    // MP4/MOV: the first sample-to-chunk entry of every track all zero.
    static bool ZeroFirstSampleToChunkEntry(const std::string& source, const std::string& path);
    // MP4/MOV: every track's first chunk declares 2^31 - 1 samples.
    static bool HugeSamplesPerChunk(const std::string& source, const std::string& path);
    // MP4/MOV: every chunk offset points somewhere else in the file.
    static bool ScrambleChunkOffsets(const std::string& source, const std::string& path);
    // AVI: the idx1 index declares 0xFFFFFFF0 bytes.
    static bool HugeAviIndex(const std::string& source, const std::string& path);
    // Matroska: the content of the track-th CodecPrivate element (0: the first) scrambled.
    static bool ScrambleCodecPrivate(const std::string& source, const std::string& path,
                                     int track = 0);
    // AVI with PCM sound: the sound's format declares `channels` 16-bit channels, sizes to match.
    static bool DeclareAviChannels(const std::string& source, const std::string& path,
                                   int channels);
    // Any file: `count` bits flipped at places drawn from seed, past the first `spare` bytes.
    static bool FlipBits(const std::string& source, const std::string& path, int count,
                         uint32_t seed, std::size_t spare = 0);

    // Any file: the bytes from fraction `from` to fraction `to` of its size zeroed, as a partly
    // downloaded file has its missing pieces.
    static bool ZeroStretch(const std::string& source, const std::string& path, double from,
                            double to);

  private:
    static std::string Read(const std::string& path);
    static bool Write(const std::string& path, const std::string& bytes);
    // Offsets of the boxes reached by the type path, e.g. {"moov", "trak", "mdia"}.
    static std::vector<std::size_t> Boxes(const std::string& bytes,
                                          const std::vector<std::string>& path);
    static std::vector<std::size_t> SampleTables(const std::string& bytes, const char* type);
};
