#include "callbackrecorder.h"

TCallbackRecorder& TCallbackRecorder::Instance() {
    static TCallbackRecorder recorder;
    return recorder;
}

int TCallbackRecorder::OnInfo(const char* text) {
    std::lock_guard lock(Instance().mutex_);
    Instance().lines_.emplace_back(text ? text : "");
    return 0;
}

int TCallbackRecorder::OnPercent(int32_t percent) {
    std::lock_guard lock(Instance().mutex_);
    Instance().percents_.push_back(percent);
    return 0;
}

void TCallbackRecorder::Clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
    percents_.clear();
}

std::vector<std::string> TCallbackRecorder::Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::vector<int> TCallbackRecorder::Percents() const {
    std::lock_guard lock(mutex_);
    return percents_;
}

std::string TCallbackRecorder::LastLine() const {
    std::lock_guard lock(mutex_);
    return lines_.empty() ? std::string() : lines_.back();
}
