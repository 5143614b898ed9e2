#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "dero_player.h"

namespace dero {

// Where the library's notifications go: the program's window (messages) and its event
// function. Set from the program's thread, used from the library's threads; both may change
// while a player runs, so each use reads them under the lock.
class TNotifier {
  public:
    void SetWindow(DeroWindowHandle* window);
    void SetEventFunction(DeroPlayerEventFunction* function);

    void PostHook();
    void PostEvent(uintptr_t code, intptr_t value);
    void CallEvent(int32_t code, int32_t value1, int32_t value2);

  private:
    std::mutex mutex_;
    DeroWindowHandle* window_ = nullptr;
    std::atomic<DeroPlayerEventFunction*> function_{nullptr};
};

}  // namespace dero
