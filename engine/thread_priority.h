// Scheduling priorities as the priority settings see them: six thread levels (-2, -1, 0, 1, 2, 15)
// and the process class (normal or high). Refused changes report nothing to the user.
#pragma once

#include "engine/worker_thread.h"

namespace orvanel::engine {

inline constexpr int kThreadPriorityIdle = -15;  // read back for a level outside the six

class PriorityControl {
 public:
  virtual ~PriorityControl() = default;
  virtual int GetThreadPriority(const WorkerThread& thread) = 0;
  // False when the system refused; the caller ignores it.
  virtual bool SetThreadPriority(const WorkerThread& thread, int priority) = 0;
  virtual bool SetProcessPriorityClass(bool high) = 0;
};

}  // namespace orvanel::engine
