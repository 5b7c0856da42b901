#include "RasterSpan.h"

#include <algorithm>

namespace qv {

namespace {

#if defined(__x86_64__)
__attribute__((target("avx512f"))) void FillAvx512(uint32_t* p, size_t n, uint32_t pixel) {
  FillPixels32Lanes<16>(p, n, pixel);
}

__attribute__((target("avx2"))) void FillAvx2(uint32_t* p, size_t n, uint32_t pixel) {
  FillPixels32Lanes<8>(p, n, pixel);
}
#endif

using TFill = void (*)(uint32_t*, size_t, uint32_t);

TFill WidestFill() {
  switch (WidestLanes()) {
#if defined(__x86_64__)
    case 16: return FillAvx512;
    case 8: return FillAvx2;
#endif
    default: return FillPixels32;
  }
}

}  // namespace

size_t WidestLanes() {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx512f")) return 16;
  if (__builtin_cpu_supports("avx2")) return 8;
#endif
  return 4;
}

void FillPixels32Wide(uint32_t* p, size_t n, uint32_t pixel) {
  static const TFill fill = WidestFill();
  fill(p, n, pixel);
}

void ScanRect(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t w, int32_t h,
              TSpanSink& sink) {
  const int64_t left = std::max<int64_t>(x1, 0), right = std::min<int64_t>(x2, w);
  const int64_t top = std::max<int64_t>(y1, 0), bottom = std::min<int64_t>(y2, h);
  if (left >= right) return;
  for (int64_t y = top; y < bottom; ++y) sink.Span(int32_t(y), int32_t(left), int32_t(right));
}

}  // namespace qv
