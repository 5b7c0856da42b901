#include "RasterSpan.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

typedef uint32_t TLanes8 __attribute__((vector_size(32)));
typedef uint32_t TLanes16 __attribute__((vector_size(64)));

// n >= the lanes' count of pixels in stores of all lanes, the last one overlapping the one
// before (memcpy: the stores need no alignment).
template <typename TLanes, size_t kLanes = sizeof(TLanes) / 4>
inline void FillLanes(uint32_t* p, size_t n, uint32_t pixel) {
  TLanes v;
  for (size_t i = 0; i < kLanes; ++i) v[i] = pixel;
  for (size_t i = 0; i + kLanes < n; i += kLanes) std::memcpy(p + i, &v, sizeof v);
  std::memcpy(p + n - kLanes, &v, sizeof v);
}

#if defined(__x86_64__)
__attribute__((target("avx512f"))) void FillAvx512(uint32_t* p, size_t n, uint32_t pixel) {
  if (n < 16) return FillPixels32(p, n, pixel);
  FillLanes<TLanes16>(p, n, pixel);
}

__attribute__((target("avx2"))) void FillAvx2(uint32_t* p, size_t n, uint32_t pixel) {
  if (n < 8) return FillPixels32(p, n, pixel);
  FillLanes<TLanes8>(p, n, pixel);
}
#endif

using TFill = void (*)(uint32_t*, size_t, uint32_t);

TFill WidestFill() {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx512f")) return FillAvx512;
  if (__builtin_cpu_supports("avx2")) return FillAvx2;
#endif
  return FillPixels32;
}

}  // namespace

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
