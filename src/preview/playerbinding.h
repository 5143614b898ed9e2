#pragma once

// Preview playback: the player binding, the preview panel and its transport.
// Includes platform/, app/, skin/, clips/ and include/.

#include <cstdint>
#include <functional>

#include "dero_window.h"

// The player library as the preview transport sees it: one call per entry of dero_player.h, so
// the transport can be driven by the linked library or by a stand-in. Every call is made on the
// user-interface thread.
class TPlayerBinding {
  public:
    // (code, value1, value2) of the library's event function, delivered on the user-interface
    // thread whatever thread the library called it from.
    using TEventFunction = std::function<void(int32_t code, int32_t value1, int32_t value2)>;

    virtual ~TPlayerBinding() = default;

    virtual bool Init(DeroWindowHandle* window) = 0;
    virtual bool OpenFile(const char* path, int32_t reserved) = 0;
    virtual bool Play(double speed) = 0;
    virtual bool Stop() = 0;
    virtual bool Close() = 0;
    virtual bool Pause() = 0;
    virtual bool SetVideoWindow(DeroWindowHandle* panel, int32_t reserved, int32_t keepAspect) = 0;
    virtual bool Seek(double seconds) = 0;
    virtual bool GetPosition(double* duration, double* seconds, double* percent) = 0;
    // An empty function unregisters.
    virtual bool SetCallback(TEventFunction function) = 0;
};
