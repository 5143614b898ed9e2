#include "mpvcommands.h"

#include <charconv>

namespace dero {

void SendLoadFile(mpv_handle* core, const char* path) {
    const char* args[] = {"loadfile", path, "replace", nullptr};
    mpv_command_async(core, 0, args);
}

void SendStop(mpv_handle* core) {
    const char* args[] = {"stop", nullptr};
    mpv_command_async(core, 0, args);
}

void SendSeek(mpv_handle* core, const TSeekStep& step) {
    if (step.Kind == TSeekKind::None) {
        return;
    }
    // Locale-independent, since the engine parses with a "C" numeric locale.
    char target[64] = {};
    std::to_chars(target, target + sizeof target - 1, step.Target, std::chars_format::fixed, 6);
    const char* flags = step.Kind == TSeekKind::Exact ? "absolute+exact" : "absolute+keyframes";
    const char* args[] = {"seek", target, flags, nullptr};
    mpv_command_async(core, 0, args);
}

void SendFlag(mpv_handle* core, const char* name, bool value) {
    int flag = value ? 1 : 0;
    mpv_set_property_async(core, 0, name, MPV_FORMAT_FLAG, &flag);
}

void SendDouble(mpv_handle* core, const char* name, double value) {
    mpv_set_property_async(core, 0, name, MPV_FORMAT_DOUBLE, &value);
}

}  // namespace dero
