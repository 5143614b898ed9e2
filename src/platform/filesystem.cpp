#include "filesystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString ProgramFolder() {
    // Read from the kernel so it is known before the application object exists.
    const QFileInfo program(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    return program.absolutePath() + '/';
}

bool FolderExists(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

bool CreateFolder(const QString& folder) {
    if (FolderExists(folder)) {
        return true;
    }
    return !folder.isEmpty() && QDir().mkdir(folder);
}

bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

int64_t FileSize(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    return file.size();
}

bool DeleteFile(const QString& path) {
    return !QFileInfo(path).isDir() && QFile::remove(path);
}

QList<TFolderEntry> ListFolder(const QString& folder) {
    QList<TFolderEntry> entries;
    const QDir dir(folder);
    const auto filters = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo& info : dir.entryInfoList(filters, QDir::Name)) {
        entries.append({info.fileName(), info.isDir() && !info.isSymLink()});
    }
    return entries;
}
