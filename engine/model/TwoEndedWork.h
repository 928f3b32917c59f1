// Work items 0 .. count-1 shared by two threads: one takes them from the front, the other from
// the back, until they meet. Each thread's items are then contiguous and in order (the back
// thread's in reverse), so its results can be appended after the front thread's in item order.
#pragma once

#include <cstdint>
#include <mutex>

namespace keldrin {

class TwoEndedWork {
  public:
    explicit TwoEndedWork(uint64_t count) : end_(count) {}

    // The next item for the thread at that end; false once none is left.
    bool Take(bool fromFront, uint64_t& item) {
        std::lock_guard lock(mutex_);
        if (front_ >= end_) return false;
        item = fromFront ? front_++ : --end_;
        return true;
    }

  private:
    std::mutex mutex_;
    uint64_t front_ = 0;
    uint64_t end_;  // items [front_, end_) are still free
};

}  // namespace keldrin
