#pragma once

#include <QString>
#include <QStringList>

// The profile file: one section per device family with its profile lines and the value lists a
// user composes a profile from. Every call reads or writes single keys of the file afresh;
// nothing is cached, so edits made meanwhile by hand or by the editor are always seen.
class TProfileFile {
  public:
    // The marker a numbered key reads as when it is missing; a value of exactly this text is
    // dropped from a list like a missing key.
    static const QString NoData;

    explicit TProfileFile(QString path);

    const QString& Path() const { return path_; }

    // The values of the keys <name>0 .. <name><Count>-1 in key order, "NoData" dropped.
    QStringList ReadList(const QString& section, const QString& name) const;
    // <name>Index: a position in the list ReadList built (not a key number); default 0.
    int ReadListIndex(const QString& section, const QString& name) const;

    int ProfileCount(const QString& section) const;
    QStringList Profiles(const QString& section) const;
    // Profile<number> as it stands, "NoData" when missing.
    QString Profile(const QString& section, int number) const;
    int DefaultIndex(const QString& section) const;
    QString DefaultName(const QString& section) const;
    QString DefaultBitRate(const QString& section) const;

    // Writes the line as Profile<number>; the count is raised only when number equals the count
    // read just before, so writing at ProfileCount appends and a lower number replaces.
    // Throws EIniFileException ("Unable to write to <path>") on a refused write.
    void WriteProfile(const QString& section, int number, const QString& line);
    void AppendProfile(const QString& section, const QString& line);

  private:
    QString path_;
};
