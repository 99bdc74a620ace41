#include "tests/support/recording_notify_target.h"

namespace orvanel::test {

void RecordingNotifyTarget::PostMessage(std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back({message, wParam, lParam});
  }
  posted_.notify_all();
}

void RecordingNotifyTarget::PostResult(std::uint32_t message,
                                       const engine::UtteranceResult& result) {
  {
    std::lock_guard lock(mutex_);
    results_.push_back(result);
  }
  PostMessage(message, 0, 0);
}

std::vector<engine::UtteranceResult> RecordingNotifyTarget::Results() const {
  std::lock_guard lock(mutex_);
  return results_;
}

bool RecordingNotifyTarget::WaitFor(std::size_t n, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return posted_.wait_for(lock, timeout, [&] { return messages_.size() >= n; });
}

std::size_t RecordingNotifyTarget::Count() const {
  std::lock_guard lock(mutex_);
  return messages_.size();
}

std::vector<PostedMessage> RecordingNotifyTarget::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::unique_ptr<engine::WorkerThread> FailingThreadFactory::CreateSuspended(std::function<int()>,
                                                                            std::string&) {
  return nullptr;
}

}  // namespace orvanel::test
