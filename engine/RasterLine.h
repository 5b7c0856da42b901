// One-pixel lines. The pixels of the segment between two points do not depend on which end is
// named first: the segment is walked along its longer axis (the x axis when both are equal)
// from the end with the smaller coordinate, and at step i of n the other coordinate is
// offset by floor((2 * i * d + n) / (2 * n)), d being its total change; an exact half is
// rounded toward the larger coordinate. Both end points always belong to the segment, and a
// pixel lying exactly on the segment is always hit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "FloorStep.h"
#include "RasterSpan.h"
#include "Types.h"

namespace qv {

// The pixels of the segment a-b clipped to a w x h target; with skipEnd, the pixel b is left
// out (a segment with a = b then has no pixel).
void TraceLine(TPoint a, TPoint b, bool skipEnd, int32_t w, int32_t h, TSpanSink& sink);

// The pixels TraceLine(a, b, false, ...) sets, row by row downward from a given row (or the
// segment's first row, if that lies lower): on a row of the segment the pixels x1 .. x2 - 1
// (several for an x-major segment, else one). On the rows of an x-major segment with rise d
// over n columns, walked from its left end, the columns i with
// floor((2 * i * d + n) / (2 * n)) = k form the range from ceil((2 * n * k - n) / (2 * d)) to one
// before that of row k + 1 (d > 0; mirrored for d < 0), so every row costs a step of one quotient.
class TLineRows {
 public:
  TLineRows() = default;  // no pixels
  TLineRows(TPoint a, TPoint b, int64_t y);

  // Hands the rows from the current one up to end - 1 to span(y, x1, x2) (unclipped columns)
  // and goes on; one loop for the segment's kind.
  template <typename F>
  void Rows(int64_t end, F&& span);

 private:
  enum TKind : uint8_t { lk_Column, lk_Rising, lk_Falling, lk_Flat };
  TKind FKind = lk_Flat;
  int64_t FY = 0, FBottom = -1;  // the current row and the segment's lowest
  int64_t FX0 = 0, FN = 0;       // column of the walk's start and its length
  int64_t FCurrent = 0;          // the quotient of the current row (x-major)
  TFloorStep FStep;  // y-major: the column offset of the current row; x-major: the next row's
};

inline TLineRows::TLineRows(TPoint a, TPoint b, int64_t y)
    : FY(std::max<int64_t>(y, std::min(a.Y, b.Y))), FBottom(std::max(a.Y, b.Y)) {
  const int64_t dx = int64_t(b.X) - a.X, dy = int64_t(b.Y) - a.Y;
  if (std::llabs(dx) < std::llabs(dy)) {  // y-major, walked down from the upper end
    const TPoint from = dy > 0 ? a : b;
    const int64_t n = std::llabs(dy), d = dy > 0 ? dx : -dx;
    FKind = lk_Column;
    FX0 = from.X;
    FStep = TFloorStep(n, 2 * d, 2 * n, FY - from.Y);
    return;
  }
  const TPoint from = dx >= 0 ? a : b;  // x-major, walked from the left end
  const int64_t n = std::llabs(dx), d = dx >= 0 ? dy : -dy;
  FX0 = from.X;
  FN = n;
  const int64_t k = FY - from.Y;
  if (d == 0) {
    FKind = lk_Flat;
  } else if (d > 0) {  // row k: from ceil((2nk - n) / 2d) = floor((2nk - n + 2d - 1) / 2d)
    FKind = lk_Rising;
    FStep = TFloorStep(2 * d - 1 - n, 2 * n, 2 * d, k);
    FCurrent = FStep.Value();
    FStep.Next();
  } else {  // row k: up to floor((n - 2nk) / 2|d|), after the end of row k + 1
    FKind = lk_Falling;
    FStep = TFloorStep(n, -2 * n, -2 * d, k);
    FCurrent = FStep.Value();
    FStep.Next();
  }
}

template <typename F>
inline void TLineRows::Rows(int64_t end, F&& span) {
  end = std::min(end, FBottom + 1);
  switch (FKind) {
    case lk_Column:
      for (; FY < end; ++FY, FStep.Next()) span(FY, FX0 + FStep.Value(), FX0 + FStep.Value() + 1);
      return;
    case lk_Rising:
      for (; FY < end; ++FY, FStep.Next()) {
        span(FY, FX0 + std::max<int64_t>(FCurrent, 0), FX0 + std::min(FStep.Value() - 1, FN) + 1);
        FCurrent = FStep.Value();
      }
      return;
    case lk_Falling:
      for (; FY < end; ++FY, FStep.Next()) {
        span(FY, FX0 + std::max<int64_t>(FStep.Value() + 1, 0), FX0 + std::min(FCurrent, FN) + 1);
        FCurrent = FStep.Value();
      }
      return;
    case lk_Flat:
      for (; FY < end; ++FY) span(FY, FX0, FX0 + FN + 1);
      return;
  }
}

}  // namespace qv
