#include "windowhandle.h"

#include <stdexcept>

#include "messagemap.h"
#include "queuedcall.h"

TWindowHandle::TWindowHandle(QObject* window)
    : QObject(window), map_(dynamic_cast<TMessageMap*>(window)) {
    if (!map_) {
        throw std::logic_error("a window handle needs a window with a message map");
    }
    handle_.owner = this;
    handle_.post = &TWindowHandle::PostThunk;
}

TWindowHandle::~TWindowHandle() = default;

void TWindowHandle::Post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    // Any thread: the three numbers are copied into the call; the map is used on its thread only.
    QueueCall(this, [map = map_, message, wParam, lParam] {
        map->WindowMessage(message, wParam, lParam);
    });
}

void TWindowHandle::PostThunk(void* owner, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    static_cast<TWindowHandle*>(owner)->Post(message, wParam, lParam);
}
