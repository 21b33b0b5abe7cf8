#include "app/WorkerThreadWin32.h"

#include <gtest/gtest.h>

#include <atomic>

namespace tfm {
namespace {

std::atomic<int> g_running{0};

DWORD WINAPI EndsWhenToldTo(LPVOID flag) {
  ++g_running;
  while (static_cast<std::atomic<int>*>(flag)->load()) Sleep(10);
  return 7;
}

DWORD WINAPI NeverEnds(LPVOID) {
  ++g_running;
  for (;;) Sleep(1000);
}

TEST(WorkerThread, ThreadThatEndsInTimeKeepsItsExitCode) {
  std::atomic<int> keepRunning{1};
  WorkerThread worker("cooperative");
  worker.Start(EndsWhenToldTo, &keepRunning);
  ASSERT_TRUE(worker.Started());
  keepRunning = 0;
  EXPECT_EQ(7u, worker.Stop());
  EXPECT_FALSE(worker.Started());
}

TEST(WorkerThread, ThreadThatDoesNotEndIsTerminatedWith170) {
  WorkerThread worker("stubborn");
  worker.Start(NeverEnds, nullptr);
  EXPECT_EQ(kWorkerTerminatedExitCode, worker.Stop(300));
}

TEST(WorkerThread, StoppingAWorkerNeverStartedDoesNothing) {
  WorkerThread worker("idle");
  EXPECT_FALSE(worker.Started());
  EXPECT_EQ(0u, worker.Stop());
}

}  // namespace
}  // namespace tfm
