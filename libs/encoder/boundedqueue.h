#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

namespace dero {

// Hands items from one pipeline thread to the next. A full queue blocks the producer, which keeps
// memory flat whatever the speed of each stage; Abort wakes both sides for a prompt stop.
template <typename T>
class TBoundedQueue {
  public:
    explicit TBoundedQueue(std::size_t capacity) : capacity_(capacity) {}

    // False when the queue was aborted; the item is then dropped.
    bool Push(T item) {
        std::unique_lock lock(mutex_);
        notFull_.wait(lock, [&] { return aborted_ || items_.size() < capacity_; });
        if (aborted_) {
            return false;
        }
        items_.push_back(std::move(item));
        notEmpty_.notify_one();
        return true;
    }

    // Empty when the queue was aborted.
    std::optional<T> Pop() {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [&] { return aborted_ || !items_.empty(); });
        if (aborted_) {
            return std::nullopt;
        }
        T item = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return item;
    }

    void Abort() {
        std::lock_guard lock(mutex_);
        aborted_ = true;
        items_.clear();
        notFull_.notify_all();
        notEmpty_.notify_all();
    }

  private:
    const std::size_t capacity_;
    std::mutex mutex_;
    std::condition_variable notFull_;
    std::condition_variable notEmpty_;
    std::deque<T> items_;
    bool aborted_ = false;
};

}  // namespace dero
