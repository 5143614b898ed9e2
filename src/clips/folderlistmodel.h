#pragma once

#include <QAbstractListModel>
#include <QFileIconProvider>
#include <QList>
#include <QString>
#include <QStringList>

// One folder's entries for the open dialog, read with the system's own directory calls so that
// every name is listed, whatever its bytes: its sub-folders first, then its regular files that
// match the name patterns. Links count as what they point to; hidden entries, links to nowhere
// and special files (pipes, sockets, devices) are left out, since none of them can be a clip.
class TFolderListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    enum TRole { PathRole = Qt::UserRole + 1, IsFolderRole };

    explicit TFolderListModel(QObject* parent = nullptr);

    // Reads folder (a lossless path, see TLocalPath); false, and the listing kept as it was,
    // when it cannot be read.
    bool SetFolder(const QString& folder);
    QString Folder() const { return folder_; }
    // Patterns with "*" and "?", matched without regard to case; "*" or "*.*" lists every
    // file. Folders are listed whatever the patterns.
    void SetPatterns(const QStringList& patterns);
    static bool Matches(const QString& pattern, const QString& name);

    QString PathAt(const QModelIndex& index) const;
    bool IsFolder(const QModelIndex& index) const;
    // The row of the entry named name (as read from the folder), invalid when none.
    QModelIndex IndexOf(const QString& name) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    struct TEntry {
        QString name;
        bool isFolder = false;
    };

    static QList<TEntry> ReadFolder(const QString& folder, bool& readable);
    bool Shown(const TEntry& entry) const;
    void Refilter();
    const TEntry* EntryAt(const QModelIndex& index) const;

    QString folder_;
    QList<TEntry> read_;
    QList<TEntry> shown_;
    QStringList patterns_;
    QFileIconProvider icons_;
};
