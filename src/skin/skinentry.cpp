#include "skinentry.h"

#include <QFile>
#include <QFileInfo>

#include "platform/inifile.h"
#include "platform/picture.h"
#include "platform/scaledpicture.h"
#include "skin/skinfield.h"

TSkinEntry::TSkinEntry(const TIniFile& skinFile, QString section, QString key, QString skinDir,
                       qreal devicePixelRatio)
    : section_(std::move(section)),
      key_(std::move(key)),
      skinDir_(std::move(skinDir)),
      devicePixelRatio_(devicePixelRatio) {
    value_ = skinFile.ReadString(section_, key_, kWrong);
}

QString TSkinEntry::Field(int n) const {
    return SkinField(value_, n);
}

int TSkinEntry::Number(int n) const {
    constexpr int kLeft = 4, kTop = 5, kWidth = 6, kHeight = 7;
    switch (n) {
        case kLeft:
        case kTop:
            return SkinPosition(value_, n);
        case kWidth:
        case kHeight:
            return SkinSize(value_, n);
        default:
            return SkinNumber(value_, n);
    }
}

bool TSkinEntry::Flag(int n) const {
    return SkinFlag(value_, n);
}

bool TSkinEntry::FileExists(int n) const {
    return IsFile(FilePath(n));
}

QImage TSkinEntry::LoadBitmap(int n) const {
    return LoadPictureForRatio(FilePath(n), devicePixelRatio_, &TSkinEntry::LoadBitmapFile);
}

QImage TSkinEntry::LoadPicture(int n) const {
    return LoadPictureForRatio(FilePath(n), devicePixelRatio_,
                               [](const QString& path) { return ::LoadPicture(path); });
}

bool TSkinEntry::IsFile(const QString& path) {
    return QFileInfo(path).isFile();
}

QImage TSkinEntry::LoadBitmapFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EPictureError(QString("Cannot open bitmap %1").arg(path).toStdString());
    }
    QImage image;
    if (!image.loadFromData(file.readAll(), "BMP") || image.isNull()) {
        throw EPictureError(QString("Cannot decode bitmap %1").arg(path).toStdString());
    }
    return image.convertToFormat(QImage::Format_RGB32);
}
