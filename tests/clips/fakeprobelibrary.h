#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "clips/probeentries.h"

// Stands in for the encoder library's two probing entries where a fault must be provoked: a
// snapshot of a chosen size, a chosen video format, an exception. Safe to call from a worker.
class TFakeProbeLibrary {
  public:
    struct PictureCall {
        std::string fileName;
        int32_t second;
        std::string size;
        std::string picturePath;
    };

    std::string VideoFormat = "mpeg4";
    std::string AudioFormat = "aac";
    int32_t Duration = 42;
    int32_t Width = 320;
    int32_t Height = 240;
    // Written to the picture path; nothing is written when empty.
    QByteArray Snapshot;
    // Files whose info call throws.
    QStringList Throwing;
    // Runs at the start of every info call (on the probing thread).
    std::function<void()> BeforeInfo;

    TProbeEntries Entries();

    std::vector<std::thread::id> InfoThreads() const;
    std::vector<PictureCall> PictureCalls() const;

  private:
    int GetFileInfo(const char* fileName, MediaFileInfo* info);
    int GetFilePic(const char* fileName, int32_t second, const char* size, const char* path);

    mutable std::mutex mutex_;
    std::string fileName_;
    std::vector<std::thread::id> infoThreads_;
    std::vector<PictureCall> pictureCalls_;
};
