#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// What became of each clip of a run. The library ends every clip with message 1212 whether it
// converted, failed or was stopped; what tells them apart is its last progress text (a failure
// starts with "error:") and whether the output file exists afterwards (a failed or stopped
// conversion removes its file).
class TRunReport {
  public:
    enum class TOutcome { Written, Failed, Stopped };

    struct TClip {
        QString SourceFile;
        QString OutputFile;
        TOutcome Outcome = TOutcome::Written;
        QString Reason;  // failed clips: the library's words, or why the file is missing
        // The library's remarks ("note:" lines) on the clip, such as a sound left out or a
        // source that ended early, without the prefix, in the order given.
        QStringList Notes;
    };

    void Clear();
    // The clip about to be converted; its texts follow through NoteText.
    void BeginClip(const QString& sourceFile, const QString& outputFile);
    // A progress text of the clip being converted; "note:" lines are kept with the clip.
    void NoteText(const QString& text);
    // The clip being converted has ended; stopped: the user's stop ended it.
    void EndClip(bool stopped);
    // The clip that was written last is gone again (deleted after a stop).
    void Unwrite(const QString& outputFile);

    const std::vector<TClip>& Clips() const { return clips_; }
    int Count(TOutcome outcome) const;
    // One line per failed clip: its source's file name and the reason. Empty when none failed.
    QString FailureText() const;
    // One line per remark of each clip that was written with remarks: its source's file name
    // and the remark. Empty when there are none.
    QString RemarksText() const;
    // What the end-of-run box says: the failures, then the remarks; empty when both are.
    QString EndText() const;

  private:
    std::vector<TClip> clips_;
    QString lastText_;
    bool open_ = false;
};
