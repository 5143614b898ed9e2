#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

#include "dero_window.h"

class TMessageMap;

// The handle a window gives to a library. Messages posted through it from any thread arrive,
// in order, at the window's message map on the user-interface thread as Qt events whose type is
// the message number. The handle is a child of its window and dies with it; the window must
// stop every library that holds the handle before it is destroyed.
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
    bool event(QEvent* event) override;
    DeroWindowHandle handle_{};

  private:
    static void PostThunk(void* owner, uint32_t message, uintptr_t wParam, intptr_t lParam);
    TMessageMap* map_;
};

// A posted message in flight; its event type is the message number.
class TMessageEvent : public QEvent {
  public:
    TMessageEvent(uint32_t message, uintptr_t wParam, intptr_t lParam);
    uint32_t Message() const { return static_cast<uint32_t>(type()); }
    uintptr_t WParam() const { return wParam_; }
    intptr_t LParam() const { return lParam_; }

  private:
    uintptr_t wParam_;
    intptr_t lParam_;
};
