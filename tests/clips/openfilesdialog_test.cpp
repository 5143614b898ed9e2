#include "clips/openfilesdialog.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <algorithm>

#include "clips/folderlistmodel.h"
#include "platform/localpath.h"
#include "support/awkwardnames.h"
#include "support/tempdir.h"

namespace {

class OpenFilesDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = QFile::encodeName(dir_.Path());
        for (const QByteArray& name : TAwkwardNames::Names()) {
            Touch(name);
        }
        Touch("notes.txt");
        ASSERT_EQ(::mkdir(folder_ + "sub", 0700), 0);
        Touch("sub/inner.avi");
        ASSERT_EQ(::mkfifo(folder_ + "pipe.avi", 0600), 0);
        ASSERT_EQ(::symlink((folder_ + "gone").constData(), folder_ + "dangling.avi"), 0);
        ASSERT_EQ(::symlink((folder_ + "a*b.avi").constData(), folder_ + "link.avi"), 0);
    }

    void Touch(const QByteArray& name) {
        const int fd = ::open(folder_ + name, O_WRONLY | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0) << name.constData();
        ::close(fd);
    }

    QString Path(const QByteArray& name) const { return TLocalPath::Decode(folder_ + name); }

    static QList<QByteArray> Sorted(const QStringList& paths) {
        QList<QByteArray> bytes;
        for (const QString& path : paths) {
            bytes << TLocalPath::Encode(path);
        }
        std::sort(bytes.begin(), bytes.end());
        return bytes;
    }

    QStringList Shown(const TOpenFilesDialog& dialog) const {
        QStringList names;
        const QAbstractItemModel* model = dialog.List()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            names << model->index(row, 0).data().toString();
        }
        return names;
    }

    TempDir dir_;
    QByteArray folder_;
};

TEST_F(OpenFilesDialogTest, ListsEveryFileWhateverItsNameAndReturnsTheSelectionItself) {
    TOpenFilesDialog dialog(nullptr, dir_.Path());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // Folders first; special files, links to nowhere and what the media filter leaves out are
    // not offered; the Latin-1 name reads with replacement marks.
    EXPECT_EQ(Shown(dialog),
              QStringList({"sub", "a*b.avi", "c?d.avi", QString::fromUtf8("caf\uFFFD\uFFFD.avi"),
                           "e\"f.avi", "link.avi", QString::fromUtf8("sommer été 2.avi")}));

    dialog.List()->selectAll();
    // The field shows the selection in its quoted form, which its names cannot survive.
    EXPECT_TRUE(dialog.NameField()->text().startsWith(QStringLiteral("\"a*b.avi\" \"c?d.avi\"")));
    QTest::keyClick(dialog.NameField(), Qt::Key_Return);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    QList<QByteArray> expected;
    for (const QByteArray& name : TAwkwardNames::Names() + QList<QByteArray>{"link.avi"}) {
        expected << folder_ + name;
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Sorted(dialog.SelectedFiles()), expected);
}

TEST_F(OpenFilesDialogTest, TypedNamesPathsAndFolders) {
    TOpenFilesDialog dialog(nullptr, dir_.Path() + "sub");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.focusWidget(), dialog.NameField());

    // A folder typed goes there; a missing name says so and keeps the dialog open.
    QTest::keyClicks(dialog.NameField(), QStringLiteral(".."));
    QTest::keyClick(dialog.NameField(), Qt::Key_Return);
    EXPECT_EQ(TLocalPath::Encode(dialog.Folder()) + '/', folder_);
    QTest::keyClicks(dialog.NameField(), QStringLiteral("missing.avi"));
    QTest::keyClick(dialog.NameField(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());

    // A selection the user then types over gives way to the typed text: whole paths in the
    // quoted form, kept in their order; a name of its own may hold a quote.
    dialog.List()->selectAll();
    dialog.NameField()->selectAll();
    QTest::keyClicks(dialog.NameField(),
                     QStringLiteral("\"%1\" \"c?d.avi\"").arg(Path("sub/inner.avi")));
    QTest::keyClick(dialog.NameField(), Qt::Key_Return);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedFiles(), QStringList({Path("sub/inner.avi"), Path("c?d.avi")}));

    EXPECT_EQ(TOpenFilesDialog::TypedNames(QStringLiteral("e\"f.avi")), QStringList{"e\"f.avi"});
    EXPECT_EQ(TOpenFilesDialog::TypedNames(QStringLiteral("  \"a b\"  \"c\" ")),
              QStringList({"a b", "c"}));
}

TEST_F(OpenFilesDialogTest, KeyboardInTheListAndTheTypeBox) {
    TOpenFilesDialog dialog(nullptr, dir_.Path());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QListView* list = dialog.List();
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));  // "sub"
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Shown(dialog), QStringList{"inner.avi"});
    QTest::keyClick(list, Qt::Key_Backspace);
    EXPECT_EQ(Shown(dialog).size(), 7);

    dialog.TypeBox()->setCurrentIndex(1);
    EXPECT_TRUE(Shown(dialog).contains("notes.txt"));
    // A pattern typed filters the listing instead of naming a file.
    dialog.NameField()->setFocus();
    QTest::keyClicks(dialog.NameField(), QStringLiteral("*.TXT"));
    QTest::keyClick(dialog.NameField(), Qt::Key_Return);
    EXPECT_EQ(Shown(dialog), QStringList({"sub", "notes.txt"}));

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(FolderListModel, PatternsMatchWithoutRegardToCase) {
    EXPECT_TRUE(TFolderListModel::Matches("*.avi", "CLIP.AVI"));
    EXPECT_TRUE(TFolderListModel::Matches("*.*", "no-dot"));
    EXPECT_TRUE(TFolderListModel::Matches("c?d*", "c?d.avi"));
    EXPECT_TRUE(TFolderListModel::Matches("*a*a*b", "aaaab"));
    EXPECT_FALSE(TFolderListModel::Matches("*.avi", "clip.avi.part"));
    EXPECT_FALSE(TFolderListModel::Matches("?.avi", ".avi"));
}

}  // namespace
