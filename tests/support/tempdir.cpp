#include "tempdir.h"

#include <QFile>

TempDir::TempDir() : dir_(QDir::tempPath() + "/dero test XXXXXX") {}

QString TempDir::Path() const {
    return dir_.path() + "/";
}

QString TempDir::Write(const QString& name, const QByteArray& bytes) const {
    const QString path = Path() + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    return path;
}
