#pragma once

#include "mpvhandles.h"
#include "seekplanner.h"

namespace dero {

// Requests to the engine that never wait for it: each is queued and answered later by events.
// Safe from any thread.
void SendLoadFile(mpv_handle* core, const char* path);
void SendStop(mpv_handle* core);
void SendSeek(mpv_handle* core, const TSeekStep& step);
void SendFlag(mpv_handle* core, const char* name, bool value);
void SendDouble(mpv_handle* core, const char* name, double value);

}  // namespace dero
