#include "profiles/profilefile.h"

#include <algorithm>

#include "platform/inifile.h"

const QString TProfileFile::NoData = QStringLiteral("NoData");
const QString TProfileFile::FileName = QStringLiteral("Output.dll");

namespace {
const QString kProfile = QStringLiteral("Profile");
const QString kProfileCount = QStringLiteral("ProfileCount");

int BoundedCount(int count) {
    return std::clamp(count, 0, TProfileFile::MaxListEntries);
}
}  // namespace

TProfileFile::TProfileFile(QString path) : path_(std::move(path)) {}

std::vector<TNumberedValue> TProfileFile::ReadNumberedList(const QString& section,
                                                           const QString& name) const {
    const TIniFile ini(path_);
    const int count = BoundedCount(ini.ReadInteger(section, name + QStringLiteral("Count"), 0));
    std::vector<TNumberedValue> values;
    if (count == 0) {
        return values;
    }
    const QHash<QString, QString> keys = ini.ReadSectionValues(section);
    const QString foldedName = name.toCaseFolded();
    for (int n = 0; n < count; ++n) {
        const auto found = keys.constFind(foldedName + QString::number(n));
        if (found != keys.cend() && *found != NoData) {
            values.push_back({n, *found});
        }
    }
    return values;
}

QStringList TProfileFile::ReadList(const QString& section, const QString& name) const {
    QStringList values;
    for (TNumberedValue& value : ReadNumberedList(section, name)) {
        values.append(std::move(value.Value));
    }
    return values;
}

int TProfileFile::ReadListIndex(const QString& section, const QString& name) const {
    return TIniFile(path_).ReadInteger(section, name + QStringLiteral("Index"), 0);
}

int TProfileFile::ProfileCount(const QString& section) const {
    return BoundedCount(TIniFile(path_).ReadInteger(section, kProfileCount, 0));
}

std::vector<TNumberedValue> TProfileFile::Profiles(const QString& section) const {
    return ReadNumberedList(section, kProfile);
}

QString TProfileFile::Profile(const QString& section, int number) const {
    return TIniFile(path_).ReadString(section, kProfile + QString::number(number), NoData);
}

int TProfileFile::DefaultIndex(const QString& section) const {
    return TIniFile(path_).ReadInteger(section, QStringLiteral("DefaultIndex"), 0);
}

QString TProfileFile::DefaultName(const QString& section) const {
    return TIniFile(path_).ReadString(section, QStringLiteral("DefaultName"),
                                      QStringLiteral("DefaultName"));
}

QString TProfileFile::DefaultBitRate(const QString& section) const {
    return TIniFile(path_).ReadString(section, QStringLiteral("DefaultBitRate"),
                                      QStringLiteral("200"));
}

bool TProfileFile::ReadableNumber(int number) {
    return number >= 0 && number < MaxListEntries;
}

bool TProfileFile::WriteProfile(const QString& section, int number, const QString& line) {
    if (!ReadableNumber(number)) {
        return false;
    }
    const int count = ProfileCount(section);
    TIniFile ini(path_);
    ini.WriteString(section, kProfile + QString::number(number), line);
    if (number == count) {
        ini.WriteInteger(section, kProfileCount, count + 1);
    }
    return true;
}

bool TProfileFile::AppendProfile(const QString& section, const QString& line) {
    return WriteProfile(section, ProfileCount(section), line);
}
