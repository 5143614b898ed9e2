#include "signaltypewriter.h"

#include <cstring>

#include "encodeerror.h"

namespace dero {
namespace {

constexpr uint8_t kVisualObjectCode = 0xB5;
constexpr unsigned kVideoObjectType = 1;
// video_format: "unspecified video format".
constexpr unsigned kUnspecifiedFormat = 5;

class TBitReader {
  public:
    TBitReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Has(std::size_t bits) const { return position_ + bits <= size_ * 8; }
    unsigned Read(int bits) {
        unsigned value = 0;
        for (int i = 0; i < bits; ++i, ++position_) {
            value = (value << 1) | ((data_[position_ / 8] >> (7 - position_ % 8)) & 1);
        }
        return value;
    }

  private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

class TBitWriter {
  public:
    void Write(unsigned value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            if (filled_ % 8 == 0) {
                bytes_.push_back(0);
            }
            bytes_.back() |= static_cast<uint8_t>(((value >> i) & 1) << (7 - filled_ % 8));
            ++filled_;
        }
    }
    // next_start_code(): a zero, then ones to the byte's end.
    void Stuff() {
        Write(0, 1);
        while (filled_ % 8) {
            Write(1, 1);
        }
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
    std::size_t filled_ = 0;
};

// Where the start code `code` begins (its 00 00 01), or the size when there is none from `from`.
std::size_t FindStartCode(const std::vector<uint8_t>& data, std::size_t from, int code = -1) {
    for (std::size_t i = from; i + 3 < data.size(); ++i) {
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 &&
            (code < 0 || data[i + 3] == code)) {
            return i;
        }
    }
    return data.size();
}

}  // namespace

std::vector<uint8_t> TSignalTypeWriter::Rewrite(const std::vector<uint8_t>& headers, bool fullRange,
                                                int primaries, int transfer, int matrix) {
    const std::size_t start = FindStartCode(headers, 0, kVisualObjectCode);
    if (start == headers.size()) {
        return headers;
    }
    const std::size_t body = start + 4;
    const std::size_t end = FindStartCode(headers, body);
    TBitReader reader(headers.data() + body, end - body);
    TBitWriter writer;
    if (!reader.Has(1 + 7 + 4 + 1)) {
        return headers;
    }
    const unsigned identified = reader.Read(1);
    writer.Write(identified, 1);
    if (identified) {
        writer.Write(reader.Read(7), 7);  // verid and priority
    }
    const unsigned type = reader.Read(4);
    writer.Write(type, 4);
    if (type != kVideoObjectType || reader.Read(1) != 0) {
        return headers;
    }
    writer.Write(1, 1);
    writer.Write(kUnspecifiedFormat, 3);
    writer.Write(fullRange ? 1 : 0, 1);
    writer.Write(1, 1);  // colour description follows
    writer.Write(static_cast<unsigned>(primaries) & 0xff, 8);
    writer.Write(static_cast<unsigned>(transfer) & 0xff, 8);
    writer.Write(static_cast<unsigned>(matrix) & 0xff, 8);
    // What followed the signal type up to the next start code is only stuffing, which is made
    // anew; user data comes under a start code of its own and is kept.
    writer.Stuff();
    std::vector<uint8_t> rewritten(headers.begin(), headers.begin() + body);
    rewritten.insert(rewritten.end(), writer.Bytes().begin(), writer.Bytes().end());
    rewritten.insert(rewritten.end(), headers.begin() + end, headers.end());
    return rewritten;
}

void TSignalTypeWriter::Apply(AVCodecContext* encoder) {
    if (!encoder->extradata || encoder->extradata_size <= 0) {
        return;
    }
    const std::vector<uint8_t> headers(encoder->extradata,
                                       encoder->extradata + encoder->extradata_size);
    const std::vector<uint8_t> rewritten =
        Rewrite(headers, encoder->color_range == AVCOL_RANGE_JPEG, encoder->color_primaries,
                encoder->color_trc, encoder->colorspace);
    auto* data = static_cast<uint8_t*>(av_mallocz(rewritten.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!data) {
        throw TEncodeError("out of memory");
    }
    std::memcpy(data, rewritten.data(), rewritten.size());
    av_freep(&encoder->extradata);
    encoder->extradata = data;
    encoder->extradata_size = static_cast<int>(rewritten.size());
}

}  // namespace dero
