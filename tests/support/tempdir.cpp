#include "tempdir.h"

#include <QFile>
#include <filesystem>
#include <system_error>

TempDir::TempDir() : dir_(QDir::tempPath() + "/dero test XXXXXX") {}

TempDir::~TempDir() {
    if (dir_.isValid()) {
        std::error_code error;
        std::filesystem::remove_all(QFile::encodeName(dir_.path()).toStdString(), error);
    }
}

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
