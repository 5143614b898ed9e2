#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

// Collects the entries of Skin.ini and saves the pictures they name into one skin folder.
// Every picture write is checked; Finish() reports whether everything reached the disk.
class TSkinWriter {
  public:
    explicit TSkinWriter(QString dir);

    const QString& Dir() const { return dir_; }

    // Strips, bar parts, list parts and masks: 24-bit BMP, as the loader reads them.
    void SaveBitmap(const QString& name, const QImage& image);
    // Backgrounds and large pictures.
    void SaveJpeg(const QString& name, const QImage& image);
    // Any other file beside the skin (the icon, for example).
    void SavePng(const QString& path, const QImage& image);

    void BeginSection(const QString& section);
    void Entry(const QString& key, const QString& value);

    // A TImage entry: picture at rect; visible, enabled, transparent; sizesParent lets a window's
    // background give the window its size.
    void ImageEntry(const QString& key, const QString& file, const QRect& rect, bool visible,
                    bool enabled, bool transparent, bool sizesParent);
    // A TDynamicImageButton entry: state strip (normal, hover, down, and disabled when
    // hasDisabled), animation strip or "static", frame interval and loop delay in ms.
    void DynamicButtonEntry(const QString& key, const QString& strip, const QString& animation,
                            const QRect& rect, const QString& hint, int frameInterval,
                            int loopDelay, bool hasDisabled);
    // A TCheckImageButton entry with both looks holding normal, hover and down images.
    void CheckButtonEntry(const QString& key, const QString& unchecked, const QString& checked,
                          const QRect& rect, const QString& uncheckedHint,
                          const QString& checkedHint);

    // Writes Skin.ini. False when any picture or the file itself could not be written.
    bool Finish();

  private:
    void Save(const QString& path, const QImage& image, const char* format, int quality);

    QString dir_;
    QStringList lines_;
    bool ok_ = true;
};

// Fields 1 to 15, each followed by its comma: the loader reads a field without its comma as
// empty.
QString FieldList(const QStringList& fields);
