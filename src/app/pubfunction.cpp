#include "pubfunction.h"

#include <QDir>

#include "platform/filesystem.h"
#include "platform/settingsstore.h"
#include "platform/shell.h"

QString path_Config = ProgramFolder();
QString path_Skin = path_Config + QStringLiteral("Skin/");
QString path_Snapshot = path_Config + QStringLiteral("Snapshot/");
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
    if (!CreateFolder(path_Config) || !CreateFolder(path_Snapshot)) {
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
