#pragma once

// The clip list: probing through the encoder library, the list panel and its items.
// Includes platform/, app/, skin/ and include/.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "clips/clipprober.h"

class QWidget;
class TListPanel;
class TOpenFilesDialog;

// The main window's "add files" command (button TB_AddFile). The chosen files, one or several,
// are probed in the dialog's order on one worker thread while AddingFiles is set, and each clip
// that qualifies is handed to the user-interface thread, where its item is created and
// appended. The command returns at once: a probe can take a second on a busy machine and
// without bound on a slow disk, and the window must not wait for it. No widget is touched by
// the worker.
class TAddFilesCommand : public QObject {
    Q_OBJECT
  public:
    // Shows the open dialog for window; the chosen files, or none when cancelled.
    using OpenDialogFunction = std::function<QStringList(QWidget* window)>;

    TAddFilesCommand(QWidget* window, TListPanel* list,
                     TProbeEntries entries = TProbeEntries::FromLibrary());
    // Lets a running worker finish its current probe, then waits for it.
    ~TAddFilesCommand() override;

    void Execute();
    // Adds files as if chosen in the dialog: probed on the worker, clips appended as they come.
    // Refused (false) while an earlier add runs, or when there is nothing to add.
    bool AddFiles(const QStringList& files);

    // Set from the start of an add until its last clip has been appended.
    bool AddingFiles() const { return addingFiles_; }
    int32_t SnapshotSerial() const { return snapshotSerial_; }
    // The next probe writes its snapshot under a new name.
    void AdvanceSnapshotSerial() { ++snapshotSerial_; }

    void SetOpenDialog(OpenDialogFunction openDialog) { openDialog_ = std::move(openDialog); }
    // The dialog the default OpenDialogFunction shows, opened in folder.
    static TOpenFilesDialog* CreateOpenDialog(QWidget* window, const QString& folder);
    // Where the first add looks: the user's video folder, else the home folder.
    static QString DefaultFolder();

  signals:
    // An add has appended its last clip and AddingFiles is clear again.
    void AddingFinished();

  private:
    QStringList ShowOpenDialog(QWidget* window);
    QString CurrentSnapshotPath() const;
    void StartWorker(const QStringList& files);
    void RunWorker(const QStringList& files);
    // Worker side: probes one file and hands its clip, if it qualifies, to the list.
    void ProbeAndAddClip(const QString& fileName);
    void AddProbedClip(const ProbedClip& clip);
    bool WaitForHandOverSlot();
    void ReleaseHandOverSlot();
    void FinishAdding();

    QPointer<QWidget> window_;
    QPointer<TListPanel> list_;
    TClipProber prober_;
    OpenDialogFunction openDialog_;
    // The folder the last add chose its files in; each dialog is new and starts there.
    QString lastFolder_;
    bool addingFiles_ = false;
    std::atomic<int32_t> snapshotSerial_{0};
    std::atomic<bool> stopping_{false};
    // At most one probed clip waits in the event queue: a backlog of hand-overs would be
    // delivered in one pass of the event loop and keep input and timers waiting meanwhile.
    std::mutex handOverMutex_;
    std::condition_variable handOverFree_;
    bool handOverPending_ = false;
    std::thread worker_;
};
