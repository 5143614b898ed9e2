#include "conversion/outputname.h"

#include <QFileInfo>

QString FreeOutputFile(const QString& workPath, const QString& sourceFile,
                       const QString& outputExt) {
    QString name = sourceFile.mid(sourceFile.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0) {
        name.truncate(dot);
    }
    const QString base = workPath + name;
    QString candidate = base + outputExt;
    for (int n = 1; QFileInfo::exists(candidate); ++n) {
        candidate = base + QString::number(n) + outputExt;
    }
    return candidate;
}
