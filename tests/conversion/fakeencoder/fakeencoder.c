/* A stand-in for the encoder library that records, in order, every entry called. */
#include <string.h>

#include "dero_encoder.h"

#define EXPORT __attribute__((visibility("default")))

static char calls[1024];

static int Record(const char* name) {
    if (strlen(calls) + strlen(name) + 2 < sizeof(calls)) {
        strcat(calls, name);
        strcat(calls, ";");
    }
    return 0;
}

EXPORT const char* FakeEncoderCalls(void) {
    return calls;
}
EXPORT void FakeEncoderReset(void) {
    calls[0] = '\0';
}

EXPORT int _X(DeroWindowHandle* window, int32_t argc, char** argv) {
    (void)window, (void)argc, (void)argv;
    return Record("_X");
}
EXPORT int SetGetInfoCallBackFun(DeroInfoCallback callback) {
    (void)callback;
    return Record("SetGetInfoCallBackFun");
}
EXPORT int SetGetPercentCallBackFun(DeroPercentCallback callback) {
    (void)callback;
    return Record("SetGetPercentCallBackFun");
}
EXPORT int MyDll_Init(void) {
    return Record("MyDll_Init");
}
EXPORT int MyDll_UnInit(void) {
    return Record("MyDll_UnInit");
}
EXPORT int Mydll_GetFileinfo(const char* fileName, MediaFileInfo* info) {
    (void)fileName, (void)info;
    return Record("Mydll_GetFileinfo");
}
EXPORT int Mydll_GetPicure(const char* fileName, int32_t second, const char* size,
                           const char* picturePath) {
    (void)fileName, (void)second, (void)size, (void)picturePath;
    return Record("Mydll_GetPicure");
}
#ifndef FAKE_ENCODER_WITHOUT_STOP
EXPORT int Mydll_Stop(void) {
    return Record("Mydll_Stop");
}
#endif
