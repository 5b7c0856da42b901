// The main window's preview: the track bar, the frame request and the live preview loop.
#include <QCoreApplication>
#include <QSlider>
#include <QToolButton>
#include <algorithm>

#include "Dialogs.h"
#include "Morph.h"
#include "MorphForm.h"
#include "PaintBox.h"
#include "QtCanvas.h"
#include "RenderMorph.h"

namespace qv {

void TForm1::TrackBar1Change() {
  if (FFileCreating || FPlaying) return;  // the loops move the bar themselves
  if (SpeedButtonBlend->isChecked() || FMorphing->atLeastOneTriange()) {
    RepaintTarget();
    return;
  }
  const int32_t position = TrackBar1->value();
  if (position == FLastNoTrianglePosition) return;
  FLastNoTrianglePosition = position;
  Dialogs().ShowInformation("Es sind noch keine Dreiecke gesetzt.");
}

void TForm1::RenderMorphFrame(TMorphing& morphing, int32_t nomi, int32_t denom, TOddEvenBoth oe,
                              bool bgDraw) {
  qv::RenderMorphFrame(*this, morphing, nomi, denom, oe, bgDraw);
}

void TForm1::ShowFrame(const TBitmap& frame) {
  ++FFramesShown;
  if (FTargetCanvas) {
    // Inside the target pane's painting: draw at once.
    FTargetCanvas->StretchDraw(Rect(0, 0, PaintBoxTarget->width(), PaintBoxTarget->height()),
                               frame);
    return;
  }
  FShownFrame = &frame;
  FShowRenderedFrame = true;
  PaintBoxTarget->repaint();
  FShowRenderedFrame = false;
}

int32_t TForm1::ProgressMax() const {
  return TrackBar1->maximum();
}
void TForm1::SetProgressMax(int32_t value) {
  TrackBar1->setMaximum(value);
}
int32_t TForm1::ProgressPosition() const {
  return TrackBar1->value();
}
void TForm1::SetProgressPosition(int32_t value) {
  TrackBar1->setValue(value);
}
void TForm1::ProcessMessages() {
  QCoreApplication::processEvents();
}

void TForm1::SpeedButtonPauseClick() {
  FStopped = true;
}

void TForm1::SpeedButtonComputeClick() {
  if (FPlaying || !FMorphing->Paintable()) return;
  FStopped = false;
  FPlaying = true;
  SpeedButtonPause->setEnabled(true);
  SpeedButtonCompute->setEnabled(false);
  auto finish = [this] {
    FMorphing->MakeFramesClose();
    SpeedButtonPause->setEnabled(false);
    SpeedButtonCompute->setEnabled(true);
    FPlaying = false;
  };
  try {
    RunLivePreview();
  } catch (const std::exception& e) {
    finish();
    Dialogs().ShowError(e.what());
    return;
  }
  finish();
}

// Plays the whole transition in the target pane as fast as the frames are computed.
void TForm1::RunLivePreview() {
  const int32_t f = FMorphing->FramesMorph();
  if (f < 0) return;
  SetProgressMax(f);
  FMorphing->MakeFramesInit();
  const int32_t d = 2 * f + 1;
  for (int32_t i = 0; i <= f; ++i) {
    SetProgressPosition(i);
    switch (FMorphing->InterlaceType()) {
      case it_none:
        // A transition of no frames shows the start picture.
        RenderMorphFrame(*FMorphing, i, std::max(f, 1), oe_both, true);
        break;
      case it_upperFirst:
        RenderMorphFrame(*FMorphing, 2 * i, d, oe_even, true);
        RenderMorphFrame(*FMorphing, 2 * i + 1, d, oe_odd, false);
        break;
      case it_LowerFirst:
        RenderMorphFrame(*FMorphing, 2 * i + 1, d, oe_odd, true);
        RenderMorphFrame(*FMorphing, 2 * i, d, oe_even, false);
        break;
    }
    ProcessMessages();
    if (FStopped) break;
  }
}

}  // namespace qv
