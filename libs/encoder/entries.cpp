// The exported entries, C linkage. Nothing thrown inside the library crosses them.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "dero_encoder.h"
#include "encoderlibrary.h"
#include "mediaprobe.h"
#include "thumbnailer.h"

#define DERO_EXPORT extern "C" __attribute__((visibility("default")))

using dero::TEncoderLibrary;

// The record's layout is part of the interface the program was built against.
static_assert(offsetof(MediaFileInfo, FileName) == 0);
static_assert(offsetof(MediaFileInfo, Duration) == sizeof(void*));
static_assert(offsetof(MediaFileInfo, VideoFormat) == 2 * sizeof(void*));
static_assert(offsetof(MediaFileInfo, AudioFormat) == 3 * sizeof(void*));
static_assert(offsetof(MediaFileInfo, Width) == 4 * sizeof(void*));
static_assert(offsetof(MediaFileInfo, Height) == 4 * sizeof(void*) + 4);
static_assert(sizeof(void*) != 8 || sizeof(MediaFileInfo) == 64);

namespace {

// The texts of a probe stay valid until the next probe on the same thread. Plain arrays need no
// destructor at thread exit, which keeps unloading the library safe.
constexpr std::size_t kPathCapacity = 4096;
constexpr std::size_t kFormatCapacity = 64;
thread_local char t_fileName[kPathCapacity];
thread_local char t_videoFormat[kFormatCapacity];
thread_local char t_audioFormat[kFormatCapacity];

char* CopyText(char* target, std::size_t capacity, const std::string& text) {
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
    return target;
}

// Runs an entry's body; nothing it throws (an allocation that fails, say) may cross into the
// caller, which is C and would end the process.
template <typename Body>
int Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return -1;
    }
}

}  // namespace

DERO_EXPORT int MyDll_Init(void) {
    TEncoderLibrary::Instance().Init();
    return 0;
}

DERO_EXPORT int MyDll_UnInit(void) {
    TEncoderLibrary::Instance().UnInit();
    return 0;
}

DERO_EXPORT int Mydll_GetFileinfo(const char* fileName, MediaFileInfo* info) {
    if (!info) {
        return -1;
    }
    return Guarded([&] {
        const std::string path = fileName ? fileName : "";
        const dero::TMediaFacts facts = dero::TMediaProbe::Probe(path);
        *info = MediaFileInfo{};
        info->FileName = CopyText(t_fileName, kPathCapacity, path);
        info->Duration = facts.durationSeconds;
        info->VideoFormat = CopyText(t_videoFormat, kFormatCapacity, facts.videoFormat);
        info->AudioFormat = CopyText(t_audioFormat, kFormatCapacity, facts.audioFormat);
        info->Width = facts.width;
        info->Height = facts.height;
        return facts.videoFormat.find("unknown") == std::string::npos ? 0 : -1;
    });
}

DERO_EXPORT int Mydll_GetPicure(const char* fileName, int32_t second, const char* size,
                                const char* picturePath) {
    if (!fileName || !size || !picturePath || !*picturePath) {
        return -1;
    }
    return Guarded(
        [&] { return dero::TThumbnailer::Write(fileName, second, size, picturePath) ? 0 : -1; });
}

DERO_EXPORT int SetGetInfoCallBackFun(DeroInfoCallback callback) {
    TEncoderLibrary::Instance().SetInfoCallback(callback);
    return 0;
}

DERO_EXPORT int SetGetPercentCallBackFun(DeroPercentCallback callback) {
    TEncoderLibrary::Instance().SetPercentCallback(callback);
    return 0;
}

DERO_EXPORT int _X(DeroWindowHandle* window, int32_t argc, char** argv) {
    return Guarded([&] { return TEncoderLibrary::Instance().Convert(window, argc, argv); });
}

DERO_EXPORT int Mydll_Stop(void) {
    TEncoderLibrary::Instance().Stop();
    return 0;
}
