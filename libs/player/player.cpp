#include "player.h"

#include <clocale>
#include <cstring>

#include "mpvcommands.h"
#include "singlefilesource.h"

namespace dero {

namespace {

// Before initialisation: the picture goes to our render context, never to a window of the
// engine's own; nothing of the user's configuration, scripts or saved positions is read (the
// built-in scripts would also run threads that outlive the engine); the file opens paused, since
// playback begins only when the program asks. Sound tries the desktop's servers, then nothing. The
// software renderer fails on rotated pictures (the engine hands it rotation it cannot do), so the
// engine's own rotation is off and the event thread turns each file upright with a filter.
const char* const kOptions[][2] = {
    {"vo", "libmpv"},           {"hwdec", "no"},
    {"ao", "pulse,alsa,null"},  {"audio-fallback-to-null", "yes"},
    {"config", "no"},           {"resume-playback", "no"},
    {"osd-level", "0"},         {"input-default-bindings", "no"},
    {"keep-open", "no"},        {"idle", "yes"},
    {"pause", "yes"},           {"audio-display", "no"},
    {"terminal", "no"},         {"msg-level", "all=no"},
    {"video-rotate", "no"},     {"load-stats-overlay", "no"},
    {"load-osd-console", "no"}, {"load-auto-profiles", "no"},
};

TMpvCore CreateCore(bool keepAspect) {
    // The engine refuses to start under a numeric locale other than "C"; the program's toolkit
    // may have set one from the environment. The toolkit's own number texts do not depend on it.
    if (const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
        !numeric || std::strcmp(numeric, "C") != 0) {
        std::setlocale(LC_NUMERIC, "C");
    }
    TMpvCore core(mpv_create());
    if (!core) {
        return nullptr;
    }
    for (const auto& option : kOptions) {
        mpv_set_option_string(core.get(), option[0], option[1]);
    }
    TSingleFileSource::Confine(core.get());
    mpv_set_option_string(core.get(), "keepaspect", keepAspect ? "yes" : "no");
    if (mpv_initialize(core.get()) < 0) {
        return nullptr;
    }
    return core;
}

TMpvRenderContext CreateRenderContext(mpv_handle* core) {
    char api[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, api},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* context = nullptr;
    if (mpv_render_context_create(&context, core, params) < 0) {
        return nullptr;
    }
    return TMpvRenderContext(context);
}

}  // namespace

std::unique_ptr<TPlayer> TPlayer::Start(TNotifier& notifier, TVideoTarget& target,
                                        bool keepAspect) {
    TMpvCore core = CreateCore(keepAspect);
    if (!core) {
        return nullptr;
    }
    TMpvRenderContext context = CreateRenderContext(core.get());
    if (!context) {
        return nullptr;
    }
    return std::unique_ptr<TPlayer>(
        new TPlayer(std::move(core), std::move(context), notifier, target));
}

TPlayer::TPlayer(TMpvCore core, TMpvRenderContext context, TNotifier& notifier,
                 TVideoTarget& target)
    : core_(std::move(core)), context_(std::move(context)) {
    pump_ = std::make_unique<TEventPump>(core_.get(), state_, notifier);
    renderer_ = std::make_unique<TFrameRenderer>(context_.get(), target);
}

TPlayer::~TPlayer() {
    renderer_->Stop();
    pump_->Stop();
    renderer_.reset();
    pump_.reset();
    context_.reset();
    core_.reset();
}

void TPlayer::Open(const char* path) {
    state_.Opening();
    SendFlag(core_.get(), "pause", true);
    SendLoadFile(core_.get(), TSingleFileSource::EngineName(path).c_str());
}

bool TPlayer::Play(double speed) {
    if (!state_.Active()) {
        return false;
    }
    SendDouble(core_.get(), "speed", speed > 0 ? speed : 1.0);
    SendFlag(core_.get(), "pause", false);
    return true;
}

void TPlayer::Stop() {
    state_.Released();
    SendStop(core_.get());
}

bool TPlayer::Pause() {
    if (!state_.Active()) {
        return false;
    }
    SendFlag(core_.get(), "pause", true);
    return true;
}

bool TPlayer::Seek(double seconds) {
    if (!state_.Seekable()) {
        return false;
    }
    SendSeek(core_.get(), state_.RequestSeek(seconds < 0 ? 0 : seconds));
    return true;
}

void TPlayer::SetKeepAspect(bool keepAspect) {
    SendFlag(core_.get(), "keepaspect", keepAspect);
}

}  // namespace dero
