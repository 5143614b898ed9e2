#include "playbackstate.h"

namespace dero {

void TPlaybackState::Opening() {
    std::lock_guard lock(mutex_);
    wanted_ = true;
    loaded_ = false;
    seekable_ = false;
    havePosition_ = false;
    entry_ = -1;
    position_ = {};
    planner_.Reset();
}

void TPlaybackState::Released() {
    std::lock_guard lock(mutex_);
    wanted_ = false;
    loaded_ = false;
    havePosition_ = false;
    planner_.Reset();
}

bool TPlaybackState::Active() const {
    std::lock_guard lock(mutex_);
    return wanted_;
}

bool TPlaybackState::Loaded() const {
    std::lock_guard lock(mutex_);
    return loaded_;
}

bool TPlaybackState::Seekable() const {
    std::lock_guard lock(mutex_);
    return loaded_ && seekable_;
}

bool TPlaybackState::Position(TPosition& position) const {
    std::lock_guard lock(mutex_);
    if (!loaded_ || !havePosition_) {
        return false;
    }
    position = position_;
    return true;
}

TSeekStep TPlaybackState::RequestSeek(double target) {
    std::lock_guard lock(mutex_);
    return planner_.Request(target);
}

void TPlaybackState::Started(int64_t entry) {
    std::lock_guard lock(mutex_);
    entry_ = entry;
}

void TPlaybackState::FileLoaded(double duration, bool seekable, bool paused) {
    std::lock_guard lock(mutex_);
    if (!wanted_) {
        return;
    }
    loaded_ = true;
    seekable_ = seekable;
    reportedPause_ = paused;
    position_.Duration = duration;
}

bool TPlaybackState::Ended(int64_t entry) {
    std::lock_guard lock(mutex_);
    const bool ours = wanted_ && entry == entry_;
    if (ours) {
        wanted_ = false;
        loaded_ = false;
        havePosition_ = false;
        planner_.Reset();
    }
    return ours;
}

void TPlaybackState::SetSeconds(double seconds) {
    std::lock_guard lock(mutex_);
    position_.Seconds = seconds;
    havePosition_ = true;
}

void TPlaybackState::SetPercent(double percent) {
    std::lock_guard lock(mutex_);
    position_.Percent = percent;
}

void TPlaybackState::SetDuration(double duration) {
    std::lock_guard lock(mutex_);
    position_.Duration = duration;
}

bool TPlaybackState::PauseChanged(bool paused) {
    std::lock_guard lock(mutex_);
    if (!loaded_ || paused == reportedPause_) {
        return false;
    }
    reportedPause_ = paused;
    return true;
}

TSeekStep TPlaybackState::SeekLanded() {
    std::lock_guard lock(mutex_);
    return planner_.Landed();
}

}  // namespace dero
