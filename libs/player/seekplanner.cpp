#include "seekplanner.h"

namespace dero {

TSeekStep TSeekPlanner::Request(double target) {
    if (Busy()) {
        waiting_ = target;
        return {};
    }
    return Start(TSeekKind::Exact, target);
}

TSeekStep TSeekPlanner::Landed() {
    if (!Busy()) {
        return {};
    }
    if (waiting_) {
        const double target = *waiting_;
        waiting_.reset();
        return Start(TSeekKind::Keyframe, target);
    }
    if (running_.Kind == TSeekKind::Keyframe) {
        return Start(TSeekKind::Exact, running_.Target);
    }
    running_ = {};
    return {};
}

void TSeekPlanner::Reset() {
    running_ = {};
    waiting_.reset();
}

TSeekStep TSeekPlanner::Start(TSeekKind kind, double target) {
    running_ = {kind, target};
    return running_;
}

}  // namespace dero
