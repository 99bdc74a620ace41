#include "platform/linux_priority.h"

#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace orvanel::platform {

namespace {

constexpr int kTimeCritical = 15;
constexpr int kHighClassOffset = -10;

struct LevelNice {
  int level;
  int nice;
};
constexpr LevelNice kLevels[] = {{-2, 10}, {-1, 5}, {0, 0}, {1, -5}, {2, -10}};

bool IsRealTime(int tid) {
  const int policy = sched_getscheduler(tid);
  return policy == SCHED_RR || policy == SCHED_FIFO;
}

// errno tells a failure from a nice value of -1.
bool ReadNice(int tid, int& nice) {
  errno = 0;
  const int value = getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
  if (errno != 0) return false;
  nice = value;
  return true;
}

bool WriteNice(int tid, int nice) {
  return setpriority(PRIO_PROCESS, static_cast<id_t>(tid), std::clamp(nice, -20, 19)) == 0;
}

std::vector<int> ProcessThreadIds() {
  std::vector<int> tids;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task", error)) {
    try {
      tids.push_back(std::stoi(entry.path().filename().string()));
    } catch (const std::exception&) {
      // Not a thread's directory.
    }
  }
  return tids;
}

}  // namespace

bool NiceForLevel(int level, int& nice) {
  for (const auto& entry : kLevels) {
    if (entry.level == level) {
      nice = entry.nice;
      return true;
    }
  }
  return false;
}

int LevelForNice(int nice) {
  for (const auto& entry : kLevels) {
    if (entry.nice == nice) return entry.level;
  }
  return engine::kThreadPriorityIdle;
}

int LinuxPriorityControl::GetThreadPriority(const engine::WorkerThread& thread) {
  const int tid = thread.NativeId();
  if (tid <= 0) return engine::kThreadPriorityIdle;
  if (IsRealTime(tid)) return kTimeCritical;
  int nice = 0;
  if (!ReadNice(tid, nice)) return engine::kThreadPriorityIdle;
  return LevelForNice(nice - classOffset_);
}

bool LinuxPriorityControl::SetThreadPriority(const engine::WorkerThread& thread, int priority) {
  const int tid = thread.NativeId();
  if (tid <= 0) return false;
  if (priority == kTimeCritical) {
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_RR);
    return sched_setscheduler(tid, SCHED_RR, &param) == 0;
  }
  int nice = 0;
  if (!NiceForLevel(priority, nice)) return false;
  if (IsRealTime(tid)) {
    sched_param param{};
    if (sched_setscheduler(tid, SCHED_OTHER, &param) != 0) return false;
  }
  return WriteNice(tid, nice + classOffset_);
}

bool LinuxPriorityControl::SetProcessPriorityClass(bool high) {
  const int offset = high ? kHighClassOffset : 0;
  const int delta = offset - classOffset_;
  if (delta == 0) return true;
  std::vector<std::pair<int, int>> changed;  // tid, nice before
  bool refused = false;
  for (const int tid : ProcessThreadIds()) {
    if (IsRealTime(tid)) continue;  // a time-critical thread is above every class
    int nice = 0;
    if (!ReadNice(tid, nice)) continue;  // the thread has ended meanwhile
    if (!WriteNice(tid, nice + delta)) {
      refused = true;
      break;
    }
    changed.emplace_back(tid, nice);
  }
  if (refused) {
    for (const auto& [tid, nice] : changed) WriteNice(tid, nice);
    return false;
  }
  classOffset_ = offset;
  return true;
}

}  // namespace orvanel::platform
