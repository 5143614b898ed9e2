#pragma once

#include <string>

#include "colourfacts.h"

namespace dero {

// What the pictures need on their way to a small screen. MPEG-4 Simple Profile players decode
// standard-definition pictures with BT.601 coefficients and show them on SDR screens, while HD
// sources are made with BT.709 (or BT.2020) coefficients and phones record HDR: each such
// source is converted, not merely scaled, and the output says what it holds.
class TColourPlan {
  public:
    explicit TColourPlan(const TColourFacts& source);

    // The filters that follow the scale-down, where they work on the fewest pixels; their
    // pictures are 8-bit 4:2:0, limited range, BT.601 coefficients. Empty when the scaler alone
    // makes that (BT.601 and RGB sources; it converts full to limited range by itself).
    std::string AfterScale() const;
    // Writes what AfterScale's pictures are into the encoder's colour fields.
    void Tag(AVCodecContext* encoder) const;

    // The coefficients the source's pictures are decoded with: their tag, else the guess players
    // make from the size.
    AVColorSpace SourceMatrix() const { return matrix_; }
    bool ToneMaps() const;

  private:
    std::string MatrixConversion() const;
    std::string ToneMapping() const;
    AVColorPrimaries OutputPrimaries() const;

    TColourFacts source_;
    AVColorSpace matrix_;
};

}  // namespace dero
