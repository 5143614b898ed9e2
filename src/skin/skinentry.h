#pragma once

#include <QImage>
#include <QString>

class TIniFile;

// One control's entry of the skin file, as an applier sees it: the value of key Key in section
// Section (read once, "Wrong" when the key is missing), its fields, and the files they name in
// the skin directory. File names are the skin directory followed by the field, with no
// separator inserted, so they may reach into sub-directories.
class TSkinEntry {
  public:
    // The special values; compared exactly.
    static inline const QString kWrong = QStringLiteral("Wrong");
    static inline const QString kInvisible = QStringLiteral("Invisible");
    static inline const QString kClear = QStringLiteral("Clear");

    // devicePixelRatio is the window's: above 1 the pictures' double-size companions are taken
    // where the skin has them.
    TSkinEntry(const TIniFile& skinFile, QString section, QString key, QString skinDir,
               qreal devicePixelRatio = 1.0);

    const QString& Section() const { return section_; }
    const QString& Key() const { return key_; }
    const QString& SkinDir() const { return skinDir_; }
    const QString& Value() const { return value_; }
    qreal DevicePixelRatio() const { return devicePixelRatio_; }

    QString Field(int n) const;
    // Field n as a number. Fields 4 and 5 (Left, Top) and 6 and 7 (Width, Height) have that role
    // in every entry and are held to what a screen can show (SkinPosition, SkinSize).
    int Number(int n) const;
    bool Flag(int n) const;

    // The skin directory followed by field n.
    QString FilePath(int n) const { return skinDir_ + Field(n); }
    // A file, not a directory: an empty field names the directory and so does not exist.
    bool FileExists(int n) const;
    // Field n's file decoded as a BMP, whatever its name. Throws EPictureError when it does not
    // decode. The picture fits the window's device pixel ratio (LoadPictureForRatio): measure it
    // with PictureSize, never by its pixels.
    QImage LoadBitmap(int n) const;
    // Field n's file through the platform's picture loader: JPEG for "jpg"/"jpeg", else BMP.
    // Throws EPictureError when it does not decode. Fits the ratio as LoadBitmap does.
    QImage LoadPicture(int n) const;

    static bool IsFile(const QString& path);
    static QImage LoadBitmapFile(const QString& path);

  private:
    QString section_;
    QString key_;
    QString skinDir_;
    QString value_;
    qreal devicePixelRatio_ = 1.0;
};
