#include "messagemap.h"

#include <QObject>

intptr_t SendMessage(QObject* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    auto* map = dynamic_cast<TMessageMap*>(window);
    return map ? map->WindowMessage(message, wParam, lParam) : 0;
}
