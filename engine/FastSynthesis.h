// The per-pixel loop of frame synthesis, computed fast and bit for bit like the plain formulas
// of Synthesis.h: rows are split across the synthesis pool, each row is walked in runs of one
// triangle, and inside a run the affine coordinates and both mappings are evaluated in 32-bit
// integers with the quotients stepped by their remainders, sixteen pixels at a time (AVX-512) or
// eight (AVX2), the source pixels of the neighbours mostly picked from two loaded stretches of
// source rows; where those bounds do not hold (see FastSynthesis.cpp), four pixels at a time in
// double precision, every intermediate an exactly representable integer. Triangles outside
// both bounds use the plain formulas.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Types.h"

namespace qv {

struct TSynthesisFrame {
  const uint32_t* Index = nullptr;  // index map as read from the raster (red and blue exchanged)
  const uint32_t* Src1 = nullptr;
  const uint32_t* Src2 = nullptr;
  uint32_t* Target = nullptr;
  int32_t W = 0, H = 0;
  const TTriangle* TriTarget = nullptr;
  const TTriangle* Tri1 = nullptr;
  const TTriangle* Tri2 = nullptr;
  size_t Count = 0;
  uint8_t Weight = 0;
};

// The vector instructions the fast path uses: AVX2 runs the integer path eight pixels a time and
// the double-precision path, AVX-512 the integer path sixteen a time.
enum TVectorLevel { vl_None, vl_Avx2, vl_Avx512 };

// The level this processor offers, within the limit below.
TVectorLevel SynthesisVectorLevel();

// Uses at most the given level (for comparing every path with the plain formulas).
void LimitSynthesisVectorLevel(TVectorLevel level);

// Computes the covered pixels of the rows selected by oe (from the top: even, odd or all).
void SynthesizeFrame(const TSynthesisFrame& f, TOddEvenBoth oe);

// The same with the plain formulas on the caller's thread: the reference for the fast path.
void SynthesizeFramePlain(const TSynthesisFrame& f, TOddEvenBoth oe);

}  // namespace qv
