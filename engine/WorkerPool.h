// A pool of worker threads created once and reused by every frame: a job is split into parts,
// part 0 runs on the caller's thread, the others on the workers, and Run returns when all are
// done. Results never depend on the number of threads (the parts are disjoint). Waking a
// sleeping thread takes tens of microseconds, so workers wait for the next job, and the caller
// for the end of its job, spinning a short while before they sleep.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qv {

class TWorkerPool {
 public:
  explicit TWorkerPool(int threads);
  ~TWorkerPool();
  TWorkerPool(const TWorkerPool&) = delete;
  TWorkerPool& operator=(const TWorkerPool&) = delete;

  int Threads() const { return int(FWorkers.size()) + 1; }
  // Calls part(i) for i = 0 .. Threads() - 1, concurrently. Jobs of several callers run one
  // after the other.
  void Run(const std::function<void(int)>& part);

 private:
  void WorkerLoop(int index);

  std::vector<std::thread> FWorkers;
  std::mutex FRunMutex;  // one job at a time
  std::mutex FMutex;
  std::condition_variable FWake;
  std::condition_variable FDone;
  // Changed under FMutex; read without it while spinning.
  const std::function<void(int)>* FJob = nullptr;
  std::atomic<uint64_t> FGeneration{0};
  std::atomic<int> FPending{0};
  bool FQuit = false;
};

// The engine's pool for frame synthesis; by default one thread per processor core.
TWorkerPool& SynthesisPool();
// Sets the number of threads frame synthesis uses (1 = the caller's thread only).
void SetSynthesisThreads(int threads);

}  // namespace qv
