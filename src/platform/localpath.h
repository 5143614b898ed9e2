#pragma once

#include <QByteArray>
#include <QString>

// A file system path held in a QString without losing a byte. Linux names are bytes, most of
// them UTF-8; a name made under another code page (an old archive, a copied camera card) is not.
// Decoding keeps each byte that is not part of valid UTF-8 as the lone code unit U+DC80 + byte,
// which valid text never holds, so Encode gives back exactly the bytes Decode was given. Every
// path that reaches the system or a library goes through Encode; every path read from one comes
// through Decode. Display is for people: the kept bytes show as U+FFFD.
class TLocalPath {
  public:
    static QString Decode(const QByteArray& bytes);
    static QString Decode(const char* bytes) { return Decode(QByteArray(bytes)); }
    static QByteArray Encode(const QString& path);
    static QString Display(const QString& path);
    // The part after the last "/" (the whole path when there is none).
    static QString FileName(const QString& path);
    // The part up to the last "/", without it; "/" for a name in the root, "." for none.
    static QString FolderOf(const QString& path);
    // True when path holds kept bytes, i.e. is no valid text of its own.
    static bool HoldsRawBytes(const QString& path);
};
