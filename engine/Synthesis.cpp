// Fixed-point affine coordinates, triangle points and the cross-dissolve of frame synthesis.
//
// The integer formulas are kept exactly: 64-bit intermediates that wrap on overflow like the
// two's-complement machine arithmetic they were designed on (done through unsigned types so that
// no input, however far outside the frame, is undefined behaviour), and divisions truncating
// toward zero.
#include "Synthesis.h"

#include <emmintrin.h>

#include <cstdint>

#include "WorkerPool.h"

namespace qv {

namespace {

inline int64_t WMul(int64_t a, int64_t b) { return int64_t(uint64_t(a) * uint64_t(b)); }
inline int64_t WAdd(int64_t a, int64_t b) { return int64_t(uint64_t(a) + uint64_t(b)); }
inline int64_t WSub(int64_t a, int64_t b) { return int64_t(uint64_t(a) - uint64_t(b)); }
// Truncating division; the one overflowing case (INT64_MIN / -1) wraps.
inline int64_t WDiv(int64_t n, int64_t d) { return d == -1 ? WSub(0, n) : n / d; }
// R(n, d) = (n + (d div 2)) div d.
inline int64_t R(int64_t n, int64_t d) { return WDiv(WAdd(n, d / 2), d); }

}  // namespace

void TriangleCoords(TPoint P0, TPoint P1, TPoint P2, TPoint Q, int32_t& A, int32_t& B) {
  A = 0;
  B = 0;
  const int64_t e1x = int64_t(P1.X) - P0.X, e1y = int64_t(P1.Y) - P0.Y;
  const int64_t e2x = int64_t(P2.X) - P0.X, e2y = int64_t(P2.Y) - P0.Y;
  const int64_t px = int64_t(Q.X) - P0.X, py = int64_t(Q.Y) - P0.Y;
  if (px == 0 && py == 0) return;
  if (px == e1x && py == e1y) {
    A = 32768;
    return;
  }
  if (px == e2x && py == e2y) {
    B = 32768;
    return;
  }
  if (e1x == 0) {
    if (e2x == 0) return;
    B = int32_t(R(WMul(px, 32768), e2x));
    if (e1y == 0) {
      A = 0;
      return;
    }
    A = int32_t(R(WSub(WMul(py, 32768), WMul(B, e2y)), e1y));
    return;
  }
  if (e2x == 0) {
    A = int32_t(R(WMul(px, 32768), e1x));
    if (e2y == 0) {
      B = 0;
      return;
    }
    B = int32_t(R(WSub(WMul(py, 32768), WMul(A, e1y)), e2y));
    return;
  }
  const int64_t det = WSub(WMul(e1x, e2y), WMul(e2x, e1y));
  if (det == 0) return;
  A = int32_t(R(WMul(WSub(WMul(px, e2y), WMul(py, e2x)), 32768), det));
  B = int32_t(R(WMul(WSub(WMul(px, e1y), WMul(py, e1x)), 32768), WSub(0, det)));
}

TPoint TrianglePoint(TPoint P0, TPoint P1, TPoint P2, int64_t A, int64_t B) {
  const int64_t sx = WAdd(WMul(int64_t(P1.X) - P0.X, A), WMul(int64_t(P2.X) - P0.X, B));
  const int64_t sy = WAdd(WMul(int64_t(P1.Y) - P0.Y, A), WMul(int64_t(P2.Y) - P0.Y, B));
  return TPoint{int32_t(WAdd(P0.X, sx / 32768)), int32_t(WAdd(P0.Y, sy / 32768))};
}

namespace {

void BlendRange(const uint32_t* src1, const uint32_t* src2, uint32_t* dst, uint8_t w, size_t n) {
  // Four pixels at a time in 16-bit lanes: a * (255 - w) + b * w never exceeds 65025, so the
  // unsigned 16-bit sums are exact and the shift by 8 gives the rounded-down quotient.
  const __m128i wa = _mm_set1_epi16(int16_t(255 - w));
  const __m128i wb = _mm_set1_epi16(int16_t(w));
  const __m128i zero = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src1 + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src2 + i));
    const __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), wa),
                      _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), wb)),
        8);
    const __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), wa),
                      _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), wb)),
        8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(lo, hi));
  }
  for (; i < n; ++i) dst[i] = BlendPixel(src1[i], src2[i], w);
}

// Below this many pixels one thread is quicker than waking the others.
constexpr size_t kParallelBlend = size_t(1) << 16;

}  // namespace

void BlendPixels(const uint32_t* src1, const uint32_t* src2, uint32_t* dst, uint8_t w,
                 int32_t rows, int32_t columns) {
  if (rows <= 0 || columns <= 0) return;
  const size_t n = size_t(rows) * size_t(columns);
  TWorkerPool& pool = SynthesisPool();
  if (n < kParallelBlend || pool.Threads() <= 1) return BlendRange(src1, src2, dst, w, n);
  // Parts of whole cache lines; every pixel is computed alike, whatever the split.
  const size_t parts = size_t(pool.Threads());
  pool.Run([&](int i) {
    const size_t b = n * size_t(i) / parts / 16 * 16;
    const size_t e = size_t(i) + 1 == parts ? n : n * (size_t(i) + 1) / parts / 16 * 16;
    BlendRange(src1 + b, src2 + b, dst + b, w, e - b);
  });
}

}  // namespace qv
