// dero-encode: converts one file with the encoder library, taking the library's argument vector
// on the command line (from "-y" on) and printing its info texts to standard error.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

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

// The library takes only full paths for the output; on the command line a name relative to the
// current folder is what a user means.
std::string FullOutputPath(const char* argument) {
    std::string path = argument;
    if (path.empty() || path.front() == '/' || path.front() == '-') {
        return path;
    }
    std::vector<char> folder(4096);
    if (!::getcwd(folder.data(), folder.size())) {
        return path;
    }
    return std::string(folder.data()) + "/" + path;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, &OnInterrupt);
    std::signal(SIGTERM, &OnInterrupt);
    std::signal(SIGHUP, &OnInterrupt);
    MyDll_Init();
    SetGetInfoCallBackFun(&PrintInfo);
    std::vector<char*> arguments(argv, argv + argc);
    std::string output;
    if (argc > 1) {
        output = FullOutputPath(argv[argc - 1]);
        arguments.back() = output.data();
    }
    const int result = _X(nullptr, argc, arguments.data());
    MyDll_UnInit();
    return result == 0 ? 0 : 1;
}
