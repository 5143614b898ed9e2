// The exported entries, C linkage, each defined against its declaration in dero_player.h.
// Nothing thrown inside the library crosses them.
#include <cstddef>
#include <memory>
#include <new>

#include "dero_player.h"
#include "notifier.h"
#include "player.h"
#include "videotarget.h"

static_assert(offsetof(DeroPlayerFileInfo, Duration) == 0);
static_assert(offsetof(DeroPlayerFileInfo, Seekable) == 8);
static_assert(sizeof(DeroPlayerFileInfo) == 16);

namespace {

// All called from the program's one thread; the player's own threads reach the notifier and
// the video target, which lock for themselves.
dero::TNotifier g_notifier;
dero::TVideoTarget g_target;
bool g_keepAspect = true;
std::unique_ptr<dero::TPlayer> g_player;

int32_t Flag(bool value) {
    return value ? 1 : 0;
}

}  // namespace

extern "C" {

int32_t PlayerInit(DeroWindowHandle* window) {
    if (!window) {
        return 0;
    }
    g_notifier.SetWindow(window);
    if (g_player) {
        return 1;
    }
    try {
        g_player = dero::TPlayer::Start(g_notifier, g_target, g_keepAspect);
    } catch (const std::exception&) {
        g_player.reset();
    }
    if (!g_player) {
        return 0;
    }
    g_notifier.PostHook();
    return 1;
}

int32_t PlayerOpenFile(const char* path, int32_t) {
    if (!g_player || !path) {
        return 0;
    }
    g_player->Open(path);
    return 1;
}

int32_t PlayerPlay(double speed) {
    return Flag(g_player && g_player->Play(speed));
}

int32_t PlayerStop(void) {
    if (g_player) {
        g_player->Stop();
    }
    return 1;
}

int32_t PlayerClose(void) {
    g_player.reset();
    return 1;
}

int32_t PlayerPause(void) {
    return Flag(g_player && g_player->Pause());
}

int32_t PlayerSetVideoWindow(DeroWindowHandle* panel, int32_t, int32_t keepAspect) {
    g_target.SetPanel(panel);
    g_keepAspect = (keepAspect & 0xff) != 0;
    if (g_player) {
        g_player->SetKeepAspect(g_keepAspect);
        g_player->Redraw();
    }
    return 1;
}

int32_t PlayerSeek(double seconds) {
    return Flag(g_player && g_player->Seek(seconds));
}

int32_t PlayerGetPosition(double* duration, double* seconds, double* percent) {
    dero::TPosition position;
    if (!g_player || !g_player->Position(position)) {
        return 0;
    }
    if (duration) {
        *duration = position.Duration;
    }
    if (seconds) {
        *seconds = position.Seconds;
    }
    if (percent) {
        *percent = position.Percent;
    }
    return 1;
}

int32_t PlayerSetCallback(DeroPlayerEventFunction* function) {
    g_notifier.SetEventFunction(function);
    return 1;
}

}  // extern "C"
