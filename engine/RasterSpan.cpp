#include "RasterSpan.h"

#include <algorithm>

namespace qv {

void ScanRect(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t w, int32_t h,
              TSpanSink& sink) {
  const int64_t left = std::max<int64_t>(x1, 0), right = std::min<int64_t>(x2, w);
  const int64_t top = std::max<int64_t>(y1, 0), bottom = std::min<int64_t>(y2, h);
  if (left >= right) return;
  for (int64_t y = top; y < bottom; ++y) sink.Span(int32_t(y), int32_t(left), int32_t(right));
}

}  // namespace qv
