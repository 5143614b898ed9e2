#pragma once

#include <functional>
#include <string>
#include <vector>

#include "preview/playerbinding.h"

// Stands in for the player library: records each call by entry name (OpenFile with its path)
// and answers as told. Optional hooks run inside a call, to stage nested calls.
class FakePlayer : public TPlayerBinding {
  public:
    struct State {
        std::vector<std::string> calls;
        bool initResult = true;
        bool playResult = false;
        bool positionResult = true;
        double seconds = 0;
        double percent = 0;
        std::vector<double> seeks;
        DeroWindowHandle* initWindow = nullptr;
        DeroWindowHandle* videoWindow = nullptr;
        int keepAspect = -1;
        TEventFunction function;
        std::function<void()> onPlay;
        std::function<void()> onSeek;
    };

    // The state outlives the fake, which the transport owns.
    explicit FakePlayer(State& state) : state_(state) {}

    bool Init(DeroWindowHandle* window) override;
    bool OpenFile(const char* path, int32_t reserved) override;
    bool Play(double speed) override;
    bool Stop() override;
    bool Close() override;
    bool Pause() override;
    bool SetVideoWindow(DeroWindowHandle* panel, int32_t reserved, int32_t keepAspect) override;
    bool Seek(double seconds) override;
    bool GetPosition(double* duration, double* seconds, double* percent) override;
    bool SetCallback(TEventFunction function) override;

  private:
    State& state_;
};
