#include "windowhandle.h"

#include <QCoreApplication>
#include <stdexcept>

#include "messagemap.h"

TMessageEvent::TMessageEvent(uint32_t message, uintptr_t wParam, intptr_t lParam)
    : QEvent(static_cast<QEvent::Type>(message)), wParam_(wParam), lParam_(lParam) {}

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
    // Qt's event types are limited to User..MaxUser; every message of ours lies inside.
    if (message < QEvent::User || message > QEvent::MaxUser) {
        return;
    }
    QCoreApplication::postEvent(this, new TMessageEvent(message, wParam, lParam));
}

void TWindowHandle::PostThunk(void* owner, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    static_cast<TWindowHandle*>(owner)->Post(message, wParam, lParam);
}

bool TWindowHandle::event(QEvent* event) {
    if (event->type() >= QEvent::User && event->type() <= QEvent::MaxUser) {
        auto* message = static_cast<TMessageEvent*>(event);
        map_->WindowMessage(message->Message(), message->WParam(), message->LParam());
        return true;
    }
    return QObject::event(event);
}
