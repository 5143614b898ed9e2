#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <future>

#include "app/pubfunction.h"
#include "clipfixtures.h"
#include "clips/addfilescommand.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "clips/openfilesdialog.h"
#include "dero_window.h"
#include "fakeprobelibrary.h"
#include "messagerecorder.h"
#include "support/tempdir.h"

using namespace clipfixtures;

namespace {

class AddFilesCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedSnapshotFolder_ = path_Snapshot;
        path_Snapshot = dir_.Path();
        panel_ = new TListPanel(&window_);
        ASSERT_TRUE(SkinPanel(*panel_, 300, false));
        library_.Snapshot = PaddedJpeg(1500);
        command_ = std::make_unique<TAddFilesCommand>(&window_, panel_, library_.Entries());
        command_->SetOpenDialog([this](QWidget*) {
            ++dialogsShown_;
            return chosen_;
        });
        QObject::connect(command_.get(), &TAddFilesCommand::AddingFinished,
                         [this] { ++finished_; });
    }

    void TearDown() override {
        OpenGate();
        command_.reset();
        path_Snapshot = savedSnapshotFolder_;
    }

    // Makes every probe wait until OpenGate().
    void CloseGate() {
        library_.BeforeInfo = [future = gate_.get_future().share()] { future.wait(); };
    }
    void OpenGate() {
        if (!gateOpen_) {
            gateOpen_ = true;
            gate_.set_value();
        }
    }

    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < panel_->Count(); ++i) {
            names << panel_->GetItem(i)->Clip().SourceFile;
        }
        return names;
    }
    bool SnapshotLeft() const { return !QDir(dir_.Path()).isEmpty(); }

    TempDir dir_;
    QString savedSnapshotFolder_;
    TMessageRecorder window_;
    TListPanel* panel_ = nullptr;
    TFakeProbeLibrary library_;
    std::unique_ptr<TAddFilesCommand> command_;
    QStringList chosen_;
    int dialogsShown_ = 0;
    int finished_ = 0;
    std::promise<void> gate_;
    bool gateOpen_ = false;
};

TEST_F(AddFilesCommandTest, OneFileIsProbedOnTheWorkerTooAndTheCommandReturnsAtOnce) {
    chosen_ = {"/m/one.avi"};
    CloseGate();
    command_->Execute();
    EXPECT_TRUE(command_->AddingFiles());
    EXPECT_EQ(panel_->Count(), 0);
    command_->Execute();  // refused while the probe runs
    EXPECT_EQ(dialogsShown_, 1);

    OpenGate();
    ASSERT_TRUE(WaitUntil([this] { return finished_ == 1; }));
    EXPECT_FALSE(command_->AddingFiles());
    ASSERT_EQ(Names(), chosen_);
    ASSERT_EQ(library_.InfoThreads().size(), 1u);
    EXPECT_NE(library_.InfoThreads()[0], std::this_thread::get_id());
    Image_Item* item = panel_->GetItem(0);
    EXPECT_TRUE(item->Selected());
    EXPECT_EQ(window_.LastWParam(WM_CLIP_SELECTED), reinterpret_cast<intptr_t>(item));
    EXPECT_EQ(item->Clip().StopTime, 42);
    EXPECT_FALSE(SnapshotLeft());
}

TEST_F(AddFilesCommandTest, FilesAddedWithoutTheDialogTakeTheSamePath) {
    CloseGate();
    EXPECT_TRUE(command_->AddFiles({"/m/a.avi"}));
    EXPECT_FALSE(command_->AddFiles({"/m/b.avi"}));  // one add at a time
    OpenGate();
    ASSERT_TRUE(WaitUntil([this] { return finished_ == 1; }));
    EXPECT_EQ(Names(), QStringList{"/m/a.avi"});
    EXPECT_FALSE(command_->AddFiles({}));
    EXPECT_EQ(finished_, 1);
    EXPECT_EQ(dialogsShown_, 0);
}

TEST_F(AddFilesCommandTest, SeveralFilesAreProbedOnOneWorkerInTheDialogsOrder) {
    chosen_ = {"/m/c.avi", "/m/a.avi", "/m/b.avi"};
    CloseGate();
    command_->Execute();
    EXPECT_TRUE(command_->AddingFiles());
    EXPECT_EQ(panel_->Count(), 0);

    command_->Execute();  // refused while the worker runs
    EXPECT_EQ(dialogsShown_, 1);

    OpenGate();
    ASSERT_TRUE(WaitUntil([this] { return !command_->AddingFiles(); }));
    EXPECT_EQ(Names(), chosen_);
    EXPECT_EQ(finished_, 1);
    for (const std::thread::id id : library_.InfoThreads()) {
        EXPECT_NE(id, std::this_thread::get_id());
    }
    EXPECT_TRUE(panel_->GetItem(0)->Selected());
    EXPECT_FALSE(panel_->GetItem(1)->Selected());
    EXPECT_FALSE(SnapshotLeft());

    command_->Execute();  // a new add is accepted once the last one has finished
    EXPECT_EQ(dialogsShown_, 2);
    ASSERT_TRUE(WaitUntil([this] { return !command_->AddingFiles(); }));
    EXPECT_EQ(panel_->Count(), 6);
}

