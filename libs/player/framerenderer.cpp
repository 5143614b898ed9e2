#include "framerenderer.h"

#include <cstdlib>

#include "videotarget.h"

namespace dero {

namespace {

constexpr std::size_t kAlignment = 64;
// Without a panel the engine still waits for its frames to be taken; they are skipped, but the
// call wants a target.
constexpr int kHiddenSize = 16;

std::size_t AlignUp(std::size_t value) {
    return (value + kAlignment - 1) / kAlignment * kAlignment;
}

}  // namespace

TFrameRenderer::TFrameRenderer(mpv_render_context* context, TVideoTarget& target)
    : context_(context), target_(target) {
    thread_ = std::thread(&TFrameRenderer::Run, this);
    mpv_render_context_set_update_callback(context_, &TFrameRenderer::UpdateThunk, this);
}

TFrameRenderer::~TFrameRenderer() {
    Stop();
}

void TFrameRenderer::Redraw() {
    Wake(true);
}

void TFrameRenderer::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
    // After this the engine no longer calls into this object.
    mpv_render_context_set_update_callback(context_, nullptr, nullptr);
}

void TFrameRenderer::UpdateThunk(void* self) {
    // Called on one of the engine's threads (once at once on the thread that sets it): no
    // engine call here, only a wake-up of the render thread.
    static_cast<TFrameRenderer*>(self)->Wake(false);
}

void TFrameRenderer::Wake(bool redraw) {
    {
        std::lock_guard lock(mutex_);
        update_ = true;
        redraw_ = redraw_ || redraw;
    }
    wake_.notify_one();
}

void TFrameRenderer::Run() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return quit_ || update_; });
        if (quit_) {
            return;
        }
        const bool redraw = redraw_;
        update_ = false;
        redraw_ = false;
        lock.unlock();
        const std::uint64_t flags = mpv_render_context_update(context_);
        if (redraw || (flags & MPV_RENDER_UPDATE_FRAME)) {
            RenderFrame();
        }
        lock.lock();
    }
}

void TFrameRenderer::RenderFrame() {
    int width = 0;
    int height = 0;
    const bool shown = target_.Size(width, height);
    if (!shown) {
        width = kHiddenSize;
        height = kHiddenSize;
    }
    if (!PrepareBuffer(width, height)) {
        return;
    }
    int size[2] = {width, height};
    int skip = shown ? 0 : 1;
    char format[] = "bgr0";
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},         {MPV_RENDER_PARAM_SW_FORMAT, format},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride_},   {MPV_RENDER_PARAM_SW_POINTER, buffer_.get()},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip}, {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_render(context_, params) >= 0 && shown) {
        target_.Present(buffer_.get(), width, height, stride_);
    }
}

bool TFrameRenderer::PrepareBuffer(int width, int height) {
    const std::size_t stride = AlignUp(static_cast<std::size_t>(width) * 4);
    const std::size_t bytes = stride * static_cast<std::size_t>(height);
    if (bytes > capacity_) {
        buffer_.reset(static_cast<std::uint8_t*>(std::aligned_alloc(kAlignment, bytes)));
        capacity_ = buffer_ ? bytes : 0;
    }
    stride_ = stride;
    return buffer_ != nullptr;
}

}  // namespace dero
