#include "formfonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace {

const char* const kTahomaFiles[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
};

}  // namespace

void InstallFormFonts() {
    bool tahoma = QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
    for (const char* file : kTahomaFiles) {
        if (!tahoma && QFile::exists(QString::fromLatin1(file))) {
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        }
    }
    tahoma = QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
    const QString fallback = QStringLiteral("DejaVu Sans");
    if (!tahoma) {
        QFont::insertSubstitution(QStringLiteral("Tahoma"), fallback);
    }
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {tahoma ? QStringLiteral("Tahoma") : fallback, fallback});
}
