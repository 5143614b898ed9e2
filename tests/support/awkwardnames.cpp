#include "awkwardnames.h"

#include <filesystem>
#include <system_error>

QList<QByteArray> TAwkwardNames::Names() {
    return {QByteArrayLiteral("a*b.avi"), QByteArrayLiteral("c?d.avi"),
            QByteArrayLiteral("e\"f.avi"), QByteArrayLiteral("caf\xE9\xFF.avi"),
            QByteArrayLiteral("sommer \xC3\xA9t\xC3\xA9 2.avi")};
}

QList<QByteArray> TAwkwardNames::CopyUnderEach(const QByteArray& source, const QByteArray& folder) {
    QList<QByteArray> paths;
    for (const QByteArray& name : Names()) {
        const QByteArray path = folder.endsWith('/') ? folder + name : folder + '/' + name;
        // std::filesystem keeps a std::string path's bytes as they are.
        std::error_code error;
        if (!std::filesystem::copy_file(source.toStdString(), path.toStdString(), error)) {
            return {};
        }
        paths << path;
    }
    return paths;
}
