#include "encoderlib.h"

#include <dlfcn.h>

TEncoderLib::TEncoderLib() {
    handle_ = dlopen(DERO_BIN_DIR "/libEncoder.so", RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        return;
    }
    auto bind = [&](auto& entry, const char* name) {
        entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(dlsym(handle_, name));
    };
    bind(Init, "MyDll_Init");
    bind(UnInit, "MyDll_UnInit");
    bind(GetFileInfo, "Mydll_GetFileinfo");
    bind(GetPicture, "Mydll_GetPicure");
    bind(SetInfoCallback, "SetGetInfoCallBackFun");
    bind(SetPercentCallback, "SetGetPercentCallBackFun");
    bind(Convert, "_X");
    bind(Stop, "Mydll_Stop");
    if (Init) {
        Init();
    }
}

TEncoderLib::~TEncoderLib() {
    if (handle_) {
        if (Stop) {
            Stop();
        }
        if (UnInit) {
            UnInit();
        }
        dlclose(handle_);
    }
}
