#include "conversion/runreport.h"

#include <algorithm>

#include "platform/filesystem.h"
#include "platform/localpath.h"

namespace {

const QLatin1String kErrorPrefix("error:");
const QLatin1String kNotePrefix("note:");

}  // namespace

void TRunReport::Clear() {
    clips_.clear();
    lastText_.clear();
    open_ = false;
}

void TRunReport::BeginClip(const QString& sourceFile, const QString& outputFile) {
    clips_.push_back({sourceFile, outputFile, TOutcome::Written, {}});
    lastText_.clear();
    open_ = true;
}

void TRunReport::NoteText(const QString& text) {
    if (!open_) {
        return;
    }
    lastText_ = text;
    if (text.startsWith(kNotePrefix)) {
        const QString note = text.mid(kNotePrefix.size()).trimmed();
        if (!note.isEmpty() && !clips_.back().Notes.contains(note)) {
            clips_.back().Notes << note;
        }
    }
}

void TRunReport::EndClip(bool stopped) {
    if (!open_) {
        return;
    }
    open_ = false;
    TClip& clip = clips_.back();
    const bool written = FileExists(clip.OutputFile);
    if (stopped && !written) {
        // Whatever the library said last (a stop while it opens the source reads as an error),
        // the user's stop ended this clip.
        clip.Outcome = TOutcome::Stopped;
    } else if (lastText_.startsWith(kErrorPrefix)) {
        clip.Outcome = TOutcome::Failed;
        clip.Reason = lastText_.mid(kErrorPrefix.size()).trimmed();
    } else if (!written) {
        clip.Outcome = TOutcome::Failed;
        clip.Reason = QStringLiteral("no output file was written");
    }
}

void TRunReport::Unwrite(const QString& outputFile) {
    for (TClip& clip : clips_) {
        if (clip.OutputFile == outputFile && clip.Outcome == TOutcome::Written) {
            clip.Outcome = TOutcome::Stopped;
        }
    }
}

int TRunReport::Count(TOutcome outcome) const {
    return static_cast<int>(std::count_if(
        clips_.begin(), clips_.end(), [outcome](const TClip& c) { return c.Outcome == outcome; }));
}

QString TRunReport::FailureText() const {
    QStringList lines;
    for (const TClip& clip : clips_) {
        if (clip.Outcome == TOutcome::Failed) {
            lines << TLocalPath::Display(TLocalPath::FileName(clip.SourceFile)) +
                         QStringLiteral(": ") + clip.Reason;
        }
    }
    if (lines.isEmpty()) {
        return {};
    }
    return QStringLiteral("These clips were not converted:\n") + lines.join('\n');
}

QString TRunReport::RemarksText() const {
    QStringList lines;
    for (const TClip& clip : clips_) {
        if (clip.Outcome != TOutcome::Written) {
            continue;
        }
        for (const QString& note : clip.Notes) {
            lines << TLocalPath::Display(TLocalPath::FileName(clip.SourceFile)) +
                         QStringLiteral(": ") + note;
        }
    }
    if (lines.isEmpty()) {
        return {};
    }
    return QStringLiteral("These clips were converted with remarks:\n") + lines.join('\n');
}

QString TRunReport::EndText() const {
    QStringList parts;
    for (const QString& part : {FailureText(), RemarksText()}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    return parts.join(QStringLiteral("\n\n"));
}
