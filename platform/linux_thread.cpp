#include "platform/linux_thread.h"

#include <unistd.h>

#include <system_error>
#include <utility>

namespace orvanel::platform {

std::unique_ptr<LinuxThread> LinuxThread::CreateSuspended(std::function<int()> runLoop,
                                                          std::string& error) {
  std::unique_ptr<LinuxThread> thread(new LinuxThread(std::move(runLoop)));
  try {
    thread->thread_ = std::thread([raw = thread.get()] { raw->Body(); });
  } catch (const std::system_error& e) {
    error = e.what();
    return nullptr;
  }
  // The kernel id is known before the caller can ask for it.
  std::unique_lock lock(thread->mutex_);
  thread->changed_.wait(lock, [&] { return thread->started_; });
  return thread;
}

LinuxThread::~LinuxThread() {
  Join();
  // Only a thread that destroys its own object is still joinable here.
  if (thread_.joinable()) thread_.detach();
}

void LinuxThread::Body() {
  {
    std::lock_guard lock(mutex_);
    tid_.store(static_cast<int>(gettid()), std::memory_order_release);
    started_ = true;
  }
  changed_.notify_all();
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return state_ != State::Suspended; });
    if (state_ == State::Cancelled) return;
  }
  // Nothing thrown by the run loop may leave the thread: that would end the process.
  try {
    exitCode_.store(runLoop_(), std::memory_order_release);
  } catch (...) {
    exitCode_.store(-1, std::memory_order_release);
  }
}

bool LinuxThread::Resume() {
  {
    std::lock_guard lock(mutex_);
    if (state_ == State::Cancelled) return false;
    state_ = State::Running;
  }
  changed_.notify_all();
  return true;
}

void LinuxThread::Join() {
  {
    std::lock_guard lock(mutex_);
    if (state_ == State::Suspended) state_ = State::Cancelled;
  }
  changed_.notify_all();
  std::lock_guard join(joinMutex_);
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

std::unique_ptr<engine::WorkerThread> LinuxThreadFactory::CreateSuspended(
    std::function<int()> runLoop, std::string& error) {
  return LinuxThread::CreateSuspended(std::move(runLoop), error);
}

}  // namespace orvanel::platform
