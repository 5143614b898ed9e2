#include "eventpump.h"

#include <cmath>
#include <cstring>
#include <string>

#include "dero_player.h"
#include "mpvcommands.h"
#include "notifier.h"
#include "playbackstate.h"

namespace dero {

namespace {

// Code 3 hands the program a pointer that it reads later on its own thread, possibly after the
// player has closed. Static records never dangle, and a ring keeps a record unchanged until
// several later files have opened.
constexpr unsigned kRecordCount = 8;
DeroPlayerFileInfo g_records[kRecordCount];
std::atomic<unsigned> g_nextRecord{0};

DeroPlayerFileInfo* NextRecord() {
    return &g_records[g_nextRecord++ % kRecordCount];
}

}  // namespace

TEventPump::TEventPump(mpv_handle* core, TPlaybackState& state, TNotifier& notifier)
    : core_(core), state_(state), notifier_(notifier) {
    mpv_observe_property(core_, 0, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(core_, 0, "percent-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(core_, 0, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(core_, 0, "pause", MPV_FORMAT_FLAG);
    // The decoder's transfer is known only once it has made a picture.
    mpv_observe_property(core_, 0, "video-dec-params/gamma", MPV_FORMAT_STRING);
    // Set up with a file's sound; "null" when every output of the list failed and the engine
    // fell back to its silent one.
    mpv_observe_property(core_, 0, "current-ao", MPV_FORMAT_STRING);
    // Between opening a file and creating its decoders: the moment to choose the filters.
    mpv_hook_add(core_, 0, "on_preloaded", 0);
    thread_ = std::thread(&TEventPump::Run, this);
}

TEventPump::~TEventPump() {
    Stop();
}

void TEventPump::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    quit_ = true;
    mpv_wakeup(core_);
    thread_.join();
}

void TEventPump::Run() {
    while (!quit_) {
        const mpv_event* event = mpv_wait_event(core_, -1);
        if (quit_ || event->event_id == MPV_EVENT_SHUTDOWN) {
            return;
        }
        Handle(*event);
    }
}

void TEventPump::Handle(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_START_FILE:
            state_.Started(static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id);
            notifier_.PostEvent(PLAYER_EVENT_OPENING, 0);
            break;
        case MPV_EVENT_FILE_LOADED:
            FileLoaded();
            break;
        case MPV_EVENT_END_FILE:
            FileEnded(*static_cast<const mpv_event_end_file*>(event.data));
            break;
        case MPV_EVENT_PROPERTY_CHANGE:
            PropertyChanged(*static_cast<const mpv_event_property*>(event.data));
            break;
        case MPV_EVENT_HOOK:
            TurnUpright();
            mpv_hook_continue(core_, static_cast<const mpv_event_hook*>(event.data)->id);
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            SeekLanded();
            break;
        default:
            break;
    }
}

void TEventPump::FileLoaded() {
    // The event thread may wait for the engine; the program's thread never does.
    const double duration = ReadDouble("duration", 0);
    const bool seekable = ReadFlag("seekable", false);
    const bool paused = ReadFlag("pause", true);
    state_.FileLoaded(duration, seekable, paused);
    if (!state_.Loaded()) {
        return;
    }
    DeroPlayerFileInfo* record = NextRecord();
    *record = DeroPlayerFileInfo{};
    record->Duration = duration;
    record->Seekable = seekable ? 1 : 0;
    notifier_.PostEvent(PLAYER_EVENT_LOADED, reinterpret_cast<intptr_t>(record));
    if (!paused) {
        // Play was asked while the file was opening.
        notifier_.PostEvent(PLAYER_EVENT_RUNNING, Milliseconds());
    }
}

void TEventPump::TurnUpright() {
    // The rotation is clockwise degrees; the filters match the ones conversion uses. The engine
    // plays the first video track.
    const int64_t rotation = FirstVideoRotation();
    const char* filter = "";
    toneMapping_.clear();
    switch (((rotation % 360) + 360) % 360) {
        case 90:
            filter = "lavfi=[transpose=clock]";
            break;
        case 180:
            filter = "lavfi=[hflip,vflip]";
            break;
        case 270:
            filter = "lavfi=[transpose=cclock]";
            break;
        default:
            break;
    }
    upright_ = filter;
    ApplyFilters();
}

// The software renderer clips HDR pictures to SDR white, which blows out everything brighter:
// PQ and HLG pictures get the tone mapping the conversion uses, after a scale-down that keeps
// its cost at preview size. Setting the filters restarts them, and their own output is SDR, so
// this happens once per file.
void TEventPump::DecoderGammaChanged(const char* gamma) {
    const bool pq = std::strcmp(gamma, "pq") == 0;
    if (!toneMapping_.empty() || (!pq && std::strcmp(gamma, "hlg") != 0)) {
        return;
    }
    toneMapping_ = std::string("lavfi=[scale=w=min(640\\,iw):h=-2,format=yuv420p10le,zscale=tin=") +
                   (pq ? "smpte2084" : "arib-std-b67") +
                   ":min=2020_ncl:pin=2020:rin=tv:t=linear:npl=100,format=gbrpf32le,zscale=p=709,"
                   "tonemap=tonemap=hable:desat=0:peak=" +
                   (pq ? "100" : "10") + ",zscale=t=709:m=170m:r=tv,format=yuv420p]";
    ApplyFilters();
}

void TEventPump::AudioOutputChanged(const char* output) {
    const bool silent = std::strcmp(output, "null") == 0;
    if (silent && !silent_) {
        notifier_.CallEvent(PLAYER_CALL_SILENT, 0, 0);
    }
    silent_ = silent;
}

void TEventPump::ApplyFilters() {
    std::string filters = upright_;
    if (!toneMapping_.empty()) {
        filters += (filters.empty() ? "" : ",") + toneMapping_;
    }
    mpv_set_property_string(core_, "vf", filters.c_str());
}

void TEventPump::FileEnded(const mpv_event_end_file& end) {
    if (!state_.Ended(end.playlist_entry_id)) {
        return;
    }
    if (end.reason == MPV_END_FILE_REASON_EOF) {
        notifier_.PostEvent(PLAYER_EVENT_RUNNING, PLAYER_VALUE_GONE);
        notifier_.CallEvent(PLAYER_CALL_END, 0, 0);
    } else if (end.reason == MPV_END_FILE_REASON_ERROR) {
        notifier_.PostEvent(PLAYER_EVENT_SEEK, PLAYER_VALUE_GONE);
        notifier_.CallEvent(PLAYER_CALL_ERROR, end.error, 0);
    }
}

void TEventPump::PropertyChanged(const mpv_event_property& property) {
    const bool known = property.format != MPV_FORMAT_NONE && property.data;
    if (std::strcmp(property.name, "pause") == 0) {
        const bool paused = known && *static_cast<const int*>(property.data) != 0;
        if (known && state_.PauseChanged(paused)) {
            notifier_.PostEvent(paused ? PLAYER_EVENT_PAUSED : PLAYER_EVENT_RUNNING,
                                paused ? 0 : Milliseconds());
        }
        return;
    }
    if (!known) {
        return;
    }
    if (property.format == MPV_FORMAT_STRING) {
        const char* text = *static_cast<const char* const*>(property.data);
        if (std::strcmp(property.name, "current-ao") == 0) {
            AudioOutputChanged(text);
        } else {
            DecoderGammaChanged(text);
        }
        return;
    }
    const double value = *static_cast<const double*>(property.data);
    if (std::strcmp(property.name, "time-pos") == 0) {
        state_.SetSeconds(value);
    } else if (std::strcmp(property.name, "percent-pos") == 0) {
        state_.SetPercent(value);
    } else if (std::strcmp(property.name, "duration") == 0) {
        state_.SetDuration(value);
    }
}

void TEventPump::SeekLanded() {
    // The observed position lags a seek; read the landed one now, so a poll right after the
    // code 2 sees where the seek went.
    state_.SetSeconds(ReadDouble("time-pos", 0));
    state_.SetPercent(ReadDouble("percent-pos", 0));
    const TSeekStep next = state_.SeekLanded();
    SendSeek(core_, next);
    if (state_.Loaded()) {
        notifier_.PostEvent(PLAYER_EVENT_SEEK, Milliseconds());
    }
}

int64_t TEventPump::FirstVideoRotation() {
    int64_t count = 0;
    mpv_get_property(core_, "track-list/count", MPV_FORMAT_INT64, &count);
    for (int64_t track = 0; track < count; ++track) {
        const std::string prefix = "track-list/" + std::to_string(track) + "/";
        char* type = mpv_get_property_string(core_, (prefix + "type").c_str());
        const bool video = type && std::strcmp(type, "video") == 0;
        mpv_free(type);
        if (video) {
            int64_t rotation = 0;
            mpv_get_property(core_, (prefix + "demux-rotation").c_str(), MPV_FORMAT_INT64,
                             &rotation);
            return rotation;
        }
    }
    return 0;
}

double TEventPump::ReadDouble(const char* name, double fallback) {
    double value = 0;
    if (mpv_get_property(core_, name, MPV_FORMAT_DOUBLE, &value) < 0 || !std::isfinite(value)) {
        return fallback;
    }
    return value;
}

bool TEventPump::ReadFlag(const char* name, bool fallback) {
    int value = 0;
    if (mpv_get_property(core_, name, MPV_FORMAT_FLAG, &value) < 0) {
        return fallback;
    }
    return value != 0;
}

intptr_t TEventPump::Milliseconds() {
    TPosition position;
    if (!state_.Position(position) || position.Seconds < 0) {
        return 0;
    }
    return static_cast<intptr_t>(std::llround(position.Seconds * 1000));
}

}  // namespace dero
