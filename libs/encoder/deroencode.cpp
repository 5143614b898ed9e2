// dero-encode: converts one file with the encoder library, taking the library's argument vector
// on the command line (from "-y" on) and printing its info texts to standard error.
#include <cstdio>

#include "dero_encoder.h"

extern "C" {
int MyDll_Init(void);
int MyDll_UnInit(void);
int SetGetInfoCallBackFun(DeroInfoCallback callback);
int _X(DeroWindowHandle* window, int32_t argc, char** argv);
}

namespace {

int PrintInfo(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    MyDll_Init();
    SetGetInfoCallBackFun(&PrintInfo);
    const int result = _X(nullptr, argc, argv);
    MyDll_UnInit();
    return result == 0 ? 0 : 1;
}
