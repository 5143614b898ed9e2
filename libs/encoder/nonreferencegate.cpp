#include "nonreferencegate.h"

#include <algorithm>

namespace dero {
namespace {

constexpr int kHevcVps = 32;
constexpr int kHevcSps = 33;
constexpr int kHevcFirstNonVcl = 32;
// TRAIL_N, TSA_N, STSA_N, RADL_N, RASL_N and the reserved RSV_VCL_N10/12/14: the even types
// up to 14.
constexpr int kHevcLastSubLayerNonReference = 14;

bool HevcSubLayerNonReference(int type) {
    return type <= kHevcLastSubLayerNonReference && type % 2 == 0;
}

// Calls unit(start, size) for each NAL unit after a start code; units end where the next start
// code begins.
template <typename Unit>
bool ForEachStartCodeUnit(const uint8_t* data, std::size_t size, Unit unit) {
    std::size_t begin = 0;
    bool inUnit = false;
    for (std::size_t i = 0; i + 2 < size; ++i) {
        if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1) {
            continue;
        }
        if (inUnit) {
            std::size_t end = i;
            while (end > begin && data[end - 1] == 0) {
                --end;
            }
            if (!unit(data + begin, end - begin)) {
                return false;
            }
        }
        begin = i + 3;
        inUnit = true;
        i += 2;
    }
    return !inUnit || unit(data + begin, size - begin);
}

// Units each preceded by a big-endian length of lengthSize bytes. A length that runs past the
// end makes the whole packet suspect.
template <typename Unit>
bool ForEachSizedUnit(const uint8_t* data, std::size_t size, int lengthSize, Unit unit) {
    std::size_t pos = 0;
    while (pos < size) {
        if (size - pos < static_cast<std::size_t>(lengthSize)) {
            return false;
        }
        std::size_t length = 0;
        for (int i = 0; i < lengthSize; ++i) {
            length = (length << 8) | data[pos + i];
        }
        pos += lengthSize;
        if (length > size - pos || !unit(data + pos, length)) {
            return false;
        }
        pos += length;
    }
    return true;
}

}  // namespace

TNonReferenceGate::TNonReferenceGate(AVCodecID codecId, const uint8_t* extradata,
                                     int extradataSize) {
    switch (codecId) {
        case AV_CODEC_ID_H264:
        case AV_CODEC_ID_MPEG1VIDEO:
        case AV_CODEC_ID_MPEG2VIDEO:
        case AV_CODEC_ID_MPEG4:
        case AV_CODEC_ID_VC1:
        case AV_CODEC_ID_WMV3:
            supported_ = true;
            break;
        case AV_CODEC_ID_HEVC:
            supported_ = true;
            hevc_ = true;
            if (extradata && extradataSize > 0) {
                ReadHevcConfiguration(extradata, static_cast<std::size_t>(extradataSize));
            }
            break;
        default:
            break;
    }
}

bool TNonReferenceGate::Allows(const uint8_t* data, std::size_t size) {
    if (!supported_) {
        return false;
    }
    return !hevc_ || AllowsHevc(data, size);
}

// The decoder tells the two forms apart the same way: a configuration record begins with a
// version byte where start codes begin with zeros.
void TNonReferenceGate::ReadHevcConfiguration(const uint8_t* data, std::size_t size) {
    const bool record = size > 3 && (data[0] || data[1] || data[2] > 1);
    if (!record) {
        AllowsHevc(data, size);
        return;
    }
    constexpr std::size_t kArraysAt = 23;
    if (size < kArraysAt) {
        return;
    }
    lengthSize_ = (data[21] & 3) + 1;
    const int arrays = data[22];
    std::size_t pos = kArraysAt;
    for (int a = 0; a < arrays; ++a) {
        if (size - pos < 3) {
            return;
        }
        const int units = (data[pos + 1] << 8) | data[pos + 2];
        pos += 3;
        for (int u = 0; u < units; ++u) {
            if (size - pos < 2) {
                return;
            }
            const std::size_t length = (data[pos] << 8) | data[pos + 1];
            pos += 2;
            if (length > size - pos) {
                return;
            }
            AllowsHevcUnit(data + pos, length);
            pos += length;
        }
    }
}

bool TNonReferenceGate::AllowsHevc(const uint8_t* data, std::size_t size) {
    // Every unit is read, so that parameter sets later in the packet still count.
    bool allowed = true;
    auto unit = [&](const uint8_t* start, std::size_t length) {
        allowed = AllowsHevcUnit(start, length) && allowed;
        return true;
    };
    const bool whole = lengthSize_ > 0 ? ForEachSizedUnit(data, size, lengthSize_, unit)
                                       : ForEachStartCodeUnit(data, size, unit);
    return whole && allowed;
}

bool TNonReferenceGate::AllowsHevcUnit(const uint8_t* unit, std::size_t size) {
    if (size < 2) {
        return false;
    }
    const int type = (unit[0] >> 1) & 0x3f;
    const int layer = ((unit[0] & 1) << 5) | (unit[1] >> 3);
    const int subLayer = (unit[1] & 7) - 1;
    if (layer > 0) {
        // Other layers are not decoded at all.
        return true;
    }
    if (type == kHevcSps || type == kHevcVps) {
        if (type == kHevcSps && size > 2) {
            // After the two header bytes: sps_video_parameter_set_id (4 bits), then
            // sps_max_sub_layers_minus1 (3 bits). No emulation byte can come before it.
            topSubLayer_ = std::max(topSubLayer_, (unit[2] >> 1) & 7);
        }
        return true;
    }
    if (type >= kHevcFirstNonVcl || !HevcSubLayerNonReference(type)) {
        return true;
    }
    return topSubLayer_ >= 0 && subLayer == topSubLayer_;
}

}  // namespace dero
