#include "atomicfilewriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <optional>

namespace {

constexpr int kMaxLinkDepth = 40;
constexpr int kNameAttempts = 16;

// The file that path names once links are followed; nothing when they go round in a circle.
std::optional<QByteArray> FinalTarget(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < kMaxLinkDepth && info.isSymLink(); ++depth) {
        info.setFile(info.symLinkTarget());
    }
    if (info.isSymLink()) {
        return std::nullopt;
    }
    return QFile::encodeName(info.filePath());
}

// What is at the target now: nothing, or a plain file the caller may write (its status kept so
// the new file gets its mode and owner). Anything else is refused.
struct ExistingFile {
    bool exists = false;
    struct stat status {};
};

std::optional<ExistingFile> CheckTarget(const QByteArray& target) {
    ExistingFile existing;
    if (::stat(target.constData(), &existing.status) != 0) {
        if (errno == ENOENT) {
            return existing;
        }
        return std::nullopt;
    }
    // A device, a pipe or a folder must not be swapped for a plain file; a read-only file is
    // the user's word that it stays as it is.
    if (!S_ISREG(existing.status.st_mode) ||
        ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) {
        return std::nullopt;
    }
    existing.exists = true;
    return existing;
}

// The temporary file beside the target. Closed and removed on every way out unless it has been
// renamed over the target.
class TemporaryFile {
  public:
    TemporaryFile(const QByteArray& target, const ExistingFile& existing) {
        // A new file gets the usual 0666 less the umask; a replaced one keeps its own mode.
        const mode_t mode = existing.exists ? S_IRUSR | S_IWUSR : 0666;
        for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
            path_ = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
            fd_ = ::open(path_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd_ < 0 && errno != EEXIST) {
                break;
            }
        }
        created_ = fd_ >= 0;
        if (created_ && existing.exists) {
            CopyModeAndOwner(existing.status);
        }
    }
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (created_ && !renamed_) {
            ::unlink(path_.constData());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    // Network file systems may report a failed write only here.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

    bool RenameOver(const QByteArray& target) {
        renamed_ = ::rename(path_.constData(), target.constData()) == 0;
        return renamed_;
    }

  private:
    void CopyModeAndOwner(const struct stat& status) const {
        // Only root can give a file away; for anyone else the owner is already the same.
        if (::fchown(fd_, status.st_uid, status.st_gid) != 0) {
            // The new file stays the caller's; its content is what matters.
        }
        if (::fchmod(fd_, status.st_mode & 07777) != 0) {
            // As above: the mode is kept where the system allows it.
        }
    }

    QByteArray path_;
    int fd_ = -1;
    bool created_ = false;
    bool renamed_ = false;
};

// Makes the rename itself last. The file is already whole by then, so a failure changes nothing.
void SyncFolder(const QByteArray& target) {
    const QByteArray folder =
        QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

const TAtomicFileWriter& TAtomicFileWriter::Standard() {
    static const TAtomicFileWriter writer;
    return writer;
}

bool TAtomicFileWriter::Replace(const QString& path, const QByteArray& bytes) const {
    if (path.isEmpty()) {
        return false;
    }
    const std::optional<QByteArray> target = FinalTarget(path);
    if (!target) {
        return false;
    }
    const std::optional<ExistingFile> existing = CheckTarget(*target);
    if (!existing) {
        return false;
    }
    TemporaryFile temporary(*target, *existing);
    if (!temporary.IsOpen() || !WriteAll(temporary.Fd(), bytes) || !Sync(temporary.Fd()) ||
        !temporary.Close() || !temporary.RenameOver(*target)) {
        return false;
    }
    SyncFolder(*target);
    return true;
}

ssize_t TAtomicFileWriter::Write(int fd, const char* data, size_t size) const {
    return ::write(fd, data, size);
}

bool TAtomicFileWriter::Sync(int fd) const {
    return ::fsync(fd) == 0;
}

bool TAtomicFileWriter::WriteAll(int fd, const QByteArray& bytes) const {
    const char* data = bytes.constData();
    size_t left = static_cast<size_t>(bytes.size());
    while (left > 0) {
        const ssize_t written = Write(fd, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        // A disk that takes nothing more would otherwise keep this loop going for ever.
        if (written <= 0) {
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}
