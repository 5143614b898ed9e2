#pragma once

#include <QString>

// The program's settings, kept where the platform keeps a user's settings: one INI file,
// $XDG_CONFIG_HOME/Derobox/Derobox.ini (default ~/.config/...). A key such as
// "\SOFTWARE\Derobox" is a section of that file; its values keep their names and types.
class TSettingsStore {
  public:
    // The store in the user's configuration folder.
    TSettingsStore();
    explicit TSettingsStore(QString filePath);

    static QString DefaultFilePath();
    const QString& FilePath() const { return filePath_; }

    // Selects the key the value operations use. With canCreate the store's folder is made when
    // missing; false when the key cannot be opened (or does not exist and may not be created).
    bool OpenKey(const QString& key, bool canCreate);

    bool ValueExists(const QString& name) const;
    QString ReadString(const QString& name) const;
    // Non-zero integers are true.
    bool ReadBool(const QString& name) const;
    // Throw EIniFileException when the value cannot be written.
    void WriteString(const QString& name, const QString& value);
    // Stored as the integer 0 or 1.
    void WriteBool(const QString& name, bool value);

  private:
    QString filePath_;
    QString section_;
};
