#include "MorphFrames.h"

#include <algorithm>

#include "Easing.h"
#include "Morph.h"

namespace qv {

bool MakeMorphFrame(TMorphing& M, int32_t nomi, int32_t denom, TOddEvenBoth OddEvenBoth,
                    bool BgDraw) {
  M.UpdateTargetAngles(nomi, denom);
  M.UpdateTargetPict();
  M.Make1Frame(nomi, denom, OddEvenBoth, BgDraw);
  const bool complete = OddEvenBoth == oe_both || !BgDraw;
  if (complete && M.withBG()) M.updateBgBmp();
  return complete;
}

TMorphFrames::TMorphFrames(TMorphing& M, TShowFrame show)
    : M(M),
      FShow(std::move(show)),
      F(M.FramesMorph()),
      S(M.StillImagesAtStart()),
      E(M.StillImagesAtEnd()),
      n(2 * F) {}

const TBitmap& TMorphFrames::Output() const {
  return M.withBG() ? M.BgBmp() : M.TargetBmp();
}

void TMorphFrames::Request(int32_t nomi, TOddEvenBoth OddEvenBoth, bool BgDraw) {
  if (MakeMorphFrame(M, nomi, n, OddEvenBoth, BgDraw) && FShow) FShow(M.TargetBmp());
}

void TMorphFrames::Init() {
  CheckFrameCount(F);
  M.optimizeXRange(xa, xe);
  M.MakeFramesInit();
}

void TMorphFrames::StartFrame() {
  Request(0, oe_both, true);
  if (FShow) FShow(M.TargetBmp());
  if (M.withBG()) M.updateBgBmp();
}

bool TMorphFrames::Sample(int32_t i) {
  const int32_t nomi = EasedSamplePosition(i, n, xa, xe, M.SmoothAtStart(), M.SmoothAtEnd()).nomi;
  const bool even = i % 2 == 0;
  switch (M.InterlaceType()) {
    case it_none:
      if (even) Request(nomi, oe_both, true);
      break;
    case it_upperFirst:
      Request(nomi, even ? oe_even : oe_odd, even);
      break;
    case it_LowerFirst:
      Request(nomi, even ? oe_odd : oe_even, even);
      break;
  }
  if (even) return false;
  if (M.withBG()) M.updateBgBmp();
  return true;
}

void TMorphFrames::EndFrame() {
  Request(n, oe_both, true);
  if (M.withBG()) M.updateBgBmp();
}

int32_t TMorphFrames::StartCount() const {
  return std::max(S, 0) + 1;
}
int32_t TMorphFrames::EndCount() const {
  return std::max(E + 1, 0);
}
int32_t TMorphFrames::FrameCount() const {
  return StartCount() + F + EndCount();
}

bool TMorphFrames::First() {
  Init();
  StartFrame();
  FIndex = 0;
  return true;
}

bool TMorphFrames::Next() {
  const int32_t k = FIndex + 1;
  if (FIndex < 0 || k >= FrameCount()) return false;
  const int32_t transition = k - StartCount();
  if (transition >= 0 && transition < F) {
    Sample(2 * transition);
    Sample(2 * transition + 1);
  } else if (transition == F) {
    // The last sample is computed though never written, as in a complete run: the end picture
    // keeps whatever it leaves where no triangle lies.
    Sample(n);
    EndFrame();
  }
  FIndex = k;
  if (k + 1 == FrameCount()) M.MakeFramesClose();
  return true;
}

}  // namespace qv
