// dero-skingen SKINDIR [--icons ICONDIR] [--pictures PICTUREDIR]
// Draws the default skin into SKINDIR; with --icons also the program's hicolor icons, with
// --pictures a PNG of each window as a user first sees it.
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

#include "defaultskin.h"
#include "formfonts.h"

namespace {

QString Option(const QStringList& args, const QString& name) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
}

bool WritePictures(const QString& dir, const QMap<QString, QImage>& pictures) {
    bool ok = true;
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        ok = it.value().save(dir + '/' + it.key() + QStringLiteral(".png")) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing needs fonts but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.at(1).startsWith('-')) {
        std::fprintf(stderr, "usage: dero-skingen SKINDIR [--icons ICONDIR] [--pictures DIR]\n");
        return 2;
    }
    InstallFormFonts();
    QMap<QString, QImage> pictures;
    if (!WriteDefaultSkin(args.at(1), &pictures)) {
        std::fprintf(stderr, "dero-skingen: cannot write the skin into %s\n", argv[1]);
        return 1;
    }
    const QString icons = Option(args, QStringLiteral("--icons"));
    if (!icons.isEmpty() && !WriteIcons(icons, QStringLiteral("dero-video-converter"))) {
        std::fprintf(stderr, "dero-skingen: cannot write the icons\n");
        return 1;
    }
    const QString shots = Option(args, QStringLiteral("--pictures"));
    if (!shots.isEmpty() && !WritePictures(shots, pictures)) {
        std::fprintf(stderr, "dero-skingen: cannot write the window pictures\n");
        return 1;
    }
    return 0;
}
