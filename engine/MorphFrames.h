// The frames of one morph video in the order they are written: the start picture
// StillImagesAtStart + 1 times, FramesMorph transition frames on the grid of 2F half-steps
// following the easing and the field order, the end picture StillImagesAtEnd + 1 times.
//
// The video command drives the steps itself (it shows progress and stops between them); the
// sequence video takes the frames one after another with First and Next.
#pragma once

#include <cstdint>
#include <functional>

#include "Types.h"

namespace qv {

class TBitmap;
class TMorphing;

// One frame request: UpdateTargetAngles, UpdateTargetPict, Make1Frame(nomi, denom,
// OddEvenBoth, BgDraw). Answers true when the frame is complete (oe_both, or a second field
// drawn with BgDraw false); a complete frame is composed into BgBmp when M uses a background.
bool MakeMorphFrame(TMorphing& M, int32_t nomi, int32_t denom, TOddEvenBoth OddEvenBoth,
                    bool BgDraw);

class TMorphFrames {
 public:
  // Called with the target bitmap after every complete frame (the editor shows it).
  using TShowFrame = std::function<void(const TBitmap&)>;

  explicit TMorphFrames(TMorphing& M, TShowFrame show = {});

  TMorphing& Morphing() const { return M; }
  // The number of samples of the transition, 2 * FramesMorph.
  int32_t SampleCount() const { return n; }
  // The bitmap a video writes: BgBmp when the morphing uses a background, else TargetBmp.
  const TBitmap& Output() const;

  // The steps of a run. Init raises EMorphError for a transition of less than one frame.
  // Init: the easing range and the triangle caches.
  void Init();
  // The start picture.
  void StartFrame();
  // Sample i (0 .. SampleCount): one frame or field; true at an odd sample, where a frame is
  // ready to be written.
  bool Sample(int32_t i);
  // The end picture.
  void EndFrame();

  // The frames one by one: the number of frames written by a complete run, then First for the
  // first frame and Next for each further one (false when there is none). Output() holds the
  // frame afterwards.
  int32_t FrameCount() const;
  bool First();
  bool Next();

 private:
  void Request(int32_t nomi, TOddEvenBoth OddEvenBoth, bool BgDraw);
  int32_t StartCount() const;
  int32_t EndCount() const;

  TMorphing& M;
  TShowFrame FShow;
  const int32_t F, S, E, n;
  long double xa = 0, xe = 0;
  int32_t FIndex = -1;  // the frame First/Next prepared last
};

}  // namespace qv
