#include <gtest/gtest.h>

#include <jpeglib.h>
#include <QBuffer>
#include <cstdio>

#include "platform/picture.h"
#include "support/tempdir.h"

namespace {

// A JPEG made by libjpeg itself: left half red, right half blue.
QByteArray MakeJpeg(int width, int height) {
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
