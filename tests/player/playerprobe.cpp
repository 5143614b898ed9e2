#include "playerprobe.h"

#include <cstring>

PlayerProbe* PlayerProbe::current_ = nullptr;

namespace {

constexpr auto kPatience = std::chrono::seconds(30);
constexpr uint32_t kColourMask = 0x00ffffff;
// Scaling leaves dark noise on a black bar's edge; a bar pixel is "black" below this level.
constexpr uint32_t kDark = 24;

bool Dark(uint32_t pixel) {
    return ((pixel >> 16) & 0xff) < kDark && ((pixel >> 8) & 0xff) < kDark &&
           (pixel & 0xff) < kDark;
}

}  // namespace

bool PlayerProbe::Frame::RowBlack(int y) const {
    for (int x = 0; x < Width; ++x) {
        if (!Dark(At(x, y))) {
            return false;
        }
    }
    return true;
}

bool PlayerProbe::Frame::ColumnBlack(int x) const {
    for (int y = 0; y < Height; ++y) {
        if (!Dark(At(x, y))) {
            return false;
        }
    }
    return true;
}

PlayerProbe::PlayerProbe(int panelWidth, int panelHeight)
    : width_(panelWidth), height_(panelHeight) {
    window_.owner = this;
    window_.post = &PlayerProbe::Post;
    panel_.owner = this;
    panel_.present = &PlayerProbe::Present;
    panel_.size = &PlayerProbe::Size;
    current_ = this;
}

PlayerProbe::~PlayerProbe() {
    current_ = nullptr;
}

void PlayerProbe::Post(void* owner, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    auto* self = static_cast<PlayerProbe*>(owner);
    {
        std::lock_guard lock(self->mutex_);
        self->messages_.push_back({message, wParam, lParam});
    }
    self->changed_.notify_all();
}

void PlayerProbe::Present(void* owner, const void* pixels, int width, int height, size_t stride) {
    auto* self = static_cast<PlayerProbe*>(owner);
    Frame frame;
    frame.Width = width;
    frame.Height = height;
    frame.Pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const char*>(pixels) +
                                                            static_cast<size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            frame.Pixels[static_cast<size_t>(y) * width + x] = row[x] & kColourMask;
        }
    }
    {
        std::lock_guard lock(self->mutex_);
        ++self->framesPresented_;
        self->pendingFrames_.push_back(std::move(frame));
    }
    self->changed_.notify_all();
}

void PlayerProbe::Size(void* owner, int* width, int* height) {
    auto* self = static_cast<PlayerProbe*>(owner);
    *width = self->width_;
    *height = self->height_;
}

void PlayerProbe::EventFunction(int32_t code, int32_t value1, int32_t) {
    PlayerProbe* self = current_;
    if (!self) {
        return;
    }
    {
        std::lock_guard lock(self->mutex_);
        self->calls_.push_back({code, value1});
    }
    self->changed_.notify_all();
}

bool PlayerProbe::WaitFor(const std::function<bool()>& predicate) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] {
        lock.unlock();
        const bool held = predicate();
        lock.lock();
        return held;
    });
}

bool PlayerProbe::WaitForEvent(uintptr_t code, const std::function<bool(intptr_t)>& value) {
    return WaitFor([&] {
        for (const Message& message : Messages()) {
            if (message.Number == WM_PLAYER_EVENT && message.Code == code && value(message.Value)) {
                return true;
            }
        }
        return false;
    });
}

bool PlayerProbe::WaitForFrame(const std::function<bool(const Frame&)>& predicate, Frame* frame) {
    {
        std::lock_guard lock(mutex_);
        pendingFrames_.clear();
    }
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] {
        for (const Frame& candidate : pendingFrames_) {
            if (predicate(candidate)) {
                if (frame) {
                    *frame = candidate;
                }
                return true;
            }
        }
        pendingFrames_.clear();
        return false;
    });
}

std::vector<PlayerProbe::Message> PlayerProbe::Messages() {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<PlayerProbe::Call> PlayerProbe::Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
}

int PlayerProbe::FramesPresented() {
    std::lock_guard lock(mutex_);
    return framesPresented_;
}

const DeroPlayerFileInfo* PlayerProbe::LoadedRecord() {
    for (const Message& message : Messages()) {
        if (message.Number == WM_PLAYER_EVENT && message.Code == PLAYER_EVENT_LOADED) {
            return reinterpret_cast<const DeroPlayerFileInfo*>(message.Value);
        }
    }
    return nullptr;
}
