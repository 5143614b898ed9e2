#include "videotarget.h"

namespace dero {

void TVideoTarget::SetPanel(DeroWindowHandle* panel) {
    std::lock_guard lock(mutex_);
    panel_ = panel;
}

bool TVideoTarget::Size(int& width, int& height) {
    std::lock_guard lock(mutex_);
    if (!panel_ || !panel_->size) {
        return false;
    }
    width = 0;
    height = 0;
    panel_->size(panel_->owner, &width, &height);
    return width > 0 && height > 0;
}

void TVideoTarget::Present(const void* pixels, int width, int height, std::size_t stride) {
    // Render thread. The program's present copies the pixels and queues its repaint; it does not
    // wait for its own thread, so holding the lock here cannot deadlock with SetPanel.
    std::lock_guard lock(mutex_);
    if (panel_ && panel_->present) {
        panel_->present(panel_->owner, pixels, width, height, stride);
    }
}

}  // namespace dero
