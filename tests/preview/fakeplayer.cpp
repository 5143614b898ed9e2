#include "fakeplayer.h"

bool FakePlayer::Init(DeroWindowHandle* window) {
    state_.calls.push_back("Init");
    state_.initWindow = window;
    return state_.initResult;
}

bool FakePlayer::OpenFile(const char* path, int32_t) {
    state_.calls.push_back(std::string("OpenFile ") + path);
    return true;
}

bool FakePlayer::Play(double) {
    state_.calls.push_back("Play");
    if (state_.onPlay) {
        state_.onPlay();
    }
    return state_.playResult;
}

bool FakePlayer::Stop() {
    state_.calls.push_back("Stop");
    return true;
}

bool FakePlayer::Close() {
    state_.calls.push_back("Close");
    return true;
}

bool FakePlayer::Pause() {
    state_.calls.push_back("Pause");
    return true;
}

bool FakePlayer::SetVideoWindow(DeroWindowHandle* panel, int32_t, int32_t keepAspect) {
    state_.calls.push_back("SetVideoWindow");
    state_.videoWindow = panel;
    state_.keepAspect = keepAspect;
    return true;
}

bool FakePlayer::Seek(double seconds) {
    state_.calls.push_back("Seek");
    state_.seeks.push_back(seconds);
    if (state_.onSeek) {
        state_.onSeek();
    }
    return true;
}

bool FakePlayer::GetPosition(double* duration, double* seconds, double* percent) {
    state_.calls.push_back("GetPosition");
    if (!state_.positionResult) {
        return false;
    }
    *duration = 0;
    *seconds = state_.seconds;
    *percent = state_.percent;
    return true;
}

bool FakePlayer::SetCallback(TEventFunction function) {
    state_.calls.push_back("SetCallback");
    state_.function = std::move(function);
    return true;
}
