#include "defaultskin.h"

#include <QDir>

#include "pictures.h"
#include "skinwriter.h"
#include "windowskins.h"

bool WriteDefaultSkin(const QString& dir) {
    return WriteDefaultSkin(dir, nullptr);
}

namespace {

QMap<QString, QImage> WriteEverything(TSkinWriter& writer) {
    writer.SaveJpeg(QStringLiteral("startup.jpg"),
                    pictures::Splash(QStringLiteral("2.1.5"), writer.Scale()));
    QMap<QString, QImage> shown;
    shown[QStringLiteral("SelectWindow")] = WriteSelectWindowSkin(writer);
    shown[QStringLiteral("MainWindow")] = WriteMainWindowSkin(writer);
    shown[QStringLiteral("ProgressWindow")] = WriteProgressWindowSkin(writer);
    shown[QStringLiteral("ProfileWindow")] = WriteProfileWindowSkin(writer);
    shown[QStringLiteral("AboutWindow")] = WriteAboutWindowSkin(writer);
    return shown;
}

}  // namespace

bool WriteDefaultSkin(const QString& dir, QMap<QString, QImage>* windowPictures) {
    TSkinWriter unit(dir);
    const QMap<QString, QImage> shown = WriteEverything(unit);
    if (windowPictures) {
        *windowPictures = shown;
    }
    // Drawn again, not enlarged: every edge and letter at the dense screen's own pixels. Both
    // sets must describe the same skin, or the 2 x pictures would not fit the 1 x geometry.
    TSkinWriter doubled(dir, 2);
    WriteEverything(doubled);
    const bool sameSkin = doubled.Lines() == unit.Lines();
    return unit.Finish() && doubled.Finish() && sameSkin;
}

bool WriteIcons(const QString& dir, const QString& name) {
    bool ok = true;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(dir).arg(size);
        ok = QDir().mkpath(folder) && ok;
        ok = pictures::Icon(size).save(folder + '/' + name + QStringLiteral(".png"), "PNG") && ok;
    }
    return ok;
}
