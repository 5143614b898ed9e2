#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;
class QToolButton;
class TFolderListModel;

// The dialog that picks the clips to add: one folder's sub-folders and files (media filter
// first), several files at a time, a name or whole path typed into the name field, or several
// in the quoted form "a" "b". What is picked in the list is returned as the entries themselves,
// never read back from the field's text, so a name may hold any byte, "*", "?" and '"'
// included. Paths go in and out in TLocalPath's lossless form.
class TOpenFilesDialog : public QDialog {
    Q_OBJECT
  public:
    TOpenFilesDialog(QWidget* parent, const QString& folder);

    // The folder listed; its path without a trailing "/" (but "/" itself).
    QString Folder() const;
    // Lists folder; false, with the listing kept, when it cannot be read.
    bool GoToFolder(const QString& folder);
    // The files chosen by the last Open that closed the dialog.
    QStringList SelectedFiles() const { return selectedFiles_; }

    QLineEdit* NameField() const { return nameField_; }
    QListView* List() const { return list_; }
    QComboBox* TypeBox() const { return typeBox_; }
    // The files' patterns of a filter text such as "Video (*.avi *.mp4)".
    static QStringList PatternsOf(const QString& filter);
    // The names of a typed text: the quoted form's names, else the whole text as one name.
    static QStringList TypedNames(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildWidgets();
    void LayOut();
    void ConnectSignals();
    void Open();
    void OpenTyped(const QString& text);
    void FinishWith(const QStringList& files);
    void ShowSelectionInField();
    QStringList SelectedEntries(bool folders) const;
    void EnterCurrentFolderOrOpen();
    void Activate(const QModelIndex& index);
    void GoUp();
    void ApplyType(int index);
    QString Resolve(const QString& name) const;
    void ShowProblem(const QString& text);

    TFolderListModel* model_ = nullptr;
    QLineEdit* folderField_ = nullptr;
    QToolButton* upButton_ = nullptr;
    QListView* list_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QComboBox* typeBox_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* openButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QStringList selectedFiles_;
    // Set while the name field shows the list's selection rather than what the user typed.
    bool fieldShowsSelection_ = false;
};
