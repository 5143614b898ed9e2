#pragma once

#include <QObject>

#include "dero_window.h"

class TMessageMap;

// The handle a window gives to a library. Messages posted through it from any thread arrive,
// in order, at the window's message map on the user-interface thread, each a queued call with
// the handle as its context (queuedcall.h). The handle is a child of its window and dies with
// it, dropping what is still queued; the window must stop every library that holds the handle
// before it is destroyed.
class TWindowHandle : public QObject {
    Q_OBJECT
  public:
    // window must also be a TMessageMap.
    explicit TWindowHandle(QObject* window);
    ~TWindowHandle() override;

    DeroWindowHandle* Handle() { return &handle_; }
    // Same as a library's post: safe from any thread.
    void Post(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

  protected:
    DeroWindowHandle handle_{};

  private:
    static void PostThunk(void* owner, uint32_t message, uintptr_t wParam, intptr_t lParam);
    TMessageMap* map_;
};
