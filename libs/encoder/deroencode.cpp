// dero-encode: converts one file with the encoder library, taking the library's argument vector
// on the command line (from "-y" on) and printing its info texts to standard error.
#include <csignal>
#include <cstdio>

#include "dero_encoder.h"

namespace {

int PrintInfo(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    return 0;
}

// Ctrl-C, a termination request or a closed terminal stops the conversion the way the program's
// stop button does, so no partial file stays. Mydll_Stop only raises a lock-free flag, which is
// safe in a signal handler.
void OnInterrupt(int) {
    Mydll_Stop();
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, &OnInterrupt);
    std::signal(SIGTERM, &OnInterrupt);
    std::signal(SIGHUP, &OnInterrupt);
    MyDll_Init();
    SetGetInfoCallBackFun(&PrintInfo);
    const int result = _X(nullptr, argc, argv);
    MyDll_UnInit();
    return result == 0 ? 0 : 1;
}
