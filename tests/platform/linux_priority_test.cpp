#include "platform/linux_priority.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/linux_thread.h"
#include "synth/manual_reset_event.h"

namespace orvanel::platform {
namespace {

// A worker that waits until the test ends it.
class IdleWorker {
 public:
  IdleWorker() {
    std::string error;
    thread_ = LinuxThread::CreateSuspended(
        [this] {
          quit_.Wait();
          return 0;
        },
        error);
    thread_->Resume();
  }
  ~IdleWorker() {
    quit_.Set();
    thread_->Join();
  }
  const LinuxThread& Thread() const { return *thread_; }
  int Tid() const { return thread_->NativeId(); }

 private:
  synth::ManualResetEvent quit_;
  std::unique_ptr<LinuxThread> thread_;
};

class NoThread final : public engine::WorkerThread {
 public:
  bool Resume() override { return false; }
  void Join() override {}
  int NativeId() const override { return 0; }
};

int NiceOf(int tid) {
  errno = 0;
  return getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
}

bool MayRaisePriority() { return geteuid() == 0; }

struct LevelCase {
  int level;
  int nice;
};

class LinuxPriorityLevels : public testing::TestWithParam<LevelCase> {};

TEST_P(LinuxPriorityLevels, SetsTheNiceValueOfTheThreadAndReadsTheLevelBack) {
  if (!MayRaisePriority()) GTEST_SKIP() << "raising a priority needs CAP_SYS_NICE";
  const auto& c = GetParam();
  const int mainNice = NiceOf(static_cast<int>(gettid()));
  IdleWorker worker;
  LinuxPriorityControl control;
  ASSERT_TRUE(control.SetThreadPriority(worker.Thread(), c.level));
  EXPECT_EQ(NiceOf(worker.Tid()), c.nice);
  EXPECT_EQ(sched_getscheduler(worker.Tid()), SCHED_OTHER);
  EXPECT_EQ(control.GetThreadPriority(worker.Thread()), c.level);
  // Only the worker changed.
  EXPECT_EQ(NiceOf(static_cast<int>(gettid())), mainNice);
}

INSTANTIATE_TEST_SUITE_P(Levels, LinuxPriorityLevels,
                         testing::Values(LevelCase{-2, 10}, LevelCase{-1, 5}, LevelCase{0, 0},
                                         LevelCase{1, -5}, LevelCase{2, -10}));

TEST(LinuxPriority, TimeCriticalIsRoundRobinAndCanBeLeft) {
  if (!MayRaisePriority()) GTEST_SKIP() << "real time needs CAP_SYS_NICE";
  IdleWorker worker;
  LinuxPriorityControl control;
  ASSERT_TRUE(control.SetThreadPriority(worker.Thread(), 15));
  EXPECT_EQ(sched_getscheduler(worker.Tid()), SCHED_RR);
  EXPECT_EQ(control.GetThreadPriority(worker.Thread()), 15);
  ASSERT_TRUE(control.SetThreadPriority(worker.Thread(), -1));
  EXPECT_EQ(sched_getscheduler(worker.Tid()), SCHED_OTHER);
  EXPECT_EQ(control.GetThreadPriority(worker.Thread()), -1);
}

TEST(LinuxPriority, ANiceValueOutsideTheTableReadsAsIdle) {
  IdleWorker worker;
  ASSERT_EQ(setpriority(PRIO_PROCESS, static_cast<id_t>(worker.Tid()), 3), 0);
  LinuxPriorityControl control;
  EXPECT_EQ(control.GetThreadPriority(worker.Thread()), engine::kThreadPriorityIdle);
}

TEST(LinuxPriority, RefusesUnknownLevelsAndThreadsWithoutAnId) {
  IdleWorker worker;
  LinuxPriorityControl control;
  for (int level : {-15, -3, 3, 7, 14, 16}) {
    EXPECT_FALSE(control.SetThreadPriority(worker.Thread(), level)) << level;
  }
  EXPECT_EQ(NiceOf(worker.Tid()), 0);
  NoThread none;
  EXPECT_FALSE(control.SetThreadPriority(none, 0));
  EXPECT_EQ(control.GetThreadPriority(none), engine::kThreadPriorityIdle);
}

TEST(LinuxPriority, TheHighClassShiftsEveryThreadAndKeepsTheLevels) {
  if (!MayRaisePriority()) GTEST_SKIP() << "raising a priority needs CAP_SYS_NICE";
  const int mainNice = NiceOf(static_cast<int>(gettid()));
  ASSERT_GE(mainNice, -10) << "the class offset would be clipped";
  IdleWorker worker;
  LinuxPriorityControl control;
  ASSERT_TRUE(control.SetThreadPriority(worker.Thread(), -1));
  ASSERT_TRUE(control.SetProcessPriorityClass(true));
  EXPECT_EQ(NiceOf(worker.Tid()), -5);
  EXPECT_EQ(NiceOf(static_cast<int>(gettid())), mainNice - 10);
  EXPECT_EQ(control.GetThreadPriority(worker.Thread()), -1);
  ASSERT_TRUE(control.SetThreadPriority(worker.Thread(), 2));
  EXPECT_EQ(NiceOf(worker.Tid()), -20);
  ASSERT_TRUE(control.SetProcessPriorityClass(false));
  EXPECT_EQ(NiceOf(worker.Tid()), -10);
  EXPECT_EQ(NiceOf(static_cast<int>(gettid())), mainNice);
  EXPECT_EQ(control.GetThreadPriority(worker.Thread()), 2);
}

// An ordinary user may lower a priority but not raise it again; the refusal is a plain false.
TEST(LinuxPriority, AnUnprivilegedUserIsRefusedQuietly) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to become an unprivileged user";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0) _exit(2);
    int failures = 0;
    {
      IdleWorker worker;
      LinuxPriorityControl control;
      if (!control.SetThreadPriority(worker.Thread(), -2)) failures |= 4;
      if (control.SetThreadPriority(worker.Thread(), 0)) failures |= 8;
      if (control.GetThreadPriority(worker.Thread()) != -2) failures |= 16;
      if (control.SetThreadPriority(worker.Thread(), 15)) failures |= 32;
      if (control.SetProcessPriorityClass(true)) failures |= 64;
      if (control.ClassOffset() != 0) failures |= 128;
    }
    _exit(failures);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace orvanel::platform
