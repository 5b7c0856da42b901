// Receiver of horizontal pixel runs: the rasteriser breaks every shape (polygon interior,
// line, text) into runs of row y, columns x1 .. x2 - 1, already clipped to the target.
#pragma once

#include <cstdint>

namespace qv {

class TSpanSink {
 public:
  virtual ~TSpanSink() = default;
  // 0 <= y < target height, 0 <= x1 < x2 <= target width.
  virtual void Span(int32_t y, int32_t x1, int32_t x2) = 0;
};

// Clips the rectangle columns x1 .. x2 - 1, rows y1 .. y2 - 1 to a w x h target and hands its
// rows to sink; nothing when the rectangle is empty or outside.
void ScanRect(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t w, int32_t h,
              TSpanSink& sink);

}  // namespace qv
