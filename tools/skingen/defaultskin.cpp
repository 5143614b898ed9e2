#include "defaultskin.h"

#include <QDir>

#include "pictures.h"
#include "skinwriter.h"
#include "windowskins.h"

bool WriteDefaultSkin(const QString& dir) {
    return WriteDefaultSkin(dir, nullptr);
}

bool WriteDefaultSkin(const QString& dir, QMap<QString, QImage>* windowPictures) {
    TSkinWriter writer(dir);
    writer.SaveJpeg(QStringLiteral("startup.jpg"), pictures::Splash(QStringLiteral("2.1.5")));
    QMap<QString, QImage> shown;
    shown[QStringLiteral("SelectWindow")] = WriteSelectWindowSkin(writer);
    shown[QStringLiteral("MainWindow")] = WriteMainWindowSkin(writer);
    shown[QStringLiteral("ProgressWindow")] = WriteProgressWindowSkin(writer);
    shown[QStringLiteral("ProfileWindow")] = WriteProfileWindowSkin(writer);
    shown[QStringLiteral("AboutWindow")] = WriteAboutWindowSkin(writer);
    if (windowPictures) {
        *windowPictures = shown;
    }
    return writer.Finish();
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
