#include "conversion/outputname.h"

#include <sys/stat.h>

#include "platform/localpath.h"

namespace {

// Taken is anything under the name, a link to nowhere included: the encoder will not write
// through a dangling link, so choosing its name would fail the clip.
bool NameTaken(const QString& path) {
    struct stat status {};
    return ::lstat(TLocalPath::Encode(path).constData(), &status) == 0;
}

}  // namespace

QString FreeOutputFile(const QString& workPath, const QString& sourceFile,
                       const QString& outputExt) {
    QString name = TLocalPath::FileName(sourceFile);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0) {
        name.truncate(dot);
    }
    const QString base = workPath + name;
    QString candidate = base + outputExt;
    for (int n = 1; NameTaken(candidate); ++n) {
        candidate = base + QString::number(n) + outputExt;
    }
    return candidate;
}
