// The worker-thread class the engine runs on: created suspended, resumed once, runs a run loop.
// The Linux implementation lives in platform/; it also knows the thread's kernel id for priorities.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace orvanel::engine {

class WorkerThread {
 public:
  virtual ~WorkerThread() = default;
  // Lets the suspended thread run its run loop. False when it cannot.
  virtual bool Resume() = 0;
  // Waits for the run loop to return (no-op when it never ran or was joined already).
  virtual void Join() = 0;
  // The kernel thread id (gettid) once the thread exists; 0 before.
  virtual int NativeId() const = 0;
};

class ThreadFactory {
 public:
  virtual ~ThreadFactory() = default;
  // A thread that will run runLoop once resumed; nullptr with error set when none can be made.
  virtual std::unique_ptr<WorkerThread> CreateSuspended(std::function<int()> runLoop,
                                                        std::string& error) = 0;
};

}  // namespace orvanel::engine
