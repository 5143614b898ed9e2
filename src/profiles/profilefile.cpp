#include "profiles/profilefile.h"

#include "platform/inifile.h"

const QString TProfileFile::NoData = QStringLiteral("NoData");

namespace {
const QString kProfile = QStringLiteral("Profile");
}

TProfileFile::TProfileFile(QString path) : path_(std::move(path)) {}

QStringList TProfileFile::ReadList(const QString& section, const QString& name) const {
    const TIniFile ini(path_);
    const int count = ini.ReadInteger(section, name + QStringLiteral("Count"), 0);
    QStringList values;
    for (int n = 0; n < count; ++n) {
        QString value = ini.ReadString(section, name + QString::number(n), NoData);
        if (value != NoData) {
            values.append(std::move(value));
        }
    }
    return values;
}

int TProfileFile::ReadListIndex(const QString& section, const QString& name) const {
    return TIniFile(path_).ReadInteger(section, name + QStringLiteral("Index"), 0);
}

int TProfileFile::ProfileCount(const QString& section) const {
    return TIniFile(path_).ReadInteger(section, QStringLiteral("ProfileCount"), 0);
}

QStringList TProfileFile::Profiles(const QString& section) const {
    return ReadList(section, kProfile);
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

void TProfileFile::WriteProfile(const QString& section, int number, const QString& line) {
    TIniFile ini(path_);
    const int count = ini.ReadInteger(section, QStringLiteral("ProfileCount"), 0);
    ini.WriteString(section, kProfile + QString::number(number), line);
    if (number == count) {
        ini.WriteInteger(section, QStringLiteral("ProfileCount"), count + 1);
    }
}

void TProfileFile::AppendProfile(const QString& section, const QString& line) {
    WriteProfile(section, ProfileCount(section), line);
}
