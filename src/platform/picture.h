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

// Decodes JPEG data with libjpeg; corrupt or truncated data throw EPictureError.
QImage DecodeJpeg(const QByteArray& data);
