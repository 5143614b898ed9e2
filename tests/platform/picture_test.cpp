#include <gtest/gtest.h>

#include <jpeglib.h>
#include <QBuffer>
#include <QtEndian>
#include <cstdio>

#include "platform/picture.h"
#include "support/tempdir.h"

namespace {

// A JPEG made by libjpeg itself: left half red, right half blue.
QByteArray MakeJpeg(int width, int height, bool progressive = false) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(width * 3);
    for (int x = 0; x < width; ++x) {
        const bool left = x < width / 2;
        row[x * 3] = left ? 255 : 0;
        row[x * 3 + 1] = 0;
        row[x * 3 + 2] = left ? 0 : 255;
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    free(buffer);
    return bytes;
}

QByteArray MakeBmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// The JPEG with the frame header changed to declare another size; the data stay those of the
// small picture.
QByteArray DeclaringSize(QByteArray jpeg, int width, int height) {
    for (qsizetype i = 0; i + 8 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = static_cast<char>(height >> 8), jpeg[i + 6] = static_cast<char>(height);
            jpeg[i + 7] = static_cast<char>(width >> 8), jpeg[i + 8] = static_cast<char>(width);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

// A BMP header declaring width x height at 24 bits, followed by a few bytes of pixels only.
QByteArray BmpDeclaring(int width, int height) {
    QByteArray bytes(54, '\0');
    bytes[0] = 'B', bytes[1] = 'M';
    qToLittleEndian<quint32>(54 + 16, bytes.data() + 2);
    qToLittleEndian<quint32>(54, bytes.data() + 10);
    qToLittleEndian<quint32>(40, bytes.data() + 14);
    qToLittleEndian<qint32>(width, bytes.data() + 18);
    qToLittleEndian<qint32>(height, bytes.data() + 22);
    qToLittleEndian<quint16>(1, bytes.data() + 26);
    qToLittleEndian<quint16>(24, bytes.data() + 28);
    return bytes + QByteArray(16, 'x');
}

std::string RefusalOf(const QByteArray& data, QImage (*decode)(const QByteArray&)) {
    try {
        decode(data);
    } catch (const EPictureError& error) {
        return error.what();
    }
    return "accepted";
}

bool Near(QRgb pixel, int r, int g, int b) {
    return std::abs(qRed(pixel) - r) < 24 && std::abs(qGreen(pixel) - g) < 24 &&
           std::abs(qBlue(pixel) - b) < 24;
}

}  // namespace

TEST(Picture, DecodesJpegByExtensionWithoutRegardToCase) {
    TempDir dir;
    const QByteArray jpeg = MakeJpeg(64, 48);
    for (const QString name : {"a.jpg", "b.JPEG", "c.Jpg"}) {
        const QImage image = LoadPicture(dir.Write(name, jpeg));
        ASSERT_EQ(image.size(), QSize(64, 48)) << name.toStdString();
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        EXPECT_TRUE(Near(image.pixel(4, 24), 255, 0, 0));
        EXPECT_TRUE(Near(image.pixel(60, 24), 0, 0, 255));
    }
}

TEST(Picture, TruncatedOrCorruptJpegRaisesAnError) {
    const QByteArray jpeg = MakeJpeg(64, 48);
    EXPECT_THROW(DecodeJpeg(jpeg.left(jpeg.size() / 2)), EPictureError);
    EXPECT_THROW(DecodeJpeg(jpeg.left(20)), EPictureError);
    EXPECT_THROW(DecodeJpeg(QByteArray("not a picture at all")), EPictureError);
    EXPECT_THROW(DecodeJpeg(QByteArray()), EPictureError);

    QByteArray scrambled = jpeg;
    for (qsizetype i = 100; i < scrambled.size() - 2; i += 7) {
        scrambled[i] = static_cast<char>(0xFF);
    }
    EXPECT_THROW(DecodeJpeg(scrambled), EPictureError);
}

TEST(Picture, OtherExtensionsAreReadAsBitmaps) {
    TempDir dir;
    QImage source(10, 6, QImage::Format_RGB32);
    source.fill(qRgb(10, 200, 30));
    const QImage image = LoadPicture(dir.Write("button.bmp", MakeBmp(source)));
    ASSERT_EQ(image.size(), QSize(10, 6));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(3, 3), qRgb(10, 200, 30));

    // A JPEG with a bitmap's name is not a bitmap.
    EXPECT_THROW(LoadPicture(dir.Write("fake.bmp", MakeJpeg(8, 8))), EPictureError);
    EXPECT_THROW(LoadPicture(dir.Path() + "missing.jpg"), EPictureError);
    EXPECT_THROW(LoadPicture(dir.Path() + "missing.bmp"), EPictureError);
}

// A progressive JPEG makes libjpeg take memory for every coefficient of the declared size as
// it starts: 65000 x 65000 would be some 12 GB. The refusal must come from the header.
TEST(Picture, APictureDeclaringAHugeSizeIsRefusedFromItsHeader) {
    for (const bool progressive : {false, true}) {
        const QByteArray small = MakeJpeg(16, 16, progressive);
        EXPECT_EQ(RefusalOf(DeclaringSize(small, 65000, 65000), &DecodeJpeg),
                  "JPEG error: picture too large")
            << progressive;
        EXPECT_EQ(RefusalOf(DeclaringSize(small, 8193, 16), &DecodeJpeg),
                  "JPEG error: picture too large")
            << progressive;
        EXPECT_EQ(RefusalOf(DeclaringSize(small, 16, 8193), &DecodeJpeg),
                  "JPEG error: picture too large")
            << progressive;
    }
    EXPECT_EQ(DecodeJpeg(MakeJpeg(8192, 8)).size(), QSize(8192, 8));

    // From 70 bytes Qt's own reader would take the memory for the first two (its limit counts
    // bytes, not sides) and give a picture of pixels the file never held.
    EXPECT_EQ(RefusalOf(BmpDeclaring(30000, 2), &DecodeBitmap), "Bitmap error: picture too large");
    EXPECT_EQ(RefusalOf(BmpDeclaring(2, -30000), &DecodeBitmap), "Bitmap error: picture too large");
    EXPECT_THROW(DecodeBitmap(BmpDeclaring(60000, 60000)), EPictureError);
    TempDir dir;
    EXPECT_THROW(LoadPicture(dir.Write("huge.bmp", BmpDeclaring(30000, 2))), EPictureError);
}
