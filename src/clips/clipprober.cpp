#include "clipprober.h"

#include <QFile>
#include <QFileInfo>

#include "platform/localpath.h"
#include "platform/picture.h"

namespace {

// Removes the snapshot file when the probe ends, however it ends.
class SnapshotGuard {
  public:
    explicit SnapshotGuard(QString path) : path_(std::move(path)) { QFile::remove(path_); }
    ~SnapshotGuard() { QFile::remove(path_); }
    SnapshotGuard(const SnapshotGuard&) = delete;
    SnapshotGuard& operator=(const SnapshotGuard&) = delete;

  private:
    QString path_;
};

QString LibraryText(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

ClipRecord RecordFrom(const MediaFileInfo& info) {
    ClipRecord record;
    record.SourceFile = info.FileName ? TLocalPath::Decode(info.FileName) : QString();
    record.Duration = info.Duration;
    record.VideoFormat = LibraryText(info.VideoFormat);
    record.AudioFormat = LibraryText(info.AudioFormat);
    record.Width = info.Width;
    record.Height = info.Height;
    record.StartTime = 0;
    record.StopTime = info.Duration;
    return record;
}

}  // namespace

TClipProber::TClipProber(TProbeEntries entries) : entries_(std::move(entries)) {}

QString TClipProber::SnapshotPath(const QString& folder, int32_t serial) {
    return folder + "snap" + QString::number(serial) + ".pic";
}

std::optional<ProbedClip> TClipProber::Probe(const QString& fileName,
                                             const QString& snapshotPath) const {
    const QByteArray name = TLocalPath::Encode(fileName);
    MediaFileInfo info{};
    if (!ReadFileInfo(name, info)) {
        return std::nullopt;
    }
    // Copy the library's texts before anything else can call it again.
    ClipRecord record = RecordFrom(info);
    if (IsRefusedFormat(record.VideoFormat)) {
        return std::nullopt;
    }
    std::optional<QImage> thumbnail = TakeSnapshot(name, snapshotPath);
    if (!thumbnail) {
        return std::nullopt;
    }
    return ProbedClip{std::move(record), std::move(*thumbnail)};
}

bool TClipProber::ReadFileInfo(const QByteArray& fileName, MediaFileInfo& info) const {
    try {
        entries_.GetFileInfo(fileName.constData(), &info);
        return true;
    } catch (...) {
        // A file the library chokes on is simply not added.
        return false;
    }
}

bool TClipProber::IsRefusedFormat(const QString& videoFormat) {
    // RealVideo is not supported by the converter; "unknow" covers the library's "unknown".
    const QString lower = videoFormat.toLower();
    return lower.contains(QLatin1String("rv")) || lower.contains(QLatin1String("unknow"));
}

std::optional<QImage> TClipProber::TakeSnapshot(const QByteArray& fileName,
                                                const QString& snapshotPath) const {
    const SnapshotGuard guard(snapshotPath);
    try {
        entries_.GetFilePic(fileName.constData(), 5, "80x60",
                            TLocalPath::Encode(snapshotPath).constData());
        // Anything under 1 KiB is a failed or empty snapshot, not a picture.
        if (QFileInfo(snapshotPath).size() / 1024 == 0) {
            return std::nullopt;
        }
        QFile file(snapshotPath);
        if (!file.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        return DecodeJpeg(file.readAll());
    } catch (...) {
        // A broken snapshot or a failing library is a failed probe like any other: silent.
        return std::nullopt;
    }
}
