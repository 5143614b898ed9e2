#pragma once

// Small layers standing in for desktop services: INI files, settings, window handles and
// messages, pictures, the shell, the one way between threads. Includes only itself and include/.

#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <cstddef>

// Replaces a file's whole content in one step: the bytes go to a temporary file beside it,
// which is written in full and synced to the disk before it is renamed over the file. The file
// is therefore either wholly old or wholly new, after a kill, a power cut or a full disk alike.
// A link is followed to the file it names, so the link stays a link.
class TAtomicFileWriter {
  public:
    TAtomicFileWriter() = default;
    virtual ~TAtomicFileWriter() = default;
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    // The writer that goes straight to the system.
    static const TAtomicFileWriter& Standard();

    // False when any step fails, and then the temporary file is gone and the file is as it was.
    // An existing file that is not a plain file, or that the caller may not write, is refused.
    bool Replace(const QString& path, const QByteArray& bytes) const;

  protected:
    // The two calls a full or failing disk answers with an error, apart so tests can fail them.
    // Write is write(2): it may write less than asked, and -1 sets errno.
    virtual ssize_t Write(int fd, const char* data, size_t size) const;
    // fsync(2); false when the data did not reach the disk.
    virtual bool Sync(int fd) const;

  private:
    bool WriteAll(int fd, const QByteArray& bytes) const;
};
