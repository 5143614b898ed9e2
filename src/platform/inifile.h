#pragma once

#include <QHash>
#include <QString>
#include <stdexcept>

#include "platform/atomicfilewriter.h"

// A refused write: the message is "Unable to write to <path>".
class EIniFileException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Single keys of an INI file, read and written the way the platform's private-profile services
// do: section and key names match without regard to case, values are at most 2047 characters,
// the reader trims blanks and one pair of enclosing quotes. The file is opened per operation.
// A write creates the file or section when missing, keeps every other line as it was, and
// replaces the file atomically through writer. A UTF-8 byte-order mark before the first line is
// read past and kept.
class TIniFile {
  public:
    explicit TIniFile(QString path,
                      const TAtomicFileWriter& writer = TAtomicFileWriter::Standard());

    const QString& FileName() const { return path_; }

    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // The leading decimal number (with sign) of the value; defaultValue when there is none.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // Every key of the section with its value as ReadString gives it, read in one pass over the
    // file, for readers of long numbered lists. Keys are case-folded (look up
    // key.toCaseFolded()); when a key appears twice the first one counts, as for ReadString.
    QHash<QString, QString> ReadSectionValues(const QString& section) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // Throws EIniFileException when the file cannot be read or written; the file is then as it
    // was.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);

  private:
    QString path_;
    const TAtomicFileWriter* writer_;
};
