#include "pubfunction.h"

#include <QDir>
#include <QFile>

#include "platform/filesystem.h"
#include "platform/settingsstore.h"
#include "platform/shell.h"

QString path_Config = ProgramFolder();
QString path_Skin = path_Config + QStringLiteral("Skin/");
QString path_Snapshot = DefaultSnapshotFolder(path_Config);
QString path_Work = DefaultWorkFolder();
bool b_KeepRatio = false;
QString g_s_Version;
ConvertSettings MyConvertDef;

namespace {

QString WithSeparator(QString folder) {
    if (!folder.endsWith('/')) {
        folder += '/';
    }
    return folder;
}

}  // namespace

namespace {

constexpr char kInstalledMarker[] = "dero-installed";
constexpr char kProfileFileName[] = "Output.dll";

// A base folder of the desktop's conventions; a relative value is ignored, as other programs do.
QString UserBaseFolder(const char* variable, const char* fallbackUnderHome) {
    const QString base = qEnvironmentVariable(variable);
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        return QDir::homePath() + '/' + QLatin1String(fallbackUnderHome);
    }
    return base;
}

}  // namespace

bool ProgramFolderIsInstalled(const QString& programFolder) {
    return FileExists(programFolder + QLatin1String(kInstalledMarker));
}

QString DefaultSnapshotFolder(const QString& programFolder) {
    if (ProgramFolderIsInstalled(programFolder)) {
        return UserBaseFolder("XDG_CACHE_HOME", ".cache") + QStringLiteral("/Derobox/Snapshot/");
    }
    return programFolder + QStringLiteral("Snapshot/");
}

QString ProfileFilePath() {
    const QString stock = path_Config + QLatin1String(kProfileFileName);
    if (!ProgramFolderIsInstalled(path_Config)) {
        return stock;
    }
    const QString folder = UserBaseFolder("XDG_DATA_HOME", ".local/share") + "/Derobox/";
    const QString own = folder + QLatin1String(kProfileFileName);
    if (FileExists(own)) {
        return own;
    }
    // Copied under a temporary name first, so a copy cut short is never taken for the file.
    const QString partial = own + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QDir().mkpath(folder) || !QFile::copy(stock, partial)) {
        return QString();
    }
    // The stock file may be read-only; the user's copy is theirs to change.
    QFile::setPermissions(partial, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (!QFile::rename(partial, own)) {
        QFile::remove(partial);
        return FileExists(own) ? own : QString();
    }
    return own;
}

QString DefaultWorkFolder() {
    return QDir::homePath() + QStringLiteral("/DeroOutput/");
}

QString TwoDigitText(int32_t number) {
    if (number >= 10) {
        return QString::number(number);
    }
    return '0' + QString::number(number);
}

QString TimeToText(int32_t seconds) {
    if (seconds > 86400) {
        return QStringLiteral("00:00:00");
    }
    seconds = seconds < 0 ? 0 : seconds;
    return TwoDigitText(seconds / 3600) + ':' + TwoDigitText(seconds % 3600 / 60) + ':' +
           TwoDigitText(seconds % 60);
}

bool CreateWorkFolders() {
    if (!CreateFolder(path_Config)) {
        return false;
    }
    // The user's cache folder may not exist yet; the program folder's own scratch folder is made
    // one level deep like the others.
    if (!CreateFolder(path_Snapshot) &&
        !(ProgramFolderIsInstalled(path_Config) && QDir().mkpath(path_Snapshot))) {
        return false;
    }
    if (CreateFolder(path_Work)) {
        return true;
    }
    path_Work = DefaultWorkFolder();
    return CreateFolder(path_Work);
}

void ClearFolder(const QString& folder, bool descend) {
    const QString base = WithSeparator(folder);
    for (const TFolderEntry& entry : ListFolder(base)) {
        if (!entry.isFolder) {
            DeleteFile(base + entry.name);
        } else if (descend) {
            ClearFolder(base + entry.name, true);
        }
    }
}

int32_t FileSizeKiB(const QString& fileName) {
    const int64_t bytes = FileSize(fileName);
    return bytes < 0 ? 0 : static_cast<int32_t>(bytes / 1024);
}

void OpenHomePage() {
    ShellOpen(QString::fromLatin1(kHomePage));
}

void LoadSettings() {
    TSettingsStore store;
    if (!store.OpenKey(kSettingsKey, true)) {
        return;
    }
    if (store.ValueExists(kOutputFolderValue)) {
        // An empty value names no folder; files must never land beside the working directory.
        const QString folder = store.ReadString(kOutputFolderValue);
        if (!folder.isEmpty()) {
            path_Work = WithSeparator(folder);
        }
    }
    if (store.ValueExists(kKeepRatioValue)) {
        b_KeepRatio = store.ReadBool(kKeepRatioValue);
    }
}

void SaveSettings() {
    TSettingsStore store;
    if (!store.OpenKey(kSettingsKey, true)) {
        return;
    }
    store.WriteString(kOutputFolderValue, path_Work);
    store.WriteBool(kKeepRatioValue, b_KeepRatio);
}
