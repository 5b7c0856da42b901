// The worker pool: every part of every job runs once, whether the workers are spinning or
// asleep, and jobs of concurrent callers do not mix.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "WorkerPool.h"

namespace qv {
namespace {

// Runs jobs back to back (workers still spinning) and after pauses (workers asleep); each part
// counts its calls.
TEST(WorkerPool, EveryPartRunsOnceAfterShortAndLongPauses) {
  TWorkerPool pool(3);
  for (int job = 0; job < 400; ++job) {
    std::vector<std::atomic<int>> calls(size_t(pool.Threads()));
    pool.Run([&](int i) { calls[size_t(i)].fetch_add(1); });
    for (size_t i = 0; i < calls.size(); ++i) ASSERT_EQ(calls[i].load(), 1) << job << ", " << i;
    if (job % 100 == 99) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Two callers at once: each job sees only its own parts, each part once.
TEST(WorkerPool, JobsOfConcurrentCallersRunOneAfterTheOther) {
  TWorkerPool pool(2);
  std::atomic<int> running{0}, overlaps{0};
  auto caller = [&] {
    for (int job = 0; job < 300; ++job) {
      std::atomic<int> parts{0};
      pool.Run([&](int) {
        if (running.fetch_add(1) >= pool.Threads()) overlaps.fetch_add(1);
        parts.fetch_add(1);
        running.fetch_sub(1);
      });
      ASSERT_EQ(parts.load(), pool.Threads());
    }
  };
  std::thread other(caller);
  caller();
  other.join();
  EXPECT_EQ(overlaps.load(), 0);
}

}  // namespace
}  // namespace qv
