#include "RasterLine.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "FloorStep.h"

namespace qv {

namespace {

// Collects the pixels of an x-major walk into runs of one row.
class TRowRuns {
 public:
  explicit TRowRuns(TSpanSink& sink, int32_t h) : FSink(sink), FHeight(h) {}
  ~TRowRuns() { Flush(); }
  void Add(int64_t x, int64_t y) {
    if (FOpen && y == FY && x == FX2) {
      ++FX2;
      return;
    }
    Flush();
    FOpen = y >= 0 && y < FHeight;
    FY = y;
    FX1 = x;
    FX2 = x + 1;
  }

 private:
  void Flush() {
    if (FOpen) FSink.Span(int32_t(FY), int32_t(FX1), int32_t(FX2));
    FOpen = false;
  }
  TSpanSink& FSink;
  int32_t FHeight;
  bool FOpen = false;
  int64_t FY = 0, FX1 = 0, FX2 = 0;
};

}  // namespace

void TraceLine(TPoint a, TPoint b, bool skipEnd, int32_t w, int32_t h, TSpanSink& sink) {
  if (w <= 0 || h <= 0) return;
  const int64_t dx = int64_t(b.X) - a.X, dy = int64_t(b.Y) - a.Y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  // Walk from the end with the smaller coordinate on the longer axis.
  TPoint from = a, to = b;
  bool endIsLast = true;
  if ((xMajor && dx < 0) || (!xMajor && dy < 0)) {
    std::swap(from, to);
    endIsLast = false;
  }
  const int64_t major0 = xMajor ? from.X : from.Y, minor0 = xMajor ? from.Y : from.X;
  const int64_t n = xMajor ? int64_t(to.X) - from.X : int64_t(to.Y) - from.Y;
  const int64_t d = xMajor ? int64_t(to.Y) - from.Y : int64_t(to.X) - from.X;
  int64_t first = 0, last = n;
  if (skipEnd) {
    if (endIsLast)
      --last;
    else
      ++first;
  }
  first = std::max(first, -major0);
  last = std::min(last, int64_t(xMajor ? w : h) - 1 - major0);
  if (first > last) return;
  if (n == 0) {  // a single pixel, its column already clipped
    if (from.Y >= 0 && from.Y < h) sink.Span(from.Y, from.X, from.X + 1);
    return;
  }
  TFloorStep offset(n, 2 * d, 2 * n, first);
  if (xMajor) {
    TRowRuns runs(sink, h);
    for (int64_t i = first; i <= last; ++i, offset.Next())
      runs.Add(major0 + i, minor0 + offset.Value());
    return;
  }
  for (int64_t i = first; i <= last; ++i, offset.Next()) {
    const int64_t x = minor0 + offset.Value();
    if (x >= 0 && x < w) sink.Span(int32_t(major0 + i), int32_t(x), int32_t(x + 1));
  }
}

}  // namespace qv
