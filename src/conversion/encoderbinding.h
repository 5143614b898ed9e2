#pragma once

#include <QString>

#include "dero_encoder.h"

// The encoder library's entries, bound by TEncoderBinding::Load. Null until bound.
extern X_t DllConvert;
extern SetGetInfoCallBackFun_t DllSetInfoCallBack;
extern SetGetPercentCallBackFun_t DllSetPercentCallBack;
extern MyDll_Init_t DllInit;
extern MyDll_UnInit_t DllUnInit;
extern Mydll_GetFileinfo_t DllGetFileInfo;
extern Mydll_GetPicure_t DllGetFilePic;
extern Mydll_Stop_t DllStop;
