#include "probeentries.h"

#include <stdexcept>

#include "app/encoderbinding.h"

TProbeEntries TProbeEntries::FromLibrary() {
    // The entries are read per call: the library is bound after the probe's owner is built.
    TProbeEntries entries;
    entries.GetFileInfo = [](const char* fileName, MediaFileInfo* info) {
        if (!DllGetFileInfo) {
            throw std::runtime_error("Encoder entry Mydll_GetFileinfo is not bound");
        }
        return DllGetFileInfo(fileName, info);
    };
    entries.GetFilePic = [](const char* fileName, int32_t second, const char* size,
                            const char* picturePath) {
        if (!DllGetFilePic) {
            throw std::runtime_error("Encoder entry Mydll_GetPicure is not bound");
        }
        return DllGetFilePic(fileName, second, size, picturePath);
    };
    return entries;
}
