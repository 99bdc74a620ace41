// The engine's worker thread on Linux: a std::thread that starts suspended, learns its kernel id
// (gettid) at once, and runs the run loop only once resumed.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/worker_thread.h"

namespace orvanel::platform {

class LinuxThread final : public engine::WorkerThread {
 public:
  // nullptr with error set when the system cannot make another thread.
  static std::unique_ptr<LinuxThread> CreateSuspended(std::function<int()> runLoop,
                                                      std::string& error);
  // Ends a thread that was never resumed without running its run loop; joins a running one.
  ~LinuxThread() override;

  bool Resume() override;
  // A thread never resumed is ended without running its run loop.
  void Join() override;
  int NativeId() const override { return tid_.load(std::memory_order_acquire); }

  // The run loop's result once joined; -1 when it never ran or threw.
  int ExitCode() const { return exitCode_.load(std::memory_order_acquire); }

 private:
  enum class State { Suspended, Running, Cancelled };

  explicit LinuxThread(std::function<int()> runLoop) : runLoop_(std::move(runLoop)) {}
  void Body();

  std::function<int()> runLoop_;
  std::mutex mutex_;
  std::condition_variable changed_;
  State state_ = State::Suspended;
  bool started_ = false;
  std::atomic<int> tid_{0};
  std::atomic<int> exitCode_{-1};
  std::mutex joinMutex_;
  std::thread thread_;
};

class LinuxThreadFactory final : public engine::ThreadFactory {
 public:
  std::unique_ptr<engine::WorkerThread> CreateSuspended(std::function<int()> runLoop,
                                                        std::string& error) override;
};

}  // namespace orvanel::platform
