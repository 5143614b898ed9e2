#pragma once

#include <QWidget>
#include <vector>

#include "platform/messagemap.h"

// A parent window that records the messages its controls send it.
class TMessageRecorder : public QWidget, public TMessageMap {
    Q_OBJECT
  public:
    struct Message {
        uint32_t number;
        uintptr_t wParam;
    };

    intptr_t WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    const std::vector<Message>& Messages() const { return messages_; }
    int Count(uint32_t number) const;
    // The wParam of the last message of that number; -1 when there was none.
    intptr_t LastWParam(uint32_t number) const;
    void Clear() { messages_.clear(); }

  private:
    std::vector<Message> messages_;
};
