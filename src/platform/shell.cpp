#include "shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

// Mail addresses and web addresses go as written (the mail report leaves its blanks and line
// breaks unencoded); anything without a scheme is a local path.
QUrl TargetUrl(const QString& target) {
    const qsizetype colon = target.indexOf(':');
    const bool hasScheme = colon > 1 && !target.startsWith('/');
    if (hasScheme) {
        return QUrl(target, QUrl::TolerantMode);
    }
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

}  // namespace

bool ShellOpen(const QString& target) {
    if (target.isEmpty()) {
        return false;
    }
    return QDesktopServices::openUrl(TargetUrl(target));
}
