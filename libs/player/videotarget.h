#pragma once

#include <cstddef>
#include <mutex>

#include "dero_window.h"

namespace dero {

// The panel that receives the frames. Set from the program's thread, used by the render
// thread; the lock is held while a frame is presented, so once SetPanel returns the previous
// panel is never called again.
class TVideoTarget {
  public:
    void SetPanel(DeroWindowHandle* panel);
    // The panel's size, or false without a panel (or one that has no size yet).
    bool Size(int& width, int& height);
    // Hands the frame to the panel (the program copies it); nothing without a panel.
    void Present(const void* pixels, int width, int height, std::size_t stride);

  private:
    std::mutex mutex_;
    DeroWindowHandle* panel_ = nullptr;
};

}  // namespace dero
