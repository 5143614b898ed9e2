#include "encoderbinding.h"

#include "platform/messagebox.h"
#include "platform/terminaterequest.h"

X_t DllConvert = nullptr;
SetGetInfoCallBackFun_t DllSetInfoCallBack = nullptr;
SetGetPercentCallBackFun_t DllSetPercentCallBack = nullptr;
MyDll_Init_t DllInit = nullptr;
MyDll_UnInit_t DllUnInit = nullptr;
Mydll_GetFileinfo_t DllGetFileInfo = nullptr;
Mydll_GetPicure_t DllGetFilePic = nullptr;
Mydll_Stop_t DllStop = nullptr;

namespace {

void ClearEntries() {
    DllConvert = nullptr;
    DllSetInfoCallBack = nullptr;
    DllSetPercentCallBack = nullptr;
    DllInit = nullptr;
    DllUnInit = nullptr;
    DllGetFileInfo = nullptr;
    DllGetFilePic = nullptr;
    DllStop = nullptr;
}

template <typename Entry>
bool Resolve(const TDynamicLibrary& library, const char* name, Entry& entry) {
    entry = reinterpret_cast<Entry>(library.Entry(name));
    return entry != nullptr;
}

}  // namespace

TEncoderBinding::~TEncoderBinding() {
    Unload();
}

bool TEncoderBinding::Load(const QString& path) {
    Unload();
    if (!library_.Load(path)) {
        return false;
    }
    // The order of the lookups is the library's documented order; stop at the first missing.
    const bool bound =
        Resolve(library_, DERO_ENCODER_NAME(_X), DllConvert) &&
        Resolve(library_, DERO_ENCODER_NAME(SetGetInfoCallBackFun), DllSetInfoCallBack) &&
        Resolve(library_, DERO_ENCODER_NAME(SetGetPercentCallBackFun), DllSetPercentCallBack) &&
        Resolve(library_, DERO_ENCODER_NAME(MyDll_Init), DllInit) &&
        Resolve(library_, DERO_ENCODER_NAME(MyDll_UnInit), DllUnInit) &&
        Resolve(library_, DERO_ENCODER_NAME(Mydll_GetFileinfo), DllGetFileInfo) &&
        Resolve(library_, DERO_ENCODER_NAME(Mydll_GetPicure), DllGetFilePic) &&
        Resolve(library_, DERO_ENCODER_NAME(Mydll_Stop), DllStop);
    if (!bound) {
        ClearEntries();
        library_.Unload();
    }
    return bound;
}

bool TEncoderBinding::LoadAndInit(const QString& path) {
    if (!Load(path)) {
        ShowMessage(TMessageKind::Error, QString::fromLatin1(kLoadFailedText));
        RequestTerminate();
        return false;
    }
    DllInit();
    return true;
}

void TEncoderBinding::Unload() {
    if (!library_.IsLoaded()) {
        return;
    }
    if (DllStop) {
        DllStop();
    }
    if (DllUnInit) {
        DllUnInit();
    }
    ClearEntries();
    library_.Unload();
}
