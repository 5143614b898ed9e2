#pragma once

#include <mutex>

// The receiver a context-free library callback reaches: the callback is a plain function, so the
// receiver can only be found in one place for the whole process (see queuedcall.h for the rules).
// One receiver at a time, the one registered last.
//
// Set, Clear and Holds run on the user-interface thread; Reach on any thread. Reach holds the
// lock while it hands the receiver over, and a receiver clears itself before it is destroyed, so
// a callback never reaches a receiver that is gone.
template <typename Receiver>
class TCallbackRegistry {
  public:
    void Set(Receiver* receiver) {
        std::lock_guard lock(mutex_);
        receiver_ = receiver;
    }
    // False, changing nothing, when receiver is not the registered one.
    bool Clear(const Receiver* receiver) {
        std::lock_guard lock(mutex_);
        if (receiver_ != receiver) {
            return false;
        }
        receiver_ = nullptr;
        return true;
    }
    bool Holds(const Receiver* receiver) const {
        std::lock_guard lock(mutex_);
        return receiver_ == receiver;
    }
    // Any thread: reach(receiver) when one is registered. reach only copies and queues.
    template <typename Use>
    void Reach(Use&& reach) const {
        std::lock_guard lock(mutex_);
        if (receiver_) {
            reach(receiver_);
        }
    }

  private:
    mutable std::mutex mutex_;
    Receiver* receiver_ = nullptr;
};
