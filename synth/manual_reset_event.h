// A manual-reset event: once set it stays set, waking every waiter, until it is reset.
// Used for the engine's start, stop and quit events and for the done signal of playback.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace orvanel::synth {

class ManualResetEvent {
 public:
  ManualResetEvent() = default;
  ManualResetEvent(const ManualResetEvent&) = delete;
  ManualResetEvent& operator=(const ManualResetEvent&) = delete;

  void Set() {
    {
      std::lock_guard lock(mutex_);
      set_ = true;
    }
    cv_.notify_all();
  }
  void Reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
  }
  // Tests without waiting (a wait with time-out 0).
  bool IsSet() const {
    std::lock_guard lock(mutex_);
    return set_;
  }
  // Waits up to timeout; true when the event is set.
  bool Wait(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, timeout, [this] { return set_; });
  }
  // Waits without time limit.
  void Wait() const {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return set_; });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable cv_;
  bool set_ = false;
};

}  // namespace orvanel::synth
