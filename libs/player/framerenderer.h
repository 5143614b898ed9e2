#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "mpvhandles.h"

namespace dero {

class TVideoTarget;

// The library's render thread: renders each new frame in software at the panel's size and
// presents it. The engine's update callback only wakes this thread; every render call happens
// here. Rendering blocks until a frame's display time, which paces presentation.
class TFrameRenderer {
  public:
    // context must outlive the renderer; target outlives everything.
    TFrameRenderer(mpv_render_context* context, TVideoTarget& target);
    ~TFrameRenderer();
    TFrameRenderer(const TFrameRenderer&) = delete;
    TFrameRenderer& operator=(const TFrameRenderer&) = delete;

    // Renders the current frame again, e.g. for a new panel while paused. Any thread.
    void Redraw();
    // Ends and joins the thread and unhooks the engine's callback; idempotent.
    void Stop();

  private:
    struct TFreeDeleter {
        void operator()(std::uint8_t* block) const { std::free(block); }
    };

    static void UpdateThunk(void* self);
    void Wake(bool redraw);
    void Run();
    void RenderFrame();
    bool PrepareBuffer(int width, int height);

    mpv_render_context* context_;
    TVideoTarget& target_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool update_ = false;
    bool redraw_ = false;
    bool quit_ = false;
    // Render-thread only.
    std::unique_ptr<std::uint8_t, TFreeDeleter> buffer_;
    std::size_t capacity_ = 0;
    std::size_t stride_ = 0;
    std::thread thread_;
};

}  // namespace dero
