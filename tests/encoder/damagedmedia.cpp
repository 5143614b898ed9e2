#include "damagedmedia.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

namespace {

uint32_t ReadBig32(const std::string& bytes, std::size_t at) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

void WriteBig32(std::string& bytes, std::size_t at, uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + 3 - i] = static_cast<char>(value >> (8 * i));
    }
}

uint32_t ReadLittle32(const std::string& bytes, std::size_t at) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    }
    return value;
}

void WriteLittle(std::string& bytes, std::size_t at, uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * i));
    }
}

// Children of the box whose content spans [begin, end).
void FindChildren(const std::string& bytes, std::size_t begin, std::size_t end,
                  const std::vector<std::string>& path, std::size_t depth,
                  std::vector<std::size_t>& found) {
    std::size_t at = begin;
    while (at + 8 <= end) {
        const uint32_t size = ReadBig32(bytes, at);
        if (size < 8 || at + size > end) {
            return;
        }
        if (bytes.compare(at + 4, 4, path[depth]) == 0) {
            if (depth + 1 == path.size()) {
                found.push_back(at);
            } else {
                FindChildren(bytes, at + 8, at + size, path, depth + 1, found);
            }
        }
        at += size;
    }
}

}  // namespace

std::string TDamagedMedia::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool TDamagedMedia::Write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<std::size_t> TDamagedMedia::Boxes(const std::string& bytes,
                                              const std::vector<std::string>& path) {
    std::vector<std::size_t> found;
    FindChildren(bytes, 0, bytes.size(), path, 0, found);
    return found;
}

std::vector<std::size_t> TDamagedMedia::SampleTables(const std::string& bytes, const char* type) {
    return Boxes(bytes, {"moov", "trak", "mdia", "minf", "stbl", type});
}

// A full box: size, type, version and flags, entry count, entries.
bool TDamagedMedia::ZeroFirstSampleToChunkEntry(const std::string& source,
                                                const std::string& path) {
    std::string bytes = Read(source);
    const auto tables = SampleTables(bytes, "stsc");
    for (const std::size_t at : tables) {
        for (std::size_t field = 0; field < 3; ++field) {
            WriteBig32(bytes, at + 16 + 4 * field, 0);
        }
    }
    return !tables.empty() && Write(path, bytes);
}

bool TDamagedMedia::HugeSamplesPerChunk(const std::string& source, const std::string& path) {
    std::string bytes = Read(source);
    const auto tables = SampleTables(bytes, "stsc");
    for (const std::size_t at : tables) {
        WriteBig32(bytes, at + 20, 0x7fffffff);
    }
    return !tables.empty() && Write(path, bytes);
}

bool TDamagedMedia::ScrambleChunkOffsets(const std::string& source, const std::string& path) {
    std::string bytes = Read(source);
    const auto tables = SampleTables(bytes, "stco");
    for (const std::size_t at : tables) {
        const uint32_t count = ReadBig32(bytes, at + 12);
        for (uint32_t entry = 0; entry < count && at + 20 + 4 * entry <= bytes.size(); ++entry) {
            const std::size_t field = at + 16 + 4 * entry;
            WriteBig32(bytes, field,
                       static_cast<uint32_t>((uint64_t{ReadBig32(bytes, field)} * 7 + 12345) %
                                             bytes.size()));
        }
    }
    return !tables.empty() && Write(path, bytes);
}

bool TDamagedMedia::HugeAviIndex(const std::string& source, const std::string& path) {
    std::string bytes = Read(source);
    const std::size_t at = bytes.rfind("idx1");
    if (at == std::string::npos || at + 8 > bytes.size()) {
        return false;
    }
    const uint32_t huge = 0xFFFFFFF0u;
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + 4 + i] = static_cast<char>(huge >> (8 * i));  // little-endian
    }
    return Write(path, bytes);
}

// WAVEFORMATEX after the audio stream's "strf" chunk header: format tag, channels, sample rate,
// bytes per second, block size, bits per sample, all little-endian.
bool TDamagedMedia::DeclareAviChannels(const std::string& source, const std::string& path,
                                       int channels) {
    std::string bytes = Read(source);
    const std::size_t audio = bytes.find("auds");
    const std::size_t at = audio == std::string::npos ? audio : bytes.find("strf", audio);
    if (at == std::string::npos || at + 24 > bytes.size()) {
        return false;
    }
    const std::size_t format = at + 8;
    const uint32_t rate = ReadLittle32(bytes, format + 4);
    const uint32_t block = 2 * static_cast<uint32_t>(channels);
    WriteLittle(bytes, format, 1, 2);  // plain PCM: no channel mask to contradict the count
    WriteLittle(bytes, format + 2, static_cast<uint32_t>(channels), 2);
    WriteLittle(bytes, format + 8, rate * block, 4);
    WriteLittle(bytes, format + 12, block, 2);
    WriteLittle(bytes, format + 14, 16, 2);
    return Write(path, bytes);
}

// EBML: the element ID 0x63A2, then its size as a variable-length integer.
bool TDamagedMedia::ScrambleCodecPrivate(const std::string& source, const std::string& path,
                                         int track) {
    std::string bytes = Read(source);
    std::size_t at = bytes.find("\x63\xA2");
    for (int skipped = 0; skipped < track && at != std::string::npos; ++skipped) {
        at = bytes.find("\x63\xA2", at + 2);
    }
    if (at == std::string::npos || at + 3 > bytes.size()) {
        return false;
    }
    const auto first = static_cast<unsigned char>(bytes[at + 2]);
    int length = 1;
    while (length <= 8 && !(first & (0x80 >> (length - 1)))) {
        ++length;
    }
    if (length > 8) {
        return false;
    }
    uint64_t size = first & (0xFFu >> length);
    for (int i = 1; i < length; ++i) {
        size = (size << 8) | static_cast<unsigned char>(bytes[at + 2 + i]);
    }
    const std::size_t content = at + 2 + length;
    for (uint64_t i = 0; i < size && content + i < bytes.size(); ++i) {
        bytes[content + i] =
            static_cast<char>(static_cast<unsigned char>(bytes[content + i]) * 37 + 11);
    }
    return Write(path, bytes);
}

bool TDamagedMedia::FlipBits(const std::string& source, const std::string& path, int count,
                             uint32_t seed, std::size_t spare) {
    std::string bytes = Read(source);
    if (bytes.size() <= spare) {
        return false;
    }
    std::mt19937 generator(seed);
    std::uniform_int_distribution<std::size_t> place(spare, bytes.size() - 1);
    for (int i = 0; i < count; ++i) {
        bytes[place(generator)] ^= static_cast<char>(1u << (generator() % 8));
    }
    return Write(path, bytes);
}

bool TDamagedMedia::ZeroStretch(const std::string& source, const std::string& path, double from,
                                double to) {
    std::string bytes = Read(source);
    const auto begin = static_cast<std::size_t>(double(bytes.size()) * from);
    const auto end = static_cast<std::size_t>(double(bytes.size()) * to);
    if (bytes.empty() || begin >= end || end > bytes.size()) {
        return false;
    }
    std::fill(bytes.begin() + begin, bytes.begin() + end, '\0');
    return Write(path, bytes);
}
