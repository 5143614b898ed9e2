#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// One value of a numbered list together with the n of the key <name>n it was read from, so a
// change can be written back under that key even where missing keys shifted the positions.
struct TNumberedValue {
    int Number;
    QString Value;
};

// The profile file: one section per device family with its profile lines and the value lists a
// user composes a profile from. Every call reads or writes the file afresh; nothing is cached,
// so edits made meanwhile by hand or by the editor are always seen.
class TProfileFile {
  public:
    // The marker a numbered key reads as when it is missing; a value of exactly this text is
    // dropped from a list like a missing key.
    static const QString NoData;
    // The file's name in the program's folder.
    static const QString FileName;
    // Counts are bounded: a damaged or hostile count (a huge number, or one that wrapped) must
    // not make a reader ask for billions of keys. No reader reads a key at or beyond this.
    static constexpr int MaxListEntries = 1000;

    explicit TProfileFile(QString path);

    const QString& Path() const { return path_; }

    // The values of the keys <name>0 .. <name><Count>-1 in key order, "NoData" dropped, read in
    // one pass over the file. A negative count reads as 0, one above MaxListEntries as that.
    std::vector<TNumberedValue> ReadNumberedList(const QString& section, const QString& name) const;
    QStringList ReadList(const QString& section, const QString& name) const;
    // <name>Index: a position in the list ReadList built (not a key number); default 0.
    int ReadListIndex(const QString& section, const QString& name) const;

    // ProfileCount bounded to 0 .. MaxListEntries, the way the readers use it.
    int ProfileCount(const QString& section) const;
    std::vector<TNumberedValue> Profiles(const QString& section) const;
    // Profile<number> as it stands, "NoData" when missing.
    QString Profile(const QString& section, int number) const;
    int DefaultIndex(const QString& section) const;
    QString DefaultName(const QString& section) const;
    QString DefaultBitRate(const QString& section) const;

    // Whether Profile<number> is a key the readers read at all (0 .. MaxListEntries - 1).
    static bool ReadableNumber(int number);
    // Writes the line as Profile<number>; the count is raised only when number equals the count
    // read just before, so writing at ProfileCount appends and a lower number replaces. The
    // line is written before the count, so a failure in between leaves a key that no reader
    // reads. False, with nothing written, for a number that is not ReadableNumber.
    // Throws EIniFileException ("Unable to write to <path>") on a refused write.
    [[nodiscard]] bool WriteProfile(const QString& section, int number, const QString& line);
    [[nodiscard]] bool AppendProfile(const QString& section, const QString& line);

  private:
    QString path_;
};
