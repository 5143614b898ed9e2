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
    bind(Init, DERO_ENCODER_NAME(MyDll_Init));
    bind(UnInit, DERO_ENCODER_NAME(MyDll_UnInit));
    bind(GetFileInfo, DERO_ENCODER_NAME(Mydll_GetFileinfo));
    bind(GetPicture, DERO_ENCODER_NAME(Mydll_GetPicure));
    bind(SetInfoCallback, DERO_ENCODER_NAME(SetGetInfoCallBackFun));
    bind(SetPercentCallback, DERO_ENCODER_NAME(SetGetPercentCallBackFun));
    bind(Convert, DERO_ENCODER_NAME(_X));
    bind(Stop, DERO_ENCODER_NAME(Mydll_Stop));
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
