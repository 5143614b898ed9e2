#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <thread>
#include <vector>

#include "platform/messagemap.h"
#include "platform/windowhandle.h"

namespace {

struct Received {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    bool onUiThread;
};

class RecordingWindow : public QWidget, public TMessageMap {
  public:
    intptr_t WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        received.push_back({message, wParam, lParam, QThread::currentThread() == thread()});
        return static_cast<intptr_t>(wParam) + lParam;
    }
    std::vector<Received> received;
};

void ProcessUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

}  // namespace

TEST(WindowHandle, MessagesPostedFromAWorkerArriveOnceInOrderOnTheUiThread) {
    RecordingWindow window;
    auto* handle = new TWindowHandle(&window);
    DeroWindowHandle* raw = handle->Handle();

    std::thread worker([raw] {
        for (int i = 0; i < 100; ++i) {
            DeroPostMessage(raw, WM_CONVERT_NEXT, static_cast<uintptr_t>(i), -i);
        }
        DeroPostMessage(raw, WM_PLAYER_EVENT, 3, 7);
    });
    worker.join();
    // Nothing arrives before the UI thread runs its queue.
    EXPECT_TRUE(window.received.empty());

    ProcessUntil([&] { return window.received.size() >= 101; });
    QCoreApplication::processEvents();
    ASSERT_EQ(window.received.size(), 101u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(window.received[i].message, static_cast<uint32_t>(WM_CONVERT_NEXT));
        EXPECT_EQ(window.received[i].wParam, static_cast<uintptr_t>(i));
        EXPECT_EQ(window.received[i].lParam, -i);
        EXPECT_TRUE(window.received[i].onUiThread);
    }
    EXPECT_EQ(window.received[100].message, static_cast<uint32_t>(WM_PLAYER_EVENT));
}

TEST(WindowHandle, SendMessageIsSynchronousAndReturnsTheAnswer) {
    RecordingWindow window;
    EXPECT_EQ(SendMessage(&window, WM_RANGE_MARKER, 1, 2), 3);
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].message, static_cast<uint32_t>(WM_RANGE_MARKER));

    QWidget plain;  // no message map: nothing happens
    EXPECT_EQ(SendMessage(&plain, WM_RANGE_MARKER, 1, 2), 0);
    EXPECT_EQ(SendMessage(nullptr, WM_RANGE_MARKER, 1, 2), 0);
}

TEST(WindowHandle, NeedsAWindowWithAMessageMap) {
    QWidget plain;
    EXPECT_THROW(TWindowHandle handle(&plain), std::logic_error);
}
