#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

#include <memory>

namespace dero {

// Owners of the media engine's objects. A core is destroyed with mpv_terminate_destroy, which
// also ends its threads; a render context must be freed before its core.
struct TMpvCoreDeleter {
    void operator()(mpv_handle* core) const { mpv_terminate_destroy(core); }
};
using TMpvCore = std::unique_ptr<mpv_handle, TMpvCoreDeleter>;

struct TMpvRenderContextDeleter {
    void operator()(mpv_render_context* context) const { mpv_render_context_free(context); }
};
using TMpvRenderContext = std::unique_ptr<mpv_render_context, TMpvRenderContextDeleter>;

}  // namespace dero
