#include "WorkerPool.h"

#include <algorithm>
#include <chrono>
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

namespace {

// How long a thread spins for what it waits for before it sleeps: the parts of one frame (index
// map, pixels) follow each other within microseconds.
constexpr auto kSpinTime = std::chrono::microseconds(300);

inline void Pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// Spins until done() or the spin time is over; whether done() became true.
template <typename TDone>
bool SpinUntil(TDone done) {
  const auto until = std::chrono::steady_clock::now() + kSpinTime;
  for (;;) {
    for (int i = 0; i < 64; ++i) {
      if (done()) return true;
      Pause();
    }
    if (std::chrono::steady_clock::now() >= until) return done();
  }
}

}  // namespace

void TWorkerPool::Run(const std::function<void(int)>& part) {
  if (FWorkers.empty()) {
    part(0);
    return;
  }
  std::lock_guard<std::mutex> running(FRunMutex);
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FJob = &part;
    FPending.store(int(FWorkers.size()));
    FGeneration.fetch_add(1);
  }
  FWake.notify_all();
  part(0);
  if (!SpinUntil([this] { return FPending.load(std::memory_order_acquire) == 0; })) {
    std::unique_lock<std::mutex> lock(FMutex);
    FDone.wait(lock, [this] { return FPending.load() == 0; });
  }
  std::lock_guard<std::mutex> lock(FMutex);
  FJob = nullptr;
}

void TWorkerPool::WorkerLoop(int index) {
  uint64_t seen = 0;
  for (;;) {
    SpinUntil([&] { return FGeneration.load(std::memory_order_acquire) != seen; });
    const std::function<void(int)>* job;
    {
      std::unique_lock<std::mutex> lock(FMutex);
      FWake.wait(lock, [&] { return FQuit || FGeneration.load() != seen; });
      if (FQuit) return;
      seen = FGeneration.load();
      job = FJob;
    }
    (*job)(index);
    {
      std::lock_guard<std::mutex> lock(FMutex);
      if (FPending.fetch_sub(1) == 1) FDone.notify_one();
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
