// The editor's fluid paths at 1920 x 1080: repainting a source pane at 50 % zoom, the net-mode
// mouse move (lookup, proposal and the repaint of both panes) and the live preview, on Qt's
// offscreen platform with a settings folder of its own.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdlib>
#include <memory>
#include <random>

#include "BenchScene.h"
#include "Morph.h"
#include "MorphForm.h"
#include "PaintBox.h"
#include "UserSettings.h"

namespace qv::bench {
namespace {

constexpr int32_t kW = 1920, kH = 1080;

// The main window with the scene of QUORVEL_BENCH_SCENE, else the generated grid scene over
// the two example pictures, at 50 % zoom.
std::unique_ptr<TForm1> SceneWindow(TMorphEditMode mode) {
  auto form = std::make_unique<TForm1>();
  form->resize(1600, 900);
  form->show();
  QApplication::processEvents();
  if (const char* fn = std::getenv("QUORVEL_BENCH_SCENE"); fn && *fn) {
    form->OpenProject(fn);
  } else {
    TMorphing& m = form->Morphing();
    FillGridScene(m, kW, kH, 15, 14);
    m.Source1().SetSourceImageName(QUORVEL_SOURCE_DIR "/examples/anfang.bmp");
    m.Source2().SetSourceImageName(QUORVEL_SOURCE_DIR "/examples/ende.bmp");
  }
  form->SetAutoZoom(false);
  form->SetZoom(500);
  form->SetEditMode(mode);
  QApplication::processEvents();
  return form;
}

void PaneRepaint(benchmark::State& state) {
  auto form = SceneWindow(mm_Points);
  TPaintBox& pane = *form->PaintBoxSrc1;
  QImage image(pane.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    pane.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["pane_w"] = pane.width();
  state.counters["pane_h"] = pane.height();
}
BENCHMARK(PaneRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

// One mouse move in net mode over the start picture's pane, with the repaint it causes.
void NetMouseMove(benchmark::State& state) {
  auto form = SceneWindow(mm_Net);
  TPaintBox& pane = *form->PaintBoxSrc1;
  std::mt19937 rng(7);
  for (auto _ : state) {
    const QPointF p(double(rng() % uint32_t(pane.width())), double(rng() % uint32_t(pane.height())));
    QMouseEvent move(QEvent::MouseMove, p, pane.mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&pane, &move);
    form->PaintBoxSrc1->repaint();
    form->PaintBoxSrc2->repaint();
  }
  state.counters["triangles"] = form->Morphing().TriangleCount();
}
BENCHMARK(NetMouseMove)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole live preview of a transition of 60 frames, shown in the target pane.
void LivePreview(benchmark::State& state) {
  auto form = SceneWindow(mm_Points);
  form->Morphing().SetFramesMorph(60);
  int frames = 0;
  for (auto _ : state) {
    const int before = form->FramesShown();
    form->SpeedButtonComputeClick();
    frames += form->FramesShown() - before;
  }
  state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
}
BENCHMARK(LivePreview)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace qv::bench

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", config.path().toUtf8().constData(), 1);
  QApplication app(argc, argv);
  qv::GetUserSettings();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  qv::FreeUserSettings();
  return 0;
}
