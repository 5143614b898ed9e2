#pragma once

#include <QByteArray>
#include <QList>

// File names a text-based dialog or a UTF-8-only path loses: "*", "?" and '"' (which a dialog's
// name field reads as a pattern and as quoting), Latin-1 bytes with one no encoding uses, and
// spaced accented UTF-8. Names and paths are raw file system bytes.
class TAwkwardNames {
  public:
    static QList<QByteArray> Names();
    // Copies the file source under every name into folder; the new files' paths, in Names()'
    // order. Empty when a copy fails.
    static QList<QByteArray> CopyUnderEach(const QByteArray& source, const QByteArray& folder);
};
