// Receiver of horizontal pixel runs: the rasteriser breaks every shape (polygon interior,
// line, text) into runs of row y, columns x1 .. x2 - 1, already clipped to the target.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// Sets n 32-bit pixels from p on: four at a time, the last four overlapping the ones before.
inline void FillPixels32(uint32_t* p, size_t n, uint32_t pixel) {
  typedef uint32_t TQuad __attribute__((vector_size(16), may_alias, aligned(4)));
  if (n < 4) {
    for (size_t i = 0; i < n; ++i) p[i] = pixel;
    return;
  }
  const TQuad quad = {pixel, pixel, pixel, pixel};
  for (size_t i = 0; i + 4 < n; i += 4) *reinterpret_cast<TQuad*>(p + i) = quad;
  *reinterpret_cast<TQuad*>(p + n - 4) = quad;
}

namespace span_detail {
typedef uint32_t TLanes4 __attribute__((vector_size(16), may_alias, aligned(4)));
typedef uint32_t TLanes8 __attribute__((vector_size(32), may_alias, aligned(4)));
typedef uint32_t TLanes16 __attribute__((vector_size(64), may_alias, aligned(4)));
template <size_t kLanes> struct TLanesOf;
template <> struct TLanesOf<4> { using T = TLanes4; };
template <> struct TLanesOf<8> { using T = TLanes8; };
template <> struct TLanesOf<16> { using T = TLanes16; };
}  // namespace span_detail

// The same kLanes pixels a store (8 needs AVX, 16 AVX-512 in the calling function).
template <size_t kLanes>
__attribute__((always_inline)) inline void FillPixels32Lanes(uint32_t* p, size_t n,
                                                         uint32_t pixel) {
  using TLanes = typename span_detail::TLanesOf<kLanes>::T;
  if (n < kLanes) return FillPixels32(p, n, pixel);
  TLanes v;
  for (size_t i = 0; i < kLanes; ++i) v[i] = pixel;
  for (size_t i = 0; i + kLanes < n; i += kLanes) *reinterpret_cast<TLanes*>(p + i) = v;
  *reinterpret_cast<TLanes*>(p + n - kLanes) = v;
}

// The pixels a store of this processor's widest vectors holds: 16, 8 or 4.
size_t WidestLanes();

// The same for long spans, with the widest stores this processor has.
void FillPixels32Wide(uint32_t* p, size_t n, uint32_t pixel);

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
