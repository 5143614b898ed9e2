#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "dero_player.h"

// Stands in for the program around the player library: a main window that records the posted
// messages, a panel of a fixed size that keeps the frames presented to it, and the event
// function's calls. Everything arrives on the library's threads and is copied under one lock.
class PlayerProbe {
  public:
    struct Message {
        uint32_t Number = 0;
        uintptr_t Code = 0;
        intptr_t Value = 0;
    };
    struct Call {
        int32_t Code = 0;
        int32_t Value = 0;
    };
    struct Frame {
        int Width = 0;
        int Height = 0;
        // 0xffRRGGBB words with the X byte cleared, row after row.
        std::vector<uint32_t> Pixels;
        uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
        bool RowBlack(int y) const;
        bool ColumnBlack(int x) const;
    };

    PlayerProbe(int panelWidth, int panelHeight);
    ~PlayerProbe();

    DeroWindowHandle* Window() { return &window_; }
    DeroWindowHandle* Panel() { return &panel_; }

    // Waits (up to a generous bound, so a broken player fails instead of hanging) until the
    // predicate holds for what has arrived; true when it did.
    bool WaitFor(const std::function<bool()>& predicate);
    bool WaitForEvent(uintptr_t code, const std::function<bool(intptr_t)>& value);
    // A frame presented after the call whose pixels satisfy the predicate.
    bool WaitForFrame(const std::function<bool(const Frame&)>& predicate, Frame* frame = nullptr);

    std::vector<Message> Messages();
    std::vector<Call> Calls();
    int FramesPresented();
    const DeroPlayerFileInfo* LoadedRecord();

    static void EventFunction(int32_t code, int32_t value1, int32_t value2);

  private:
    static void Post(void* owner, uint32_t message, uintptr_t wParam, intptr_t lParam);
    static void Present(void* owner, const void* pixels, int width, int height, size_t stride);
    static void Size(void* owner, int* width, int* height);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Message> messages_;
    std::vector<Call> calls_;
    std::vector<Frame> pendingFrames_;
    int framesPresented_ = 0;
    int width_;
    int height_;
    DeroWindowHandle window_{};
    DeroWindowHandle panel_{};
    static PlayerProbe* current_;
};
