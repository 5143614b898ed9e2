#include "fakeprobelibrary.h"

#include <QFile>
#include <stdexcept>

TProbeEntries TFakeProbeLibrary::Entries() {
    TProbeEntries entries;
    entries.GetFileInfo = [this](const char* fileName, MediaFileInfo* info) {
        return GetFileInfo(fileName, info);
    };
    entries.GetFilePic = [this](const char* fileName, int32_t second, const char* size,
                                const char* path) {
        return GetFilePic(fileName, second, size, path);
    };
    return entries;
}

int TFakeProbeLibrary::GetFileInfo(const char* fileName, MediaFileInfo* info) {
    if (BeforeInfo) {
        BeforeInfo();
    }
    std::lock_guard lock(mutex_);
    infoThreads_.push_back(std::this_thread::get_id());
    if (Throwing.contains(QString::fromUtf8(fileName))) {
        throw std::runtime_error("probe failed");
    }
    fileName_ = fileName;
    *info = MediaFileInfo{};
    info->FileName = fileName_.data();
    info->Duration = Duration;
    info->VideoFormat = VideoFormat.data();
    info->AudioFormat = AudioFormat.data();
    info->Width = Width;
    info->Height = Height;
    return 0;
}

int TFakeProbeLibrary::GetFilePic(const char* fileName, int32_t second, const char* size,
                                  const char* path) {
    std::lock_guard lock(mutex_);
    pictureCalls_.push_back({fileName, second, size, path});
    if (!Snapshot.isEmpty()) {
        QFile file(QString::fromUtf8(path));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(Snapshot);
        }
    }
    return 0;
}

std::vector<std::thread::id> TFakeProbeLibrary::InfoThreads() const {
    std::lock_guard lock(mutex_);
    return infoThreads_;
}

std::vector<TFakeProbeLibrary::PictureCall> TFakeProbeLibrary::PictureCalls() const {
    std::lock_guard lock(mutex_);
    return pictureCalls_;
}
