#include "addfilescommand.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <memory>

#include "app/pubfunction.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "clips/openfilesdialog.h"
#include "platform/localpath.h"
#include "platform/queuedcall.h"

TAddFilesCommand::TAddFilesCommand(QWidget* window, TListPanel* list, TProbeEntries entries)
    : window_(window), list_(list), prober_(std::move(entries)) {
    openDialog_ = [this](QWidget* parent) { return ShowOpenDialog(parent); };
}

TAddFilesCommand::~TAddFilesCommand() {
    {
        const std::lock_guard lock(handOverMutex_);
        stopping_ = true;
    }
    handOverFree_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
    }
}

QString TAddFilesCommand::DefaultFolder() {
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (!videos.isEmpty() && QFileInfo(videos).isDir()) {
        return videos;
    }
    return QDir::homePath();
}

TOpenFilesDialog* TAddFilesCommand::CreateOpenDialog(QWidget* window, const QString& folder) {
    return new TOpenFilesDialog(window, folder);
}

QStringList TAddFilesCommand::ShowOpenDialog(QWidget* window) {
    if (lastFolder_.isEmpty()) {
        lastFolder_ = DefaultFolder();
    }
    // A new dialog each time: a kept one would offer the last batch again in its name field.
    const std::unique_ptr<TOpenFilesDialog> dialog(CreateOpenDialog(window, lastFolder_));
    // exec() runs a nested loop: the command's caller expects the chosen files as its answer.
    if (dialog->exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList files = dialog->SelectedFiles();
    // The files' own folder, not the one the dialog shows: a full path typed into the name field
    // picks files elsewhere without the dialog going there.
    lastFolder_ = files.isEmpty() ? dialog->Folder() : TLocalPath::FolderOf(files.first());
    return files;
}

void TAddFilesCommand::Execute() {
    if (addingFiles_) {
        return;
    }
    const QStringList files = openDialog_(window_);
    if (files.isEmpty()) {
        return;
    }
    if (window_) {
        window_->repaint();
    }
    AddFiles(files);
}

bool TAddFilesCommand::AddFiles(const QStringList& files) {
    if (addingFiles_ || files.isEmpty()) {
        return false;
    }
    StartWorker(files);
    return true;
}

QString TAddFilesCommand::CurrentSnapshotPath() const {
    return TClipProber::SnapshotPath(path_Snapshot, snapshotSerial_);
}

void TAddFilesCommand::StartWorker(const QStringList& files) {
    // The flag is raised here rather than by the worker, so that a second click arriving
    // before the worker has started is refused too.
    addingFiles_ = true;
    if (worker_.joinable()) {
        worker_.join();  // the previous worker has already delivered its end
    }
    // Thread meeting point: the user-interface thread starts the worker with its own copy of
    // the file list. While it runs, the worker alone uses prober_ (whose entries are read
    // only) and reads snapshotSerial_ (atomic); it talks back only through queued calls.
    worker_ = std::thread([this, files] { RunWorker(files); });
}

void TAddFilesCommand::RunWorker(const QStringList& files) {
    for (const QString& fileName : files) {
        if (stopping_) {
            return;
        }
        ProbeAndAddClip(fileName);
    }
    // Queued behind the last clip, so the flag drops only once every clip is in the list.
    QueueCall(this, [this] { FinishAdding(); });
}

void TAddFilesCommand::ProbeAndAddClip(const QString& fileName) {
    try {
        std::optional<ProbedClip> clip = prober_.Probe(fileName, CurrentSnapshotPath());
        // Thread meeting point: the worker moves the probed clip (its record and decoded
        // thumbnail, owned by nobody else) into a call queued to the user-interface thread,
        // which creates the item. One such call waits in the queue at a time.
        if (clip && WaitForHandOverSlot()) {
            QueueCall(this, [this, clip = std::move(*clip)] { AddProbedClip(clip); });
        }
    } catch (...) {
        // Whatever goes wrong with one file ends that file's probe, never the program.
    }
}

bool TAddFilesCommand::WaitForHandOverSlot() {
    std::unique_lock lock(handOverMutex_);
    handOverFree_.wait(lock, [this] { return !handOverPending_ || stopping_; });
    handOverPending_ = true;
    return !stopping_;
}

void TAddFilesCommand::ReleaseHandOverSlot() {
    {
        const std::lock_guard lock(handOverMutex_);
        handOverPending_ = false;
    }
    handOverFree_.notify_one();
}

void TAddFilesCommand::AddProbedClip(const ProbedClip& clip) {
    // The worker waits for this slot, so it is freed however the hand-over ends.
    struct SlotRelease {
        TAddFilesCommand* command;
        ~SlotRelease() { command->ReleaseHandOverSlot(); }
    } release{this};
    if (list_) {
        auto* item = new Image_Item(list_);
        item->Fill(clip.Record, clip.Thumbnail);
        list_->AddItem(item);
    }
}

void TAddFilesCommand::FinishAdding() {
    if (worker_.joinable()) {
        worker_.join();  // it returns right after queueing this call
    }
    addingFiles_ = false;
    emit AddingFinished();
}
