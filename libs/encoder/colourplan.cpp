#include "colourplan.h"

#include <cstdio>

namespace dero {
namespace {

// HDR sources say nothing of their screen more often than not: PQ is then taken at the top of
// its scale (as the tone mapper itself assumes), HLG at the 1000-nit display it is graded for.
constexpr double kPqCeilingNits = 10000;
constexpr double kHlgDisplayNits = 1000;
// The tone mapper's linear 1.0: SDR white.
constexpr double kSdrWhiteNits = 100;

bool IsRgbLike(AVPixelFormat format) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    // The scaler turns RGB, palette and grey pictures into BT.601 Y'CbCr by itself.
    return descriptor && (descriptor->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL) ||
                          descriptor->nb_components < 3);
}

AVColorSpace GuessedMatrix(const TColourFacts& source) {
    if (source.space == AVCOL_SPC_RGB || IsRgbLike(source.format)) {
        return AVCOL_SPC_RGB;
    }
    if (source.space != AVCOL_SPC_UNSPECIFIED && source.space != AVCOL_SPC_RESERVED &&
        source.space < AVCOL_SPC_NB) {
        return source.space;
    }
    // What players assume of untagged pictures.
    return source.width >= 1280 || source.height > 576 ? AVCOL_SPC_BT709 : AVCOL_SPC_SMPTE170M;
}

// The colorspace filter's name for a matrix it converts from; null when BT.601 already.
const char* ConvertedMatrixName(AVColorSpace matrix) {
    switch (matrix) {
        case AVCOL_SPC_BT709:
            return "bt709";
        case AVCOL_SPC_FCC:
            return "fcc";
        case AVCOL_SPC_SMPTE240M:
            return "smpte240m";
        case AVCOL_SPC_YCGCO:
            return "ycgco";
        case AVCOL_SPC_BT2020_NCL:
        case AVCOL_SPC_BT2020_CL:  // the filter knows only the common variant; the two differ
                                   // little
            return "bt2020ncl";
        default:
            return nullptr;
    }
}

bool Wide(AVColorPrimaries primaries) {
    return primaries == AVCOL_PRI_BT2020;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

}  // namespace

TColourPlan::TColourPlan(const TColourFacts& source)
    : source_(source), matrix_(GuessedMatrix(source)) {}

bool TColourPlan::ToneMaps() const {
    return source_.transfer == AVCOL_TRC_SMPTE2084 || source_.transfer == AVCOL_TRC_ARIB_STD_B67;
}

std::string TColourPlan::AfterScale() const {
    if (ToneMaps()) {
        return ToneMapping();
    }
    return MatrixConversion();
}

// The scaler has already turned full range into limited, so only the coefficients change (and
// the gamut, for a BT.2020 source); the transfer stays, as SDR BT.2020 shares BT.709's.
std::string TColourPlan::MatrixConversion() const {
    const char* from = ConvertedMatrixName(matrix_);
    const bool wide = Wide(source_.primaries);
    if (!from && !wide) {
        return {};
    }
    std::string chain = "format=yuv420p,colorspace=space=smpte170m:range=tv:irange=tv:ispace=";
    chain += from ? from : "smpte170m";
    chain += ":trc=bt709:itrc=bt709:primaries=bt709:iprimaries=";
    chain += wide ? "bt2020" : "bt709";
    return chain;
}

// Linear light at the small size, the tone curve on the brightest channel (which keeps hue and
// saturation), then BT.709 primaries and gamma with BT.601 coefficients.
std::string TColourPlan::ToneMapping() const {
    const bool pq = source_.transfer == AVCOL_TRC_SMPTE2084;
    const double peak =
        pq ? (source_.peakNits > 0 ? source_.peakNits : kPqCeilingNits) : kHlgDisplayNits;
    const char* matrix = matrix_ == AVCOL_SPC_BT709       ? "709"
                         : matrix_ == AVCOL_SPC_BT2020_CL ? "2020_cl"
                                                          : "2020_ncl";
    const char* primaries = source_.primaries == AVCOL_PRI_BT709 ? "709" : "2020";
    const char* range = source_.range == AVCOL_RANGE_JPEG ? "pc" : "tv";
    std::string chain = "format=yuv420p10le,zscale=tin=";
    chain += pq ? "smpte2084" : "arib-std-b67";
    chain += std::string(":min=") + matrix + ":pin=" + primaries + ":rin=" + range;
    chain += ":t=linear:npl=" + Number(kSdrWhiteNits);
    chain += ",format=gbrpf32le,zscale=p=709,tonemap=tonemap=hable:desat=0:peak=" +
             Number(peak / kSdrWhiteNits);
    chain += ",zscale=t=709:m=170m:r=tv,format=yuv420p";
    return chain;
}

AVColorPrimaries TColourPlan::OutputPrimaries() const {
    if (ToneMaps() || Wide(source_.primaries)) {
        return AVCOL_PRI_BT709;
    }
    return source_.primaries;
}

void TColourPlan::Tag(AVCodecContext* encoder) const {
    encoder->colorspace = AVCOL_SPC_SMPTE170M;
    encoder->color_range = AVCOL_RANGE_MPEG;
    encoder->color_primaries = OutputPrimaries();
    encoder->color_trc = ToneMaps() || Wide(source_.primaries) ? AVCOL_TRC_BT709 : source_.transfer;
}

}  // namespace dero
