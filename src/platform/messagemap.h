#pragma once

#include <cstdint>

class QObject;

// A window that answers numbered messages. Windows and panels that receive messages from
// controls or libraries inherit it beside their Qt base class.
class TMessageMap {
  public:
    virtual ~TMessageMap() = default;
    // Handles one message on the user-interface thread; unknown messages return 0.
    virtual intptr_t WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

// Delivers a message synchronously to window's message map (user-interface thread only).
// Returns 0 when window is null or has no message map.
intptr_t SendMessage(QObject* window, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
