#pragma once

#include <QString>

#include "dero_encoder.h"
#include "platform/dynamiclibrary.h"

// The encoder library's entries, bound by TEncoderBinding::Load. Null until bound.
extern X_t DllConvert;
extern SetGetInfoCallBackFun_t DllSetInfoCallBack;
extern SetGetPercentCallBackFun_t DllSetPercentCallBack;
extern MyDll_Init_t DllInit;
extern MyDll_UnInit_t DllUnInit;
extern Mydll_GetFileinfo_t DllGetFileInfo;
extern Mydll_GetPicure_t DllGetFilePic;
extern Mydll_Stop_t DllStop;

// Holds the encoder library for the main window's lifetime and binds its eight entries to the
// Dll… globals: all of them or none.
class TEncoderBinding {
  public:
    static constexpr char kLibraryName[] = "libEncoder.so";
    static constexpr char kLoadFailedText[] =
        "Can not load Reelsmith function!\nPlease re-install this program!\nEXIT!";

    TEncoderBinding() = default;
    ~TEncoderBinding();
    TEncoderBinding(const TEncoderBinding&) = delete;
    TEncoderBinding& operator=(const TEncoderBinding&) = delete;

    // Opens the library at path and resolves the entries by their export names. Calls nothing
    // in the library. On failure every global stays null and the library is released.
    bool Load(const QString& path);
    // Load; on failure the error box with kLoadFailedText and a request to end the application.
    // On success the library is initialised (DllInit, once).
    bool LoadAndInit(const QString& path);
    // DllStop, then DllUnInit (each if bound), then release; the globals return to null.
    void Unload();
    bool IsLoaded() const { return library_.IsLoaded(); }

  private:
    TDynamicLibrary library_;
};
