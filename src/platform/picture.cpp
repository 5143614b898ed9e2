#include "picture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace {

// A picture larger than this on either side is refused from its header, before the decoder
// takes memory for it: a few bytes could otherwise declare gigabytes of pixels.
constexpr long long kMaxSide = 8192;

bool TooLarge(long long width, long long height) {
    return width > kMaxSide || height > kMaxSide;
}

// libjpeg reports errors through its error manager; this one carries the jump back to the
// decoder instead of ending the process.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ExitOnError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

// A stream cut short is only a warning to libjpeg, which pads it with grey; here it is an error,
// because such a picture is damaged. Other warnings stay silent.
void EmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        ExitOnError(cinfo);
    }
}

void SilentOutput(j_common_ptr) {}

// Owns the decompressor, so it is destroyed on every way out, the error jump included.
struct JpegDecoder {
    JpegDecoder() {
        cinfo.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = &ExitOnError;
        errors.base.emit_message = &EmitMessage;
        errors.base.output_message = &SilentOutput;
        errors.message[0] = '\0';
        jpeg_create_decompress(&cinfo);
    }
    ~JpegDecoder() { jpeg_destroy_decompress(&cinfo); }
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    jpeg_decompress_struct cinfo{};
    JpegErrorManager errors{};
    QImage image;
    const char* failure = nullptr;
};

// CMYK as Adobe writes it (inverted) or plain, to 0xffRRGGBB.
void CmykRowToRgb(const JSAMPLE* cmyk, QRgb* out, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Runs libjpeg under the error jump. Only trivially destructible locals live in this frame, so
// the jump skips no destructor; everything owned sits in the decoder.
bool Decompress(JpegDecoder& decoder, const QByteArray& data) {
    jpeg_decompress_struct& cinfo = decoder.cinfo;
    if (setjmp(decoder.errors.jump)) {
        decoder.failure = decoder.errors.message;
        return false;
    }
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (TooLarge(cinfo.image_width, cinfo.image_height)) {
        decoder.failure = "picture too large";
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&cinfo);
    decoder.image = QImage(static_cast<int>(cinfo.output_width),
                           static_cast<int>(cinfo.output_height), QImage::Format_RGB32);
    if (decoder.image.isNull()) {
        decoder.failure = "out of memory";
        return false;
    }
    // One extra row of CMYK samples, taken from libjpeg's pool so the jump frees it too.
    JSAMPARRAY cmykRow = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                           JPOOL_IMAGE, cinfo.output_width * 4, 1)
                              : nullptr;
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        auto* out = reinterpret_cast<QRgb*>(
            decoder.image.scanLine(static_cast<int>(cinfo.output_scanline)));
        if (cmyk) {
            jpeg_read_scanlines(&cinfo, cmykRow, 1);
            CmykRowToRgb(cmykRow[0], out, cinfo.output_width, inverted);
        } else {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(out);
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EPictureError(QString("Cannot open picture %1").arg(path).toStdString());
    }
    return file.readAll();
}

}  // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.isEmpty()) {
        throw EPictureError("Empty JPEG data");
    }
    JpegDecoder decoder;
    if (!Decompress(decoder, data)) {
        throw EPictureError(std::string("JPEG error: ") + decoder.failure);
    }
    return std::move(decoder.image);
}

QImage DecodeBitmap(const QByteArray& data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    // A negative height is a picture stored top row first.
    const QSize declared = reader.size();
    if (TooLarge(qAbs(declared.width()), qAbs(declared.height()))) {
        throw EPictureError("Bitmap error: picture too large");
    }
    QImage image;
    if (!reader.read(&image)) {
        throw EPictureError("Bitmap error: " + reader.errorString().toStdString());
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage LoadPicture(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    const QByteArray data = ReadWholeFile(path);
    if (extension == "jpg" || extension == "jpeg") {
        return DecodeJpeg(data);
    }
    try {
        return DecodeBitmap(data);
    } catch (const EPictureError& error) {
        throw EPictureError(QString("Cannot decode bitmap %1 (%2)")
                                .arg(path, QString::fromStdString(error.what()))
                                .toStdString());
    }
}
