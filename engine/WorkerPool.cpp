#include "WorkerPool.h"

#include <algorithm>
#include <memory>

namespace qv {

TWorkerPool::TWorkerPool(int threads) {
  for (int i = 1; i < std::max(threads, 1); ++i) FWorkers.emplace_back([this, i] { WorkerLoop(i); });
}

TWorkerPool::~TWorkerPool() {
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FQuit = true;
  }
  FWake.notify_all();
  for (auto& t : FWorkers) t.join();
}

void TWorkerPool::Run(const std::function<void(int)>& part) {
  if (FWorkers.empty()) {
    part(0);
    return;
  }
  std::lock_guard<std::mutex> running(FRunMutex);
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FJob = &part;
    FPending = int(FWorkers.size());
    ++FGeneration;
  }
  FWake.notify_all();
  part(0);
  std::unique_lock<std::mutex> lock(FMutex);
  FDone.wait(lock, [this] { return FPending == 0; });
  FJob = nullptr;
}

void TWorkerPool::WorkerLoop(int index) {
  uint64_t seen = 0;
  for (;;) {
    const std::function<void(int)>* job;
    {
      std::unique_lock<std::mutex> lock(FMutex);
      FWake.wait(lock, [&] { return FQuit || FGeneration != seen; });
      if (FQuit) return;
      seen = FGeneration;
      job = FJob;
    }
    (*job)(index);
    {
      std::lock_guard<std::mutex> lock(FMutex);
      if (--FPending == 0) FDone.notify_one();
    }
  }
}

namespace {
std::unique_ptr<TWorkerPool> gPool;
}

TWorkerPool& SynthesisPool() {
  if (!gPool) gPool = std::make_unique<TWorkerPool>(int(std::max(1u, std::thread::hardware_concurrency())));
  return *gPool;
}

void SetSynthesisThreads(int threads) {
  threads = std::max(threads, 1);
  if (gPool && gPool->Threads() == threads) return;
  gPool.reset();
  gPool = std::make_unique<TWorkerPool>(threads);
}

}  // namespace qv
