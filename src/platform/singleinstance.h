#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Keeps a second copy of the program from running for the same user. The key is the title the
// running copy is known by; a lock file named after it lives in the user's runtime folder and is
// released when the owner ends, even by a crash.
class TSingleInstance {
  public:
    explicit TSingleInstance(const QString& key);
    // For tests: the lock lives in folder instead of the runtime folder.
    TSingleInstance(const QString& key, const QString& folder);

    // True when no other copy holds the key; the key is then held until this object dies.
    bool TryAcquire();
    const QString& LockPath() const { return lockPath_; }

    static QString RuntimeFolder();

  private:
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
};
