#include "filesystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <memory>
#include <string_view>

#include "platform/localpath.h"

QString ProgramFolder() {
    // Read from the kernel so it is known before the application object exists.
    const QFileInfo program(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    return program.absolutePath() + '/';
}

namespace {

bool StatOf(const QString& path, struct stat& status) {
    return !path.isEmpty() && ::stat(TLocalPath::Encode(path).constData(), &status) == 0;
}

}  // namespace

bool FolderExists(const QString& folder) {
    struct stat status {};
    return StatOf(folder, status) && S_ISDIR(status.st_mode);
}

bool CreateFolder(const QString& folder) {
    if (FolderExists(folder)) {
        return true;
    }
    return !folder.isEmpty() && ::mkdir(TLocalPath::Encode(folder).constData(), 0777) == 0;
}

bool FileExists(const QString& path) {
    struct stat status {};
    return StatOf(path, status) && !S_ISDIR(status.st_mode);
}

int64_t FileSize(const QString& path) {
    if (FolderExists(path)) {
        return -1;
    }
    const int fd = ::open(TLocalPath::Encode(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat status {};
    const bool known = ::fstat(fd, &status) == 0;
    ::close(fd);
    if (!known) {
        return -1;
    }
    return status.st_size;
}

bool DeleteFile(const QString& path) {
    return !FolderExists(path) && ::unlink(TLocalPath::Encode(path).constData()) == 0;
}

QList<TFolderEntry> ListFolder(const QString& folder) {
    QList<TFolderEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(TLocalPath::Encode(folder).constData()),
                                                  &::closedir);
    if (!dir) {
        return entries;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") {
            continue;
        }
        struct stat status {};
        const bool isFolder =
            ::fstatat(::dirfd(dir.get()), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(status.st_mode);
        entries.append({TLocalPath::Decode(entry->d_name), isFolder});
    }
    std::sort(entries.begin(), entries.end(),
              [](const TFolderEntry& a, const TFolderEntry& b) { return a.name < b.name; });
    return entries;
}
