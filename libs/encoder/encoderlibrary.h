#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "dero_encoder.h"

namespace dero {

// The state behind the exported entries: the callbacks, and the worker thread of the one
// conversion that may run at a time. The worker lives from the first conversion until UnInit and
// waits for the next job in between, so the caller never waits for a thread to end between clips
// (on a busy machine an ending thread can take a tenth of a second to get a core).
class TEncoderLibrary {
  public:
    static TEncoderLibrary& Instance();

    void Init();
    // Stops a running conversion and waits for its thread, so the library can be unloaded.
    void UnInit();
    void SetInfoCallback(DeroInfoCallback callback) { info_ = callback; }
    void SetPercentCallback(DeroPercentCallback callback) { percent_ = callback; }
    // With a window: starts the conversion on the worker thread and returns 0 at once (non-zero
    // when one is still running); message 1212 follows when it ends. Without a window: converts
    // on the calling thread and returns 0 on success.
    int Convert(const DeroWindowHandle* window, int argc, char** argv);
    void Stop();

  private:
    TEncoderLibrary() = default;
    // Unloading or leaving the process without MyDll_UnInit must not leave a joinable thread.
    ~TEncoderLibrary() { UnInit(); }
    // Claims the single conversion slot; false when a conversion is running.
    bool Claim();
    void Release();
    bool RunJob(const std::vector<std::string>& arguments);
    // The worker thread's loop: takes queued jobs until UnInit asks it to end.
    void Work();
    bool StartWorker();

    struct TQueuedJob {
        std::vector<std::string> arguments;
        DeroWindowHandle window;
    };

    std::atomic<DeroInfoCallback> info_{nullptr};
    std::atomic<DeroPercentCallback> percent_{nullptr};
    std::atomic<bool> stop_{false};
    // Read once per Init from DERO_DECODE_EVERY_PICTURE and DERO_DECODE_FULL_SIZE: tests compare
    // outputs made with and without the decoder's shortcuts.
    std::atomic<bool> decodeEveryPicture_{false};
    std::atomic<bool> decodeFullSize_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool busy_ = false;
    bool quit_ = false;
    std::optional<TQueuedJob> queued_;
    std::thread worker_;
};

}  // namespace dero
