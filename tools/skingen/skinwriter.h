#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

// Collects the entries of Skin.ini and saves the pictures they name into one skin folder.
// Every picture write is checked; Finish() reports whether everything reached the disk.
//
// A writer of scale 2 draws the same skin for dense screens: each picture goes to its
// "Name@2x.ext" beside the 1 x one and must be drawn at that scale; its entries are collected
// only to be compared with the 1 x writer's, since both sets of pictures share one Skin.ini.
class TSkinWriter {
  public:
    explicit TSkinWriter(QString dir, int scale = 1);

    const QString& Dir() const { return dir_; }
    int Scale() const { return scale_; }
    const QStringList& Lines() const { return lines_; }

    // Strips, bar parts, list parts and masks: 24-bit BMP, as the loader reads them. name is the
    // 1 x picture's, at every scale.
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

    // Writes Skin.ini (scale 1 only). False when any picture or the file itself could not be
    // written, or a picture was not drawn at the writer's scale.
    bool Finish();

  private:
    void Save(const QString& name, const QImage& image, const char* format, int quality);

    QString dir_;
    int scale_ = 1;
    QStringList lines_;
    bool ok_ = true;
};

// Fields 1 to 15, each followed by its comma: the loader reads a field without its comma as
// empty.
QString FieldList(const QStringList& fields);

// "Name@2x.ext" for "Name.ext": where a double-size picture lies beside its 1 x one.
QString DoubleSizeName(const QString& name);
