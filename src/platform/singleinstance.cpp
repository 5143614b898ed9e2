#include "singleinstance.h"

#include <unistd.h>
#include <QDir>
#include <QFileInfo>

namespace {

QString LockFileName(const QString& key) {
    QString name;
    for (const QChar c : key) {
        name += c.isLetterOrNumber() ? c : QChar('-');
    }
    // The user id keeps users apart when the fallback folder is shared.
    return name + '-' + QString::number(getuid()) + QStringLiteral(".lock");
}

}  // namespace

TSingleInstance::TSingleInstance(const QString& key) : TSingleInstance(key, RuntimeFolder()) {}

TSingleInstance::TSingleInstance(const QString& key, const QString& folder)
    : lockPath_(QDir(folder).filePath(LockFileName(key))) {}

QString TSingleInstance::RuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable()) {
        return runtime;
    }
    return QDir::tempPath();
}

bool TSingleInstance::TryAcquire() {
    if (lock_ && lock_->isLocked()) {
        return true;
    }
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A lock is stale only when its owner has died, never because of its age: a copy may run
    // for days.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}
