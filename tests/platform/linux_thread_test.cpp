#include "platform/linux_thread.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace orvanel::platform {
namespace {

using namespace std::chrono_literals;

TEST(LinuxThread, StartsSuspendedWithItsKernelIdKnown) {
  std::atomic<int> runs{0};
  std::string error;
  auto thread = LinuxThread::CreateSuspended(
      [&] {
        ++runs;
        return 7;
      },
      error);
  ASSERT_NE(thread, nullptr) << error;
  EXPECT_GT(thread->NativeId(), 0);
  EXPECT_NE(thread->NativeId(), static_cast<int>(gettid()));
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(runs.load(), 0);
  EXPECT_TRUE(thread->Resume());
  thread->Join();
  EXPECT_EQ(runs.load(), 1);
  EXPECT_EQ(thread->ExitCode(), 7);
}

TEST(LinuxThread, RunsTheRunLoopOnTheThreadItNames) {
  std::atomic<int> seenTid{0};
  std::string error;
  auto thread = LinuxThread::CreateSuspended(
      [&] {
        seenTid = static_cast<int>(gettid());
        return 0;
      },
      error);
  ASSERT_NE(thread, nullptr);
  const int tid = thread->NativeId();
  thread->Resume();
  thread->Join();
  EXPECT_EQ(seenTid.load(), tid);
}

TEST(LinuxThread, ANeverResumedThreadEndsWithoutRunning) {
  std::atomic<int> runs{0};
  std::string error;
  {
    auto thread = LinuxThread::CreateSuspended([&] { return ++runs; }, error);
    ASSERT_NE(thread, nullptr);
    thread->Join();
    EXPECT_FALSE(thread->Resume());
    EXPECT_EQ(thread->ExitCode(), -1);
  }
  {
    auto thread = LinuxThread::CreateSuspended([&] { return ++runs; }, error);
    ASSERT_NE(thread, nullptr);
  }  // the destructor ends it
  EXPECT_EQ(runs.load(), 0);
}

TEST(LinuxThread, AnExceptionDoesNotLeaveTheThread) {
  std::string error;
  auto thread = LinuxThread::CreateSuspended(
      []() -> int { throw std::runtime_error("run loop failure"); }, error);
  ASSERT_NE(thread, nullptr);
  thread->Resume();
  thread->Join();
  EXPECT_EQ(thread->ExitCode(), -1);
}

TEST(LinuxThread, JoinAndResumeTwiceAreHarmless) {
  std::atomic<int> runs{0};
  LinuxThreadFactory factory;
  std::string error;
  auto thread = factory.CreateSuspended([&] { return ++runs; }, error);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(thread->Resume());
  EXPECT_TRUE(thread->Resume());
  thread->Join();
  thread->Join();
  EXPECT_EQ(runs.load(), 1);
}

}  // namespace
}  // namespace orvanel::platform
