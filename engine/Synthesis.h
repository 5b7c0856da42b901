// The per-pixel arithmetic of frame synthesis: fixed-point affine coordinates of a pixel in a
// triangle (1.0 = 32768), the point at given coordinates, and the byte-wise cross-dissolve.
#pragma once

#include <cstdint>

#include "Types.h"

namespace qv {

// Solves Q - P0 = A (P1 - P0) + B (P2 - P0) in fixed point with 1.0 = 32768.
void TriangleCoords(TPoint P0, TPoint P1, TPoint P2, TPoint Q, int32_t& A, int32_t& B);
inline void TriangleCoords(const TTriangle& t, TPoint Q, int32_t& A, int32_t& B) {
  TriangleCoords(t[0], t[1], t[2], Q, A, B);
}

// The point at the fixed-point coordinates A, B of the triangle (truncating toward zero).
TPoint TrianglePoint(TPoint P0, TPoint P1, TPoint P2, int64_t A, int64_t B);
inline TPoint TrianglePoint(const TTriangle& t, int64_t A, int64_t B) {
  return TrianglePoint(t[0], t[1], t[2], A, B);
}

// Per byte: (a * (255 - w) + b * w) shr 8.
inline uint32_t BlendPixel(uint32_t a, uint32_t b, uint8_t w) {
  uint32_t r = 0;
  for (int j = 0; j < 32; j += 8) {
    uint32_t aj = (a >> j) & 0xFF, bj = (b >> j) & 0xFF;
    r |= ((aj * (255u - w) + bj * w) >> 8) << j;
  }
  return r;
}

// BlendPixel over rows * columns pixels in buffer order.
void BlendPixels(const uint32_t* src1, const uint32_t* src2, uint32_t* dst, uint8_t w,
                 int32_t rows, int32_t columns);

}  // namespace qv
