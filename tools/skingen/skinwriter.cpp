#include "skinwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString Flag(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QStringList Bounds(const QRect& rect) {
    return {QString::number(rect.left()), QString::number(rect.top()),
            QString::number(rect.width()), QString::number(rect.height())};
}

}  // namespace

QString FieldList(const QStringList& fields) {
    QString value;
    for (const QString& field : fields) {
        value += field + ',';
    }
    return value;
}

QString DoubleSizeName(const QString& name) {
    const qsizetype nameStart = name.lastIndexOf('/') + 1;
    const qsizetype dot = name.lastIndexOf('.');
    if (dot < nameStart) {
        return name + QStringLiteral("@2x");
    }
    return name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
}

TSkinWriter::TSkinWriter(QString dir, int scale) : dir_(std::move(dir)), scale_(scale) {
    if (!dir_.endsWith('/')) {
        dir_ += '/';
    }
    ok_ = QDir().mkpath(dir_);
}

void TSkinWriter::Save(const QString& name, const QImage& image, const char* format, int quality) {
    // A picture left at 1 x in the double-size set would be blown up on screen, the very blur
    // this set is for.
    if (qRound(image.devicePixelRatio()) != scale_) {
        ok_ = false;
        return;
    }
    const QString path = scale_ == 1 ? name : DoubleSizeName(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    // RGB32 has no alpha, so the BMP writer stores 24 bits per pixel.
    if (!image.convertToFormat(QImage::Format_RGB32).save(path, format, quality)) {
        ok_ = false;
    }
}

void TSkinWriter::SaveBitmap(const QString& name, const QImage& image) {
    Save(dir_ + name, image, "BMP", -1);
}

void TSkinWriter::SaveJpeg(const QString& name, const QImage& image) {
    Save(dir_ + name, image, "JPEG", 94);
}

void TSkinWriter::SavePng(const QString& path, const QImage& image) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) {
        ok_ = false;
    }
}

void TSkinWriter::BeginSection(const QString& section) {
    if (!lines_.isEmpty()) {
        lines_ << QString();
    }
    lines_ << '[' + section + ']';
}

void TSkinWriter::Entry(const QString& key, const QString& value) {
    lines_ << key + '=' + value;
}

void TSkinWriter::ImageEntry(const QString& key, const QString& file, const QRect& rect,
                             bool visible, bool enabled, bool transparent, bool sizesParent) {
    Entry(key, FieldList(QStringList{file, "", ""} + Bounds(rect) +
                         QStringList{Flag(visible), Flag(enabled), "0", Flag(transparent), "",
                                     Flag(sizesParent), Flag(sizesParent), "0"}));
}

void TSkinWriter::DynamicButtonEntry(const QString& key, const QString& strip,
                                     const QString& animation, const QRect& rect,
                                     const QString& hint, int frameInterval, int loopDelay,
                                     bool hasDisabled) {
    Entry(key, FieldList(QStringList{strip, animation, ""} + Bounds(rect) +
                         QStringList{"1", "1", "0", "0", hint, QString::number(frameInterval),
                                     QString::number(loopDelay), Flag(hasDisabled)}));
}

void TSkinWriter::CheckButtonEntry(const QString& key, const QString& unchecked,
                                   const QString& checked, const QRect& rect,
                                   const QString& uncheckedHint, const QString& checkedHint) {
    Entry(key, FieldList(QStringList{unchecked, checked, ""} + Bounds(rect) +
                         QStringList{"1", "1", "0", "0", uncheckedHint + " # " + checkedHint, "1",
                                     "1", "0"}));
}

bool TSkinWriter::Finish() {
    if (scale_ != 1) {
        return ok_;
    }
    QFile file(dir_ + QStringLiteral("Skin.ini"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QByteArray text = (lines_.join("\r\n") + "\r\n").toUtf8();
    if (file.write(text) != text.size()) {
        ok_ = false;
    }
    return ok_;
}
