#pragma once

#include <cstdint>
#include <functional>

#include "dero_encoder.h"

// The two encoder entries a probe needs. By default they call the bound library entries
// (DllGetFileInfo, DllGetFilePic) at the time of the call; tests put their own functions in.
struct TProbeEntries {
    std::function<int(const char* fileName, MediaFileInfo* info)> GetFileInfo;
    std::function<int(const char* fileName, int32_t second, const char* size,
                      const char* picturePath)>
        GetFilePic;

    static TProbeEntries FromLibrary();
};
