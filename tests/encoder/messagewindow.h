#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

#include "dero_window.h"

// A window handle for tests: records the messages a library posts, from any thread.
class TMessageWindow {
  public:
    TMessageWindow();
    DeroWindowHandle* Handle() { return &handle_; }
    // Waits (up to a generous limit, so a broken library fails instead of hanging) until
    // `count` messages have arrived; returns the messages received.
    std::vector<uint32_t> WaitFor(std::size_t count);
    std::vector<uint32_t> Messages() const;

  private:
    static void Post(void* owner, uint32_t message, uintptr_t wParam, intptr_t lParam);

    DeroWindowHandle handle_{};
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<uint32_t> messages_;
};
