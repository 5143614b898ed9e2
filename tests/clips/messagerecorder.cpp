#include "messagerecorder.h"

#include <algorithm>

intptr_t TMessageRecorder::WindowMessage(uint32_t message, uintptr_t wParam, intptr_t) {
    messages_.push_back({message, wParam});
    return 0;
}

int TMessageRecorder::Count(uint32_t number) const {
    return static_cast<int>(
        std::count_if(messages_.begin(), messages_.end(),
                      [number](const Message& m) { return m.number == number; }));
}

intptr_t TMessageRecorder::LastWParam(uint32_t number) const {
    for (auto it = messages_.rbegin(); it != messages_.rend(); ++it) {
        if (it->number == number) {
            return static_cast<intptr_t>(it->wParam);
        }
    }
    return -1;
}
