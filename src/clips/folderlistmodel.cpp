#include "clips/folderlistmodel.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFileIconProvider>
#include <algorithm>
#include <memory>
#include <string_view>

#include "platform/localpath.h"

namespace {

// "*" and "?" matching, case folded. On a mismatch only the last star takes one more letter:
// linear in practice, never exponential, and exact for such patterns.
bool WildcardMatch(const QString& pattern, const QString& name) {
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype star = -1;
    qsizetype resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == u'?' || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace

TFolderListModel::TFolderListModel(QObject* parent) : QAbstractListModel(parent) {}

bool TFolderListModel::Matches(const QString& pattern, const QString& name) {
    if (pattern == QLatin1String("*") || pattern == QLatin1String("*.*")) {
        return true;
    }
    return WildcardMatch(pattern, name);
}

QList<TFolderListModel::TEntry> TFolderListModel::ReadFolder(const QString& folder,
                                                             bool& readable) {
    QList<TEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(TLocalPath::Encode(folder).constData()),
                                                  &::closedir);
    readable = dir != nullptr;
    if (!dir) {
        return entries;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.') {
            continue;  // ".", ".." and hidden entries
        }
        struct stat status {};
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &status, 0) != 0) {
            continue;  // a link to nowhere, or gone since it was read
        }
        if (S_ISDIR(status.st_mode) || S_ISREG(status.st_mode)) {
            entries.append({TLocalPath::Decode(entry->d_name), S_ISDIR(status.st_mode)});
        }
    }
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
        if (a.isFolder != b.isFolder) {
            return a.isFolder;
        }
        const int order = QString::compare(a.name, b.name, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return entries;
}

bool TFolderListModel::SetFolder(const QString& folder) {
    bool readable = false;
    QList<TEntry> entries = ReadFolder(folder, readable);
    if (!readable) {
        return false;
    }
    folder_ = folder;
    read_ = std::move(entries);
    Refilter();
    return true;
}

void TFolderListModel::SetPatterns(const QStringList& patterns) {
    patterns_ = patterns;
    Refilter();
}

bool TFolderListModel::Shown(const TEntry& entry) const {
    return entry.isFolder || patterns_.isEmpty() ||
           std::any_of(patterns_.begin(), patterns_.end(),
                       [&entry](const QString& pattern) { return Matches(pattern, entry.name); });
}

void TFolderListModel::Refilter() {
    beginResetModel();
    shown_.clear();
    std::copy_if(read_.begin(), read_.end(), std::back_inserter(shown_),
                 [this](const TEntry& entry) { return Shown(entry); });
    endResetModel();
}

const TFolderListModel::TEntry* TFolderListModel::EntryAt(const QModelIndex& index) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= shown_.size()) {
        return nullptr;
    }
    return &shown_[index.row()];
}

QString TFolderListModel::PathAt(const QModelIndex& index) const {
    const TEntry* entry = EntryAt(index);
    if (!entry) {
        return {};
    }
    return folder_.endsWith(u'/') ? folder_ + entry->name : folder_ + u'/' + entry->name;
}

bool TFolderListModel::IsFolder(const QModelIndex& index) const {
    const TEntry* entry = EntryAt(index);
    return entry && entry->isFolder;
}

QModelIndex TFolderListModel::IndexOf(const QString& name) const {
    for (int row = 0; row < shown_.size(); ++row) {
        if (shown_[row].name == name) {
            return index(row);
        }
    }
    return {};
}

int TFolderListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant TFolderListModel::data(const QModelIndex& index, int role) const {
    const TEntry* entry = EntryAt(index);
    if (!entry) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return TLocalPath::Display(entry->name);
        case Qt::DecorationRole:
            return icons_.icon(entry->isFolder ? QFileIconProvider::Folder
                                               : QFileIconProvider::File);
        case PathRole:
            return PathAt(index);
        case IsFolderRole:
            return entry->isFolder;
        default:
            return {};
    }
}
