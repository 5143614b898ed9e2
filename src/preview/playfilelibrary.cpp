#include "playfilelibrary.h"

#include "dero_player.h"
#include "platform/callbackregistry.h"
#include "platform/queuedcall.h"

namespace {

// The binding whose function the library's event function reaches.
TCallbackRegistry<TPlayFileLibrary>& Registry() {
    static TCallbackRegistry<TPlayFileLibrary> registry;
    return registry;
}

}  // namespace

TPlayFileLibrary::TPlayFileLibrary() = default;

TPlayFileLibrary::~TPlayFileLibrary() {
    if (function_) {
        PlayerSetCallback(nullptr);
    }
    Registry().Clear(this);
}

bool TPlayFileLibrary::Init(DeroWindowHandle* window) {
    return PlayerInit(window) != 0;
}

bool TPlayFileLibrary::OpenFile(const char* path, int32_t reserved) {
    return PlayerOpenFile(path, reserved) != 0;
}

bool TPlayFileLibrary::Play(double speed) {
    return PlayerPlay(speed) != 0;
}

bool TPlayFileLibrary::Stop() {
    return PlayerStop() != 0;
}

bool TPlayFileLibrary::Close() {
    return PlayerClose() != 0;
}

bool TPlayFileLibrary::Pause() {
    return PlayerPause() != 0;
}

bool TPlayFileLibrary::SetVideoWindow(DeroWindowHandle* panel, int32_t reserved,
                                      int32_t keepAspect) {
    return PlayerSetVideoWindow(panel, reserved, keepAspect) != 0;
}

bool TPlayFileLibrary::Seek(double seconds) {
    return PlayerSeek(seconds) != 0;
}

bool TPlayFileLibrary::GetPosition(double* duration, double* seconds, double* percent) {
    return PlayerGetPosition(duration, seconds, percent) != 0;
}

bool TPlayFileLibrary::SetCallback(TEventFunction function) {
    function_ = std::move(function);
    if (function_) {
        Registry().Set(this);
    } else {
        Registry().Clear(this);
    }
    return PlayerSetCallback(function_ ? &TPlayFileLibrary::EventThunk : nullptr) != 0;
}

void TPlayFileLibrary::EventThunk(int32_t code, int32_t value1, int32_t value2) {
    // The library's event thread: only the three integers are copied into the call.
    Registry().Reach([=](TPlayFileLibrary* library) {
        QueueCall(library,
                  [library, code, value1, value2] { library->Deliver(code, value1, value2); });
    });
}

void TPlayFileLibrary::Deliver(int32_t code, int32_t value1, int32_t value2) {
    if (function_) {
        function_(code, value1, value2);
    }
}
