#include "settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <stdexcept>

#include "inifile.h"

namespace {

QString SectionOfKey(const QString& key) {
    QString section = key;
    while (section.startsWith('\\')) {
        section.remove(0, 1);
    }
    return section;
}

}  // namespace

TSettingsStore::TSettingsStore() : TSettingsStore(DefaultFilePath()) {}

TSettingsStore::TSettingsStore(QString filePath) : filePath_(std::move(filePath)) {}

QString TSettingsStore::DefaultFilePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // XDG_CONFIG_HOME must be absolute; a relative value is ignored, as other desktop programs do.
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/Derobox/Derobox.ini");
}

bool TSettingsStore::OpenKey(const QString& key, bool canCreate) {
    section_.clear();
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (canCreate) {
        if (!QDir().mkpath(folder)) {
            return false;
        }
    } else if (!TIniFile(filePath_).SectionExists(SectionOfKey(key))) {
        return false;
    }
    section_ = SectionOfKey(key);
    return true;
}

bool TSettingsStore::ValueExists(const QString& name) const {
    return !section_.isEmpty() && TIniFile(filePath_).ValueExists(section_, name);
}

QString TSettingsStore::ReadString(const QString& name) const {
    return TIniFile(filePath_).ReadString(section_, name, QString());
}

bool TSettingsStore::ReadBool(const QString& name) const {
    return TIniFile(filePath_).ReadInteger(section_, name, 0) != 0;
}

void TSettingsStore::WriteString(const QString& name, const QString& value) {
    if (section_.isEmpty()) {
        throw std::logic_error("settings key not open");
    }
    TIniFile(filePath_).WriteString(section_, name, value);
}

void TSettingsStore::WriteBool(const QString& name, bool value) {
    WriteString(name, value ? QStringLiteral("1") : QStringLiteral("0"));
}