TEST_F(AddFilesCommandTest, AnExceptionOnTheWorkerEndsOnlyThatProbe) {
    chosen_ = {"/m/a.avi", "/m/b.avi", "/m/c.avi"};
    library_.Throwing << "/m/b.avi";
    command_->Execute();
    ASSERT_TRUE(WaitUntil([this] { return !command_->AddingFiles(); }));
    EXPECT_EQ(Names(), QStringList({"/m/a.avi", "/m/c.avi"}));
    EXPECT_FALSE(SnapshotLeft());
}

TEST_F(AddFilesCommandTest, TheSameFileTwiceGivesTwoIndependentClips) {
    chosen_ = {"/m/a.avi", "/m/a.avi"};
    command_->Execute();
    ASSERT_TRUE(WaitUntil([this] { return !command_->AddingFiles(); }));
    ASSERT_EQ(panel_->Count(), 2);
    ASSERT_TRUE(panel_->SetTrim(panel_->GetItem(1), 10, 42));
    EXPECT_EQ(panel_->GetItem(0)->Clip().StartTime, 0);
    EXPECT_EQ(panel_->GetItem(1)->Clip().StartTime, 10);
}

}  // namespace

namespace {

// Acts on the open dialog once it is the modal window, from inside its own event loop.
void OnceTheDialogShows(const std::function<void(TOpenFilesDialog&)>& act) {
    QTimer::singleShot(20, [act] {
        if (auto* dialog = qobject_cast<TOpenFilesDialog*>(QApplication::activeModalWidget())) {
            act(*dialog);
        } else {
            OnceTheDialogShows(act);
        }
    });
}

}  // namespace

TEST(AddFilesDialog, OpensInTheVideoFolderAndEachTimeWithAnEmptyNameField) {
    TempDir home;
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", home.Path().toLocal8Bit());
    EXPECT_EQ(QDir(TAddFilesCommand::DefaultFolder()), QDir(home.Path()));  // no Videos folder
    ASSERT_TRUE(QDir(home.Path()).mkpath("Videos"));
    ASSERT_TRUE(QDir(home.Path()).mkpath("clips"));
    const QString clip = home.Write("clips/one.avi", "x");

    TempDir snapshots;
    const QString savedSnapshotFolder = path_Snapshot;
    path_Snapshot = snapshots.Path();
    TMessageRecorder window;
    auto* panel = new TListPanel(&window);
    ASSERT_TRUE(SkinPanel(*panel, 300, false));
    TFakeProbeLibrary library;
    library.Snapshot = PaddedJpeg(1500);
    TAddFilesCommand command(&window, panel, library.Entries());
    int finished = 0;
    QObject::connect(&command, &TAddFilesCommand::AddingFinished, [&finished] { ++finished; });

    QString firstFolder;
    OnceTheDialogShows([&](TOpenFilesDialog& dialog) {
        firstFolder = dialog.Folder();
        QTest::keyClicks(dialog.NameField(), clip);
        QTest::keyClick(dialog.NameField(), Qt::Key_Return);
    });
    command.Execute();
    ASSERT_TRUE(WaitUntil([&finished] { return finished == 1; }));
    EXPECT_EQ(QDir(firstFolder), QDir(home.Path() + "Videos"));

    // Reopened, Open as it comes adds nothing again: the field is empty, in the last folder.
    QString secondName = "<not shown>";
    QString secondFolder;
    OnceTheDialogShows([&](TOpenFilesDialog& dialog) {
        secondName = dialog.NameField()->text();
        secondFolder = dialog.Folder();
        QTest::keyClick(dialog.NameField(), Qt::Key_Return);
        if (dialog.isVisible()) {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        }
    });
    command.Execute();
    EXPECT_EQ(secondName, QString());
    EXPECT_EQ(QDir(secondFolder), QDir(home.Path() + "clips"));
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->Count(), 1);
    EXPECT_EQ(finished, 1);

    path_Snapshot = savedSnapshotFolder;
    qputenv("HOME", savedHome);
}
