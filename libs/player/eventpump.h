#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "mpvhandles.h"

namespace dero {

class TNotifier;
class TPlaybackState;

// The library's event thread: drains the engine's events, keeps the playback state and turns
// the events into the notifications that include/dero_player.h lists.
class TEventPump {
  public:
    TEventPump(mpv_handle* core, TPlaybackState& state, TNotifier& notifier);
    ~TEventPump();
    TEventPump(const TEventPump&) = delete;
    TEventPump& operator=(const TEventPump&) = delete;

    // Ends and joins the thread; idempotent. The core must still exist.
    void Stop();

  private:
    void Run();
    void Handle(const mpv_event& event);
    void FileLoaded();
    void TurnUpright();
    void DecoderGammaChanged(const char* gamma);
    void AudioOutputChanged(const char* output);
    void ApplyFilters();
    int64_t FirstVideoRotation();
    void FileEnded(const mpv_event_end_file& end);
    void PropertyChanged(const mpv_event_property& property);
    void SeekLanded();
    double ReadDouble(const char* name, double fallback);
    bool ReadFlag(const char* name, bool fallback);
    intptr_t Milliseconds();

    mpv_handle* core_;
    TPlaybackState& state_;
    TNotifier& notifier_;
    // Event thread only: the current file's filters.
    std::string upright_;
    std::string toneMapping_;
    // Event thread only: the sound goes to the engine's silent output.
    bool silent_ = false;
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

}  // namespace dero
