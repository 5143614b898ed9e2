#pragma once

#include <QImage>
#include <QString>
#include <stdexcept>

// A picture file that exists but does not decode.
class EPictureError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Loads a picture chosen by the file name's extension, without regard to case: "jpg" and
// "jpeg" through libjpeg, anything else as a BMP. Throws EPictureError when the file is missing
// or its data do not decode. The result is 32-bit RGB.
QImage LoadPicture(const QString& path);

// Pictures declaring more than 8192 pixels on a side are refused from their header, before any
// pixel memory is taken.

// Decodes JPEG data with libjpeg; corrupt, truncated or too large data throw EPictureError.
QImage DecodeJpeg(const QByteArray& data);

// Decodes BMP data as 32-bit RGB; data that do not decode or are too large throw EPictureError.
QImage DecodeBitmap(const QByteArray& data);
