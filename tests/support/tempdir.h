#pragma once

#include <QString>
#include <QTemporaryDir>

// A scratch folder removed at the end of the test. Path() ends in the separator, the way the
// program's folder paths do, so file names can be appended directly.
class TempDir {
  public:
    TempDir();
    // Removes the folder by its bytes: Qt's own removal skips names that are not UTF-8.
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    QString Path() const;
    std::string PathStd() const { return Path().toStdString(); }
    // Writes bytes to Path() + name and returns the full path.
    QString Write(const QString& name, const QByteArray& bytes) const;

  private:
    QTemporaryDir dir_;
};
