#pragma once

#include <memory>

#include "eventpump.h"
#include "framerenderer.h"
#include "mpvhandles.h"
#include "playbackstate.h"

namespace dero {

class TNotifier;
class TVideoTarget;

// One running player: the engine with its software render context, the event thread and the
// render thread. Commands come from the program's thread and never wait for the engine.
class TPlayer {
  public:
    // Null when the engine cannot start.
    static std::unique_ptr<TPlayer> Start(TNotifier& notifier, TVideoTarget& target,
                                          bool keepAspect);
    // Joins the library's threads, then frees the render context and the engine, in the order
    // the engine requires.
    ~TPlayer();
    TPlayer(const TPlayer&) = delete;
    TPlayer& operator=(const TPlayer&) = delete;

    void Open(const char* path);
    bool Play(double speed);
    void Stop();
    bool Pause();
    bool Seek(double seconds);
    bool Position(TPosition& position) const { return state_.Position(position); }
    void SetKeepAspect(bool keepAspect);
    void Redraw() { renderer_->Redraw(); }

  private:
    TPlayer(TMpvCore core, TMpvRenderContext context, TNotifier& notifier, TVideoTarget& target);

    // Declared in teardown order, last first: the threads end before the context, the context
    // goes before the core.
    TMpvCore core_;
    TMpvRenderContext context_;
    TPlaybackState state_;
    std::unique_ptr<TEventPump> pump_;
    std::unique_ptr<TFrameRenderer> renderer_;
};

}  // namespace dero
