#pragma once

#include <QImage>
#include <QString>
#include <optional>

#include "app/cliprecord.h"
#include "clips/probeentries.h"

// What a successful probe hands to the list: the clip's facts and its decoded thumbnail.
struct ProbedClip {
    ClipRecord Record;
    QImage Thumbnail;
};

// Probes one file through the encoder entries: its facts, then an 80 x 60 JPEG snapshot that
// the library writes to a scratch file. Knows no widget, so it runs on any thread. Every
// failure is silent: the result is empty, and the scratch file is never left behind.
class TClipProber {
  public:
    explicit TClipProber(TProbeEntries entries = TProbeEntries::FromLibrary());

    // folder + "snap" + serial + ".pic"; folder ends in the separator.
    static QString SnapshotPath(const QString& folder, int32_t serial);

    std::optional<ProbedClip> Probe(const QString& fileName, const QString& snapshotPath) const;

  private:
    bool ReadFileInfo(const QByteArray& fileName, MediaFileInfo& info) const;
    static bool IsRefusedFormat(const QString& videoFormat);
    std::optional<QImage> TakeSnapshot(const QByteArray& fileName,
                                       const QString& snapshotPath) const;

    TProbeEntries entries_;
};
