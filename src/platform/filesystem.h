#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// File system services the program relies on, with the platform rules it expects: folder paths
// may end in "/", creation makes one folder level only, and failures are results, not errors.

// The folder of the running program file, ending in "/".
QString ProgramFolder();

bool FolderExists(const QString& folder);
// Creates the last level of folder; fails when its parent is missing. True when it exists after.
bool CreateFolder(const QString& folder);
bool FileExists(const QString& path);
// Size in bytes; -1 when the file is missing or cannot be opened for reading.
int64_t FileSize(const QString& path);
bool DeleteFile(const QString& path);

struct TFolderEntry {
    QString name;
    bool isFolder = false;
};
// Every entry of folder except "." and "..", hidden ones included; links are not followed.
QList<TFolderEntry> ListFolder(const QString& folder);
