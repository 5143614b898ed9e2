#pragma once

#include <cstddef>
#include <cstdint>

#include "avhandles.h"

namespace dero {

// Knows, per codec, whether its decoder may be told to leave out non-reference pictures
// (AVDISCARD_NONREF), and vetoes the packets where that could cost a picture still needed.
//
// The decoders of H.264 (nal_ref_idc 0), MPEG-1/2, MPEG-4 Part 2 and VC-1 (B-pictures) leave out
// only pictures nothing refers to. The HEVC decoder leaves out every sub-layer non-reference
// slice (the _N types) whatever its temporal sub-layer, yet such a picture may still be referred
// to by pictures of a higher sub-layer: a packet is let through only when its _N slices lie in the
// highest sub-layer the stream's parameter sets declare.
class TNonReferenceGate {
  public:
    // The decoder's codec and extradata, as the decoder was opened with them.
    TNonReferenceGate(AVCodecID codecId, const uint8_t* extradata, int extradataSize);

    bool Supported() const { return supported_; }
    // For every packet in decoding order, before it is sent: reads the parameter sets it carries,
    // then tells whether the decoder may leave out its non-reference pictures.
    bool Allows(const uint8_t* data, std::size_t size);

  private:
    void ReadHevcConfiguration(const uint8_t* data, std::size_t size);
    bool AllowsHevc(const uint8_t* data, std::size_t size);
    // One NAL unit of an HEVC stream, header first; false when it rules the packet out.
    bool AllowsHevcUnit(const uint8_t* unit, std::size_t size);

    bool supported_ = false;
    bool hevc_ = false;
    // HEVC packets: 0 for start codes, else the size of each unit's length field.
    int lengthSize_ = 0;
    // The highest temporal sub-layer any parameter set declared; -1 until one is read.
    int topSubLayer_ = -1;
};

}  // namespace dero
