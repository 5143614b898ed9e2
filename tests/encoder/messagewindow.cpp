#include "messagewindow.h"

#include <chrono>

TMessageWindow::TMessageWindow() {
    handle_.owner = this;
    handle_.post = &TMessageWindow::Post;
}

void TMessageWindow::Post(void* owner, uint32_t message, uintptr_t, intptr_t) {
    auto* self = static_cast<TMessageWindow*>(owner);
    std::lock_guard lock(self->mutex_);
    self->messages_.push_back(message);
    self->arrived_.notify_all();
}

std::vector<uint32_t> TMessageWindow::WaitFor(std::size_t count) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::seconds(120), [&] { return messages_.size() >= count; });
    return messages_;
}

std::vector<uint32_t> TMessageWindow::Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}
