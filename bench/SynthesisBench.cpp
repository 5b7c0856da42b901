// Frame synthesis and the cross-dissolve at 1920 x 1080.
#include <benchmark/benchmark.h>

#include "BenchScene.h"
#include "Synthesis.h"
#include "WorkerPool.h"

#include <cstdlib>

namespace qv::bench {
namespace {

constexpr int32_t kW = 1920, kH = 1080;

void SetPixelCounters(benchmark::State& state) {
  state.counters["pixels/s"] =
      benchmark::Counter(double(kW) * kH, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["fps"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}

// The whole frame at the position 1/2: interpolated points, index map and synthesis.
void GridFrame(benchmark::State& state) {
  auto m = MakeGridScene(kW, kH, 15, 15);  // 450 triangles
  m->MakeFramesInit();
  for (auto _ : state) {
    m->UpdateTargetAngles(1, 2);
    m->UpdateTargetPict();
    m->Make1Frame(1, 2, oe_both, true);
    benchmark::DoNotOptimize(m->TargetBmp().Bits());
  }
  SetPixelCounters(state);
}
BENCHMARK(GridFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// The two halves of a frame: drawing the index map, and the pixels.
void GridIndexMap(benchmark::State& state) {
  auto m = MakeGridScene(kW, kH, 15, 15);
  m->MakeFramesInit();
  m->UpdateTargetAngles(1, 2);
  for (auto _ : state) m->UpdateTargetPict();
  SetPixelCounters(state);
}
BENCHMARK(GridIndexMap)->Unit(benchmark::kMillisecond)->UseRealTime();

void GridPixels(benchmark::State& state) {
  auto m = MakeGridScene(kW, kH, 15, 15);
  m->MakeFramesInit();
  m->UpdateTargetAngles(1, 2);
  m->UpdateTargetPict();
  for (auto _ : state) m->Make1Frame(1, 2, oe_both, true);
  SetPixelCounters(state);
}
BENCHMARK(GridPixels)->Unit(benchmark::kMillisecond)->UseRealTime();

void BlendPixelsFrame(benchmark::State& state) {
  std::vector<uint32_t> a(size_t(kW) * kH, 0x00336699), b(size_t(kW) * kH, 0x00CC9966),
      d(size_t(kW) * kH);
  for (auto _ : state) {
    BlendPixels(a.data(), b.data(), d.data(), 128, kH, kW);
    benchmark::DoNotOptimize(d.data());
  }
  SetPixelCounters(state);
}
BENCHMARK(BlendPixelsFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace qv::bench

namespace qv::bench {
namespace {

// The scene of the file named by QUORVEL_BENCH_SCENE, else a comparable one made here
// (1920 x 1080, 240 points, 420 triangles).
std::unique_ptr<TMorphing> LoadScene() {
  if (const char* fn = std::getenv("QUORVEL_BENCH_SCENE"); fn && *fn) {
    auto m = std::make_unique<TMorphing>();
    m->LoadFromFile(fn);
    return m;
  }
  return MakeGridScene(kW, kH, 15, 14);
}

// The whole frame at the position 1/2 with the engine on one or two threads.
void SceneFrame(benchmark::State& state) {
  SetSynthesisThreads(int(state.range(0)));
  auto m = LoadScene();
  m->MakeFramesInit();
  for (auto _ : state) {
    m->UpdateTargetAngles(1, 2);
    m->UpdateTargetPict();
    m->Make1Frame(1, 2, oe_both, true);
    benchmark::DoNotOptimize(m->TargetBmp().Bits());
  }
  state.counters["fps"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["triangles"] = m->TriangleCount();
  SetSynthesisThreads(2);
}
BENCHMARK(SceneFrame)->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace qv::bench
