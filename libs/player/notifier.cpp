#include "notifier.h"

namespace dero {

void TNotifier::SetWindow(DeroWindowHandle* window) {
    std::lock_guard lock(mutex_);
    window_ = window;
}

void TNotifier::SetEventFunction(DeroPlayerEventFunction* function) {
    function_ = function;
}

void TNotifier::PostHook() {
    std::lock_guard lock(mutex_);
    DeroPostMessage(window_, WM_PLAYER_HOOK, 0, 0);
}

void TNotifier::PostEvent(uintptr_t code, intptr_t value) {
    std::lock_guard lock(mutex_);
    DeroPostMessage(window_, WM_PLAYER_EVENT, code, value);
}

void TNotifier::CallEvent(int32_t code, int32_t value1, int32_t value2) {
    // Called on the library's event thread; the program carries the call to its own thread.
    if (DeroPlayerEventFunction* function = function_.load()) {
        function(code, value1, value2);
    }
}

}  // namespace dero
