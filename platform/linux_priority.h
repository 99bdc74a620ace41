// Thread and process priorities on Linux: the six thread levels as nice values on the thread's
// kernel id (15 as round-robin real time), and the process class as a nice offset on every thread.
#pragma once

#include "engine/thread_priority.h"

namespace orvanel::platform {

// Level -2, -1, 0, 1, 2 -> nice +10, +5, 0, -5, -10; 15 -> SCHED_RR at its lowest priority.
// The high class subtracts 10 from every thread's nice value. Keep one object per process.
class LinuxPriorityControl final : public engine::PriorityControl {
 public:
  // 15 for a real-time thread; the level whose nice value the thread has (less the class
  // offset); kThreadPriorityIdle for any other value or a thread that cannot be read.
  int GetThreadPriority(const engine::WorkerThread& thread) override;
  // False for a level outside the six, a thread without a kernel id, or a refused change.
  bool SetThreadPriority(const engine::WorkerThread& thread, int priority) override;
  // Applies the class offset to every thread of the process; false (and the class unchanged)
  // when any thread refused.
  bool SetProcessPriorityClass(bool high) override;

  int ClassOffset() const { return classOffset_; }

 private:
  int classOffset_ = 0;
};

// The nice value for a thread level, or false for a level outside -2..2.
bool NiceForLevel(int level, int& nice);
// The level for a nice value relative to the class, or kThreadPriorityIdle.
int LevelForNice(int nice);

}  // namespace orvanel::platform
