// A notify target for tests: records every message the engine posts and lets the test wait for
// a number of them. Also a thread factory that cannot make threads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "engine/notify_target.h"
#include "engine/worker_thread.h"

namespace orvanel::test {

struct PostedMessage {
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

class RecordingNotifyTarget final : public engine::NotifyTarget {
 public:
  void PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  // Records the result, then the message as PostMessage does.
  void PostResult(std::uint32_t message, const engine::UtteranceResult& result) override;
  std::vector<engine::UtteranceResult> Results() const;

  // Waits until at least n messages have been posted; false on time-out.
  bool WaitFor(std::size_t n, std::chrono::milliseconds timeout) const;
  std::size_t Count() const;
  std::vector<PostedMessage> Messages() const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable posted_;
  std::vector<PostedMessage> messages_;
  std::vector<engine::UtteranceResult> results_;
};

class FailingThreadFactory final : public engine::ThreadFactory {
 public:
  std::unique_ptr<engine::WorkerThread> CreateSuspended(std::function<int()> runLoop,
                                                        std::string& error) override;
};

}  // namespace orvanel::test
