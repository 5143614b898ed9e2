#pragma once

#include <string>

#include "dero_encoder.h"

// libEncoder.so loaded from the program folder by its export names, as the program binds it.
class TEncoderLib {
  public:
    TEncoderLib();
    ~TEncoderLib();
    TEncoderLib(const TEncoderLib&) = delete;
    TEncoderLib& operator=(const TEncoderLib&) = delete;

    bool Loaded() const { return handle_ && Convert && Stop; }

    MyDll_Init_t Init = nullptr;
    MyDll_UnInit_t UnInit = nullptr;
    Mydll_GetFileinfo_t GetFileInfo = nullptr;
    Mydll_GetPicure_t GetPicture = nullptr;
    SetGetInfoCallBackFun_t SetInfoCallback = nullptr;
    SetGetPercentCallBackFun_t SetPercentCallback = nullptr;
    X_t Convert = nullptr;
    Mydll_Stop_t Stop = nullptr;

  private:
    void* handle_ = nullptr;
};
