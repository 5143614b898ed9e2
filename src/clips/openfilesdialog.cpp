#include "clips/openfilesdialog.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "clips/folderlistmodel.h"
#include "platform/filesystem.h"
#include "platform/localpath.h"

namespace {

const QStringList kTypes = {
    QStringLiteral("Support Media File (*.mpg *.avi *.wmv *.asf *.divx *.xvid *.swf *.mov *.vob "
                   "*.mp4 *.3gp *.3g2)"),
    QStringLiteral("All File (*.*)")};

QString Quoted(const QStringList& names) {
    QStringList quoted;
    for (const QString& name : names) {
        quoted << u'"' + name + u'"';
    }
    return quoted.join(u' ');
}

// QDir::cleanPath only rewrites "/", "." and "..", so the kept bytes of a lossless path survive.
QString CleanFolder(const QString& folder) {
    return QDir::cleanPath(folder);
}

}  // namespace

TOpenFilesDialog::TOpenFilesDialog(QWidget* parent, const QString& folder) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Open"));
    setSizeGripEnabled(true);
    BuildWidgets();
    LayOut();
    ConnectSignals();
    ApplyType(0);
    if (!GoToFolder(folder)) {
        GoToFolder(QDir::homePath());
    }
    nameField_->setFocus();
    resize(620, 420);
}

void TOpenFilesDialog::BuildWidgets() {
    model_ = new TFolderListModel(this);
    folderField_ = new QLineEdit(this);
    folderField_->setReadOnly(true);
    folderField_->setAccessibleName(QStringLiteral("Folder"));
    upButton_ = new QToolButton(this);
    upButton_->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    upButton_->setAccessibleName(QStringLiteral("Parent folder"));
    upButton_->setToolTip(QStringLiteral("Parent folder (Alt+Up)"));
    upButton_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    list_ = new QListView(this);
    list_->setModel(model_);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setUniformItemSizes(true);
    list_->setAccessibleName(QStringLiteral("Files"));
    list_->installEventFilter(this);
    nameField_ = new QLineEdit(this);
    nameField_->setAccessibleName(QStringLiteral("File name"));
    typeBox_ = new QComboBox(this);
    typeBox_->addItems(kTypes);
    typeBox_->setAccessibleName(QStringLiteral("Files of type"));
    problem_ = new QLabel(this);
    problem_->setAccessibleName(QStringLiteral("Problem"));
    problem_->setWordWrap(true);
    problem_->hide();
    openButton_ = new QPushButton(QStringLiteral("&Open"), this);
    openButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
}

void TOpenFilesDialog::LayOut() {
    auto* grid = new QGridLayout(this);
    auto* lookIn = new QLabel(QStringLiteral("&Look in:"), this);
    lookIn->setBuddy(folderField_);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderField_, 1);
    folderRow->addWidget(upButton_);
    grid->addWidget(lookIn, 0, 0);
    grid->addLayout(folderRow, 0, 1, 1, 2);
    grid->addWidget(list_, 1, 0, 1, 3);
    auto* nameLabel = new QLabel(QStringLiteral("File &name:"), this);
    nameLabel->setBuddy(nameField_);
    grid->addWidget(nameLabel, 2, 0);
    grid->addWidget(nameField_, 2, 1);
    grid->addWidget(openButton_, 2, 2);
    auto* typeLabel = new QLabel(QStringLiteral("Files of &type:"), this);
    typeLabel->setBuddy(typeBox_);
    grid->addWidget(typeLabel, 3, 0);
    grid->addWidget(typeBox_, 3, 1);
    grid->addWidget(cancelButton_, 3, 2);
    grid->addWidget(problem_, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    setTabOrder(nameField_, typeBox_);
    setTabOrder(typeBox_, openButton_);
    setTabOrder(openButton_, cancelButton_);
    setTabOrder(cancelButton_, list_);
    setTabOrder(list_, upButton_);
    setTabOrder(upButton_, folderField_);
}

void TOpenFilesDialog::ConnectSignals() {
    connect(openButton_, &QPushButton::clicked, this, &TOpenFilesDialog::Open);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(upButton_, &QToolButton::clicked, this, &TOpenFilesDialog::GoUp);
    connect(typeBox_, &QComboBox::currentIndexChanged, this, &TOpenFilesDialog::ApplyType);
    connect(list_, &QListView::doubleClicked, this, &TOpenFilesDialog::Activate);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TOpenFilesDialog::ShowSelectionInField);
    connect(nameField_, &QLineEdit::textEdited, this, [this] { fieldShowsSelection_ = false; });
}

QString TOpenFilesDialog::Folder() const {
    return model_->Folder();
}

bool TOpenFilesDialog::GoToFolder(const QString& folder) {
    const QString clean = CleanFolder(folder);
    if (clean.isEmpty() || !model_->SetFolder(clean)) {
        ShowProblem(
            QStringLiteral("%1: the folder cannot be read.").arg(TLocalPath::Display(folder)));
        return false;
    }
    folderField_->setText(TLocalPath::Display(clean));
    if (fieldShowsSelection_) {
        nameField_->clear();
        fieldShowsSelection_ = false;
    }
    ShowProblem(QString());
    return true;
}

void TOpenFilesDialog::GoUp() {
    if (Folder() != QLatin1String("/")) {
        GoToFolder(TLocalPath::FolderOf(Folder()));
    }
}

void TOpenFilesDialog::ApplyType(int index) {
    model_->SetPatterns(PatternsOf(typeBox_->itemText(index)));
}

QStringList TOpenFilesDialog::PatternsOf(const QString& filter) {
    const qsizetype open = filter.lastIndexOf(u'(');
    const qsizetype close = filter.lastIndexOf(u')');
    const QString inner =
        open >= 0 && close > open ? filter.mid(open + 1, close - open - 1) : filter;
    return inner.split(u' ', Qt::SkipEmptyParts);
}

QStringList TOpenFilesDialog::TypedNames(const QString& text) {
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(u'"') || trimmed.count(u'"') % 2 != 0) {
        return trimmed.isEmpty() ? QStringList() : QStringList{trimmed};
    }
    QStringList names;
    // Every odd part lies between a pair of quotes; what lies between pairs is only spacing.
    const QStringList parts = trimmed.split(u'"');
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        if (!parts[i].isEmpty()) {
            names << parts[i];
        }
    }
    return names;
}

QStringList TOpenFilesDialog::SelectedEntries(bool folders) const {
    QModelIndexList rows = list_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList paths;
    for (const QModelIndex& row : rows) {
        if (model_->IsFolder(row) == folders) {
            paths << model_->PathAt(row);
        }
    }
    return paths;
}

void TOpenFilesDialog::ShowSelectionInField() {
    const QStringList files = SelectedEntries(false);
    if (files.isEmpty()) {
        return;  // a folder alone leaves what the user typed
    }
    QStringList names;
    for (const QString& file : files) {
        names << TLocalPath::Display(TLocalPath::FileName(file));
    }
    // Shown only: Open takes the selection itself, and typing into the field lets it go.
    nameField_->setText(names.size() == 1 ? names.first() : Quoted(names));
    fieldShowsSelection_ = true;
}

void TOpenFilesDialog::Open() {
    ShowProblem(QString());
    if (fieldShowsSelection_) {
        FinishWith(SelectedEntries(false));
        return;
    }
    const QString text = nameField_->text().trimmed();
    if (!text.isEmpty()) {
        OpenTyped(text);
        return;
    }
    const QStringList folders = SelectedEntries(true);
    if (folders.size() == 1) {
        GoToFolder(folders.first());
    }
}

void TOpenFilesDialog::OpenTyped(const QString& text) {
    const QStringList names = TypedNames(text);
    if (names.size() == 1) {
        const QString path = Resolve(names.first());
        if (FolderExists(path)) {
            nameField_->clear();
            GoToFolder(path);
            return;
        }
        // Not a file of that name: a pattern such as "*.mkv" filters the listing instead.
        if (!FileExists(path) &&
            names.first().contains(QRegularExpression(QStringLiteral("[*?]")))) {
            model_->SetPatterns({names.first()});
            return;
        }
    }
    QStringList paths;
    for (const QString& name : names) {
        const QString path = Resolve(name);
        if (!FileExists(path) || FolderExists(path)) {
            ShowProblem(QStringLiteral("%1: there is no such file.").arg(name));
            return;
        }
        paths << path;
    }
    FinishWith(paths);
}

void TOpenFilesDialog::FinishWith(const QStringList& files) {
    if (files.isEmpty()) {
        return;
    }
    selectedFiles_ = files;
    accept();
}

QString TOpenFilesDialog::Resolve(const QString& name) const {
    if (name == QLatin1String("~") || name.startsWith(QLatin1String("~/"))) {
        return QDir::homePath() + name.mid(1);
    }
    if (name.startsWith(u'/')) {
        return name;
    }
    const QString folder = Folder();
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

void TOpenFilesDialog::Activate(const QModelIndex& index) {
    if (model_->IsFolder(index)) {
        GoToFolder(model_->PathAt(index));
        return;
    }
    FinishWith({model_->PathAt(index)});
}

void TOpenFilesDialog::EnterCurrentFolderOrOpen() {
    const QModelIndex current = list_->currentIndex();
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.size() == 1 && model_->IsFolder(rows.first())) {
        GoToFolder(model_->PathAt(rows.first()));
    } else if (rows.isEmpty() && current.isValid()) {
        Activate(current);
    } else {
        Open();
    }
}

bool TOpenFilesDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EnterCurrentFolderOrOpen();
            return true;
        }
        if (key == Qt::Key_Backspace) {
            GoUp();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TOpenFilesDialog::ShowProblem(const QString& text) {
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
}
