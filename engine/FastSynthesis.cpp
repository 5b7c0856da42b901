#include "FastSynthesis.h"

// GCC 12 warns about the deliberately undefined source operand inside its own AVX-512 intrinsics
// (avx512fintrin.h); the warning says nothing about this file.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <vector>

#include "Synthesis.h"
#include "WorkerPool.h"

namespace qv {

namespace {

// Why doubles are exact here. Within a run of one triangle the affine numerators are linear in x:
// mA = aX * x + aY * y + aC (the rounding offset d div 2 included), and A = sign(det) *
// trunc(mA / |det|), B likewise with its own numerator and the opposite sign. With every corner
// coordinate within +-2^16, |mA| < 2^51, so mA is an exact double; a correctly rounded quotient
// of two such integers is within one of the exact integer quotient, and the exact remainder
// m - q * |det| (also an exact double) corrects it (TruncDiv). If also |A|, |B| < 2^31 over the
// triangle's pixels, they are the same 32-bit values as the plain formulas give, and
// e * A + e' * B (|e| <= 2^17) stays below 2^49: the mapped point, its division by 32768 (a power
// of two) and its truncation are exact as well. A triangle with one vertical edge takes the
// plain formulas' own branch: one coordinate from x alone, the other from the first one, both
// quotients of exact doubles again. Triangles outside these bounds, with two vertical edges or
// with no area are computed with the plain formulas.
constexpr int64_t kCoordLimit = int64_t(1) << 16;
constexpr int64_t kQuotientLimit = (int64_t(1) << 31) - 2;

struct TMapping {
  double P0X, P0Y, E1X, E2X, E1Y, E2Y;
};

// Stepping floor(m / D) and its remainder along a row, sixteen pixels a time: lane i starts at
// the quotient and remainder of i * step, and every group adds those of 16 * step.
struct TLaneSteps {
  alignas(64) int32_t Q[16];
  alignas(64) int32_t R[16];
  int32_t Q16 = 0, R16 = 0;
};

// The mapping of one triangle in 32-bit integers: corner and edge vectors.
struct TIntMapping {
  int32_t P0X, P0Y, E1X, E2X, E1Y, E2Y;
};

// How the affine coordinates of a triangle are found: through the determinant, or, with the
// first or the second edge vertical, one coordinate from x alone and the other from the first.
enum TCoordKind : uint8_t { ck_Plane, ck_Edge1Vertical, ck_Edge2Vertical };

struct TTriSetup {
  bool Fast = false;
  bool Int32 = false;  // the sixteen-lane integer path is exact for this triangle
  TCoordKind Kind = ck_Plane;
  int64_t AX = 0, AY = 0, AC = 0, BX = 0, BY = 0, BC = 0;
  int64_t D = 1;  // |det|
  double SA = 1, SB = -1;
  // With a vertical edge: the first coordinate Q = SA * trunc((AX * x + AC) / D), the second
  // SecondS * trunc((32768 * y + SecondC - Q * SecondE) / SecondD), or 0 when SecondZero.
  double SecondE = 0, SecondD = 1, SecondS = 1;
  int64_t SecondC = 0;
  bool SecondZero = false;
  // The integer path of a vertical edge: T = trunc((AX * x + AC) / D) stepped, the second
  // quotient trunc((32768 * y + SecondC - SecondET * T) / SecondD) (SecondET = sign(Q) * SecondE),
  // the signs of both in the edge vectors.
  int32_t SecondET = 0;
  TMapping M1{}, M2{};
  TLaneSteps StepA, StepB;
  TIntMapping I1{}, I2{};
  // The box of the triangle's corners within the frame: every pixel of it maps into both
  // source frames when InFrame, so runs inside the box need no clamping.
  int32_t BoxX0 = 0, BoxX1 = -1, BoxY0 = 0, BoxY1 = -1;
  bool InFrame = false;
};

bool WithinLimit(const TTriangle& t) {
  for (const TPoint& p : t)
    if (std::abs(int64_t(p.X)) > kCoordLimit || std::abs(int64_t(p.Y)) > kCoordLimit) return false;
  return true;
}

TMapping MappingOf(const TTriangle& t) {
  return TMapping{double(t[0].X),          double(t[0].Y),
                  double(t[1].X - t[0].X), double(t[2].X - t[0].X),
                  double(t[1].Y - t[0].Y), double(t[2].Y - t[0].Y)};
}

// The mapping of one triangle in 32-bit integers, for coordinates computed without their signs:
// with A = s1 * a and B = s2 * b, e1 * A + e2 * B = (s1 * e1) * a + (s2 * e2) * b.
TIntMapping IntMappingOf(const TTriangle& t, int32_t s1, int32_t s2) {
  return TIntMapping{t[0].X,
                     t[0].Y,
                     s1 * (t[1].X - t[0].X),
                     s2 * (t[2].X - t[0].X),
                     s1 * (t[1].Y - t[0].Y),
                     s2 * (t[2].Y - t[0].Y)};
}

// floor(n / d) for d > 0.
inline int64_t FloorDiv(int64_t n, int64_t d) {
  const int64_t q = n / d;
  return (n % d != 0 && n < 0) ? q - 1 : q;
}

void SetupLaneSteps(TLaneSteps& l, int64_t step, int64_t D) {
  // i * step = q * D + r, from lane to lane by adding the quotient and remainder of step.
  const int64_t q1 = FloorDiv(step, D), r1 = step - q1 * D;
  int64_t q = 0, r = 0;
  for (int i = 0; i < 16; ++i) {
    l.Q[i] = int32_t(q);
    l.R[i] = int32_t(r);
    q += q1;
    r += r1;
    if (r >= D) {
      ++q;
      r -= D;
    }
  }
  l.Q16 = int32_t(q);
  l.R16 = int32_t(r);
}

// Largest |a * x + b * y + c| over the rectangle [x0, x1] x [y0, y1].
int64_t MaxAbsLinear(int64_t a, int64_t b, int64_t c, int64_t x0, int64_t x1, int64_t y0,
                     int64_t y1) {
  int64_t m = 0;
  for (int64_t x : {x0, x1})
    for (int64_t y : {y0, y1}) m = std::max(m, std::abs(a * x + b * y + c));
  return m;
}

// The integer path keeps every intermediate in 32 bits: the divisor, remainders below 2 * D, the
// quotients (at most maxA and maxB in size over the whole frame), and the mapped sums
// e1 * A + e2 * B of both triangles.
constexpr int64_t kInt32Limit = (int64_t(1) << 31) - 1;

// Whether e1 * A + e2 * B stays below 2^31 in both axes for |A| <= maxA, |B| <= maxB.
bool MappedSumsFit(const TTriangle& t, int64_t maxA, int64_t maxB) {
  for (int axis = 0; axis < 2; ++axis) {
    const int64_t e1 = axis ? int64_t(t[1].Y) - t[0].Y : int64_t(t[1].X) - t[0].X;
    const int64_t e2 = axis ? int64_t(t[2].Y) - t[0].Y : int64_t(t[2].X) - t[0].X;
    if (std::abs(e1) * maxA + std::abs(e2) * maxB >= kInt32Limit) return false;
  }
  return true;
}

void SetupIntPath(TTriSetup& s, const TTriangle& t1, const TTriangle& t2, int64_t D, int64_t maxA,
                  int64_t maxB, bool negative) {
  if (D >= (int64_t(1) << 30)) return;
  if (!MappedSumsFit(t1, maxA, maxB) || !MappedSumsFit(t2, maxA, maxB)) return;
  // A group of sixteen pixels steps the quotients by less than 2^30.
  if (std::abs(16 * s.AX) / D >= (int64_t(1) << 30) || std::abs(16 * s.BX) / D >= (int64_t(1) << 30))
    return;
  SetupLaneSteps(s.StepA, s.AX, D);
  SetupLaneSteps(s.StepB, s.BX, D);
  // A = sA * trunc(mA / D) and B = -sA * trunc(mB / D): the signs go into the edge vectors,
  // e1 * A + e2 * B = (sA * e1) * trunc(mA / D) + (-sA * e2) * trunc(mB / D).
  s.I1 = IntMappingOf(t1, negative ? -1 : 1, negative ? 1 : -1);
  s.I2 = IntMappingOf(t2, negative ? -1 : 1, negative ? 1 : -1);
  s.Int32 = true;
}

int64_t Sign(int64_t v) { return v < 0 ? -1 : 1; }

// The vertical-edge case in 32-bit integers: the numerator of the second quotient (at most maxN
// over the whole frame), its quotient and the mapped sums stay below 2^31.
void SetupVerticalIntPath(TTriSetup& s, const TTriangle& t1, const TTriangle& t2, int64_t maxN,
                          int64_t qd, int64_t rd, int64_t re, int64_t maxQ) {
  if (maxN >= kInt32Limit) return;
  const int64_t maxR = s.SecondZero ? 0 : maxN / std::abs(rd) + 1;
  const bool first = s.Kind == ck_Edge1Vertical;
  const int64_t maxA = first ? maxR : maxQ, maxB = first ? maxQ : maxR;
  if (!MappedSumsFit(t1, maxA, maxB) || !MappedSumsFit(t2, maxA, maxB)) return;
  SetupLaneSteps(s.StepA, s.AX, s.D);
  const int32_t sQ = int32_t(Sign(qd)), sR = int32_t(Sign(rd));
  s.SecondET = int32_t(sQ * re);
  const int32_t s1 = first ? sR : sQ, s2 = first ? sQ : sR;
  s.I1 = IntMappingOf(t1, s1, s2);
  s.I2 = IntMappingOf(t2, s1, s2);
  s.Int32 = true;
}

// A triangle with one vertical edge: with e1x = 0, B = R(32768 * px, e2x) and
// A = R(32768 * py - B * e2y, e1y) (A = 0 when e1y = 0); with e2x = 0 the same with the edges
// exchanged. Both quotients are bounded over the whole frame like those of the plane case.
TTriSetup SetupVerticalEdge(const TTriangle& tt, const TTriangle& t1, const TTriangle& t2,
                            int32_t W, int32_t H) {
  TTriSetup s;
  const int64_t p0x = tt[0].X, p0y = tt[0].Y;
  const int64_t e1x = tt[1].X - p0x, e1y = tt[1].Y - p0y;
  const int64_t e2x = tt[2].X - p0x, e2y = tt[2].Y - p0y;
  const bool first = e1x == 0;
  const int64_t qd = first ? e2x : e1x;  // divisor of the coordinate found from x
  const int64_t rd = first ? e1y : e2y;  // divisor of the other one
  const int64_t re = first ? e2y : e1y;
  if (qd == 0) return s;  // both edges vertical: the plain formulas' corner cases decide
  s.Kind = first ? ck_Edge1Vertical : ck_Edge2Vertical;
  s.AX = 32768;
  s.AC = -32768 * p0x + qd / 2;
  s.D = std::abs(qd);
  s.SA = double(Sign(qd));
  s.SecondZero = rd == 0;
  s.SecondC = -32768 * p0y + rd / 2;
  s.SecondE = double(re);
  s.SecondD = double(rd == 0 ? 1 : std::abs(rd));
  s.SecondS = double(Sign(rd));
  const int64_t maxQ = std::max(std::abs(s.AC), std::abs(s.AX * (W - 1) + s.AC)) / s.D;
  if (maxQ >= kQuotientLimit) return s;
  // The numerator 32768 * y + SecondC - Q * SecondE of the second quotient over the frame.
  const int64_t maxPy = std::max(std::abs(p0y), std::abs(H - 1 - p0y));
  const int64_t maxN = 32768 * maxPy + std::abs(rd / 2) + (maxQ + 1) * std::abs(re);
  if (!s.SecondZero && maxN / std::abs(rd) >= kQuotientLimit) return s;
  s.M1 = MappingOf(t1);
  s.M2 = MappingOf(t2);
  s.Fast = true;
  SetupVerticalIntPath(s, t1, t2, maxN, qd, rd, re, maxQ + 1);
  return s;
}

// [lo, hi] of a * v for v in [v0, v1].
void ScaledRange(int64_t a, int64_t v0, int64_t v1, int64_t& lo, int64_t& hi) {
  lo = std::min(a * v0, a * v1);
  hi = std::max(a * v0, a * v1);
}

// Whether p0 + trunc((e1 * a + e2 * b) / 32768) lies in [0, limit] for all a in [a0, a1] and
// b in [b0, b1] (truncation is monotone, so the ends of the sum's range bound it).
bool MapsInto(int64_t p0, int64_t e1, int64_t e2, int64_t a0, int64_t a1, int64_t b0, int64_t b1,
              int64_t limit) {
  int64_t l1, h1, l2, h2;
  ScaledRange(e1, a0, a1, l1, h1);
  ScaledRange(e2, b0, b1, l2, h2);
  return p0 + (l1 + l2) / 32768 >= 0 && p0 + (h1 + h2) / 32768 <= limit;
}

// The box of tt's corners within the frame; InFrame when the plane case's coordinates over the
// whole box (trunc(m / D) is monotone in m, and m is linear, so its corners bound them) map into
// the frame for both sources.
void SetupBox(TTriSetup& s, const TTriangle& tt, int32_t W, int32_t H) {
  s.BoxX0 = std::max(0, std::min({tt[0].X, tt[1].X, tt[2].X}));
  s.BoxX1 = std::min(W - 1, std::max({tt[0].X, tt[1].X, tt[2].X}));
  s.BoxY0 = std::max(0, std::min({tt[0].Y, tt[1].Y, tt[2].Y}));
  s.BoxY1 = std::min(H - 1, std::max({tt[0].Y, tt[1].Y, tt[2].Y}));
  if (s.BoxX0 > s.BoxX1 || s.BoxY0 > s.BoxY1) return;
  int64_t aLo = INT64_MAX, aHi = INT64_MIN, bLo = INT64_MAX, bHi = INT64_MIN;
  for (int64_t x : {int64_t(s.BoxX0), int64_t(s.BoxX1)})
    for (int64_t y : {int64_t(s.BoxY0), int64_t(s.BoxY1)}) {
      const int64_t a = (s.AX * x + s.AY * y + s.AC) / s.D, b = (s.BX * x + s.BY * y + s.BC) / s.D;
      aLo = std::min(aLo, a);
      aHi = std::max(aHi, a);
      bLo = std::min(bLo, b);
      bHi = std::max(bHi, b);
    }
  auto fits = [&](const TIntMapping& m) {
    return MapsInto(m.P0X, m.E1X, m.E2X, aLo, aHi, bLo, bHi, W - 1) &&
           MapsInto(m.P0Y, m.E1Y, m.E2Y, aLo, aHi, bLo, bHi, H - 1);
  };
  s.InFrame = fits(s.I1) && fits(s.I2);
}

TTriSetup SetupTriangle(const TTriangle& tt, const TTriangle& t1, const TTriangle& t2, int32_t W,
                        int32_t H) {
  TTriSetup s;
  if (!WithinLimit(tt) || !WithinLimit(t1) || !WithinLimit(t2)) return s;
  const int64_t p0x = tt[0].X, p0y = tt[0].Y;
  const int64_t e1x = tt[1].X - p0x, e1y = tt[1].Y - p0y;
  const int64_t e2x = tt[2].X - p0x, e2y = tt[2].Y - p0y;
  if (e1x == 0 || e2x == 0) return SetupVerticalEdge(tt, t1, t2, W, H);
  const int64_t det = e1x * e2y - e2x * e1y;
  if (det == 0) return s;
  const int64_t hd = det / 2;
  s.AX = 32768 * e2y;
  s.AY = -32768 * e2x;
  s.AC = 32768 * (-p0x * e2y + p0y * e2x) + hd;
  s.BX = 32768 * e1y;
  s.BY = -32768 * e1x;
  s.BC = 32768 * (-p0x * e1y + p0y * e1x) - hd;
  const int64_t D = std::abs(det);
  s.D = D;
  s.SA = det > 0 ? 1.0 : -1.0;
  s.SB = -s.SA;
  // Bounded over the whole frame, so that any pixel the index map assigns to the triangle,
  // however far from it, is covered by the bounds.
  const int64_t x0 = 0, x1 = W - 1, y0 = 0, y1 = H - 1;
  const int64_t maxA = MaxAbsLinear(s.AX, s.AY, s.AC, x0, x1, y0, y1) / D;
  const int64_t maxB = MaxAbsLinear(s.BX, s.BY, s.BC, x0, x1, y0, y1) / D;
  if (maxA >= kQuotientLimit || maxB >= kQuotientLimit) return s;
  s.M1 = MappingOf(t1);
  s.M2 = MappingOf(t2);
  s.Fast = true;
  SetupIntPath(s, t1, t2, D, maxA + 1, maxB + 1, det < 0);
  if (s.Int32) SetupBox(s, tt, W, H);
  return s;
}

// One pixel with the plain formulas.
inline uint32_t PlainPixel(const TSynthesisFrame& f, size_t k, int32_t x, int32_t y) {
  const int32_t W = f.W, H = f.H;
  int32_t A, B;
  TriangleCoords(f.TriTarget[k], TPoint{x, y}, A, B);
  TPoint p1 = TrianglePoint(f.Tri1[k], A, B);
  TPoint p2 = TrianglePoint(f.Tri2[k], A, B);
  p1.X = std::clamp(p1.X, 0, W - 1);
  p1.Y = std::clamp(p1.Y, 0, H - 1);
  p2.X = std::clamp(p2.X, 0, W - 1);
  p2.Y = std::clamp(p2.Y, 0, H - 1);
  return BlendPixel(f.Src1[size_t(H - 1 - p1.Y) * W + p1.X], f.Src2[size_t(H - 1 - p2.Y) * W + p2.X],
                    f.Weight);
}

void PlainRun(const TSynthesisFrame& f, size_t k, int32_t y, int32_t xs, int32_t xe,
              uint32_t* dstRow) {
  for (int32_t x = xs; x < xe; ++x) dstRow[x] = PlainPixel(f, k, x, y);
}

#if defined(__x86_64__)
#define QV_AVX2 __attribute__((target("avx2,fma")))

// The mapped buffer index (H - 1 - Y) * W + X of four pixels, clamped into the frame.
QV_AVX2 inline __m128i MappedIndex(const TMapping& m, __m256d A, __m256d B, __m256d maxX,
                                   __m256d maxY, __m256d W) {
  const __m256d scale = _mm256_set1_pd(1.0 / 32768.0);
  const __m256d zero = _mm256_setzero_pd();
  const int round = _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC;
  __m256d sx = _mm256_fmadd_pd(_mm256_set1_pd(m.E1X), A, _mm256_mul_pd(_mm256_set1_pd(m.E2X), B));
  __m256d sy = _mm256_fmadd_pd(_mm256_set1_pd(m.E1Y), A, _mm256_mul_pd(_mm256_set1_pd(m.E2Y), B));
  __m256d X = _mm256_add_pd(_mm256_set1_pd(m.P0X), _mm256_round_pd(_mm256_mul_pd(sx, scale), round));
  __m256d Y = _mm256_add_pd(_mm256_set1_pd(m.P0Y), _mm256_round_pd(_mm256_mul_pd(sy, scale), round));
  X = _mm256_min_pd(_mm256_max_pd(X, zero), maxX);
  Y = _mm256_min_pd(_mm256_max_pd(Y, zero), maxY);
  return _mm256_cvttpd_epi32(_mm256_fmadd_pd(_mm256_sub_pd(maxY, Y), W, X));
}

// trunc(m / D) for four exact integers m with |m| < 2^51 and a positive integer D: the quotient
// through the reciprocal is off by at most one, the exact remainder tells which way.
QV_AVX2 inline __m256d TruncDiv(__m256d m, __m256d D, __m256d invD) {
  const int round = _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC;
  const __m256d signBit = _mm256_set1_pd(-0.0);
  const __m256d one = _mm256_set1_pd(1.0);
  const __m256d am = _mm256_andnot_pd(signBit, m);
  __m256d q = _mm256_round_pd(_mm256_mul_pd(am, invD), round);
  const __m256d r = _mm256_fnmadd_pd(q, D, am);
  q = _mm256_add_pd(q, _mm256_and_pd(_mm256_cmp_pd(r, D, _CMP_GE_OQ), one));
  q = _mm256_sub_pd(q, _mm256_and_pd(_mm256_cmp_pd(r, _mm256_setzero_pd(), _CMP_LT_OQ), one));
  return _mm256_or_pd(q, _mm256_and_pd(m, signBit));
}

QV_AVX2 inline __m256i Blend8(__m256i a, __m256i b, __m256i wa, __m256i wb) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i lo = _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(a, zero), wa),
                       _mm256_mullo_epi16(_mm256_unpacklo_epi8(b, zero), wb)),
      8);
  const __m256i hi = _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(a, zero), wa),
                       _mm256_mullo_epi16(_mm256_unpackhi_epi8(b, zero), wb)),
      8);
  return _mm256_packus_epi16(lo, hi);
}

// How many rows ahead the source pixels are fetched into the cache.
constexpr int64_t kPrefetchRows = 2;

struct TFastCoordConsts {
  __m256d D, InvD, SA, SB, SecondE, SecondC, SecondD, InvSecondD, SecondS, StepA, StepB;
  bool SecondZero;
};

// The affine coordinates of four pixels; the numerators are stepped on.
template <TCoordKind kKind>
QV_AVX2 inline void FastCoords(const TFastCoordConsts& c, __m256d& mA, __m256d& mB, __m256d& A,
                               __m256d& B) {
  if constexpr (kKind == ck_Plane) {
    A = _mm256_mul_pd(TruncDiv(mA, c.D, c.InvD), c.SA);
    B = _mm256_mul_pd(TruncDiv(mB, c.D, c.InvD), c.SB);
  } else {
    const __m256d q = _mm256_mul_pd(TruncDiv(mA, c.D, c.InvD), c.SA);
    const __m256d r =
        c.SecondZero
            ? _mm256_setzero_pd()
            : _mm256_mul_pd(
                  TruncDiv(_mm256_fnmadd_pd(q, c.SecondE, c.SecondC), c.SecondD, c.InvSecondD),
                  c.SecondS);
    A = kKind == ck_Edge1Vertical ? r : q;
    B = kKind == ck_Edge1Vertical ? q : r;
  }
  mA = _mm256_add_pd(mA, c.StepA);
  mB = _mm256_add_pd(mB, c.StepB);
}

template <TCoordKind kKind>
QV_AVX2 void FastRun(const TSynthesisFrame& f, const TTriSetup& s, int32_t y, int32_t xs,
                     int32_t xe, uint32_t* dstRow) {
  const __m256d D = _mm256_set1_pd(double(s.D)), invD = _mm256_set1_pd(1.0 / double(s.D));
  const __m256d SA = _mm256_set1_pd(s.SA), SB = _mm256_set1_pd(s.SB);
  const __m256d maxX = _mm256_set1_pd(f.W - 1), maxY = _mm256_set1_pd(f.H - 1);
  const __m256d W = _mm256_set1_pd(f.W);
  const __m256i wa = _mm256_set1_epi16(int16_t(255 - f.Weight));
  const __m256i wb = _mm256_set1_epi16(int16_t(f.Weight));
  const int64_t a0 = s.AX * xs + s.AY * y + s.AC;
  const int64_t b0 = s.BX * xs + s.BY * y + s.BC;
  __m256d mA = _mm256_set_pd(double(a0 + 3 * s.AX), double(a0 + 2 * s.AX), double(a0 + s.AX),
                             double(a0));
  __m256d mB = _mm256_set_pd(double(b0 + 3 * s.BX), double(b0 + 2 * s.BX), double(b0 + s.BX),
                             double(b0));
  const __m256d stepA = _mm256_set1_pd(double(4 * s.AX)), stepB = _mm256_set1_pd(double(4 * s.BX));
  const __m256d secondE = _mm256_set1_pd(s.SecondE), secondS = _mm256_set1_pd(s.SecondS);
  const __m256d secondD = _mm256_set1_pd(s.SecondD), invSecondD = _mm256_set1_pd(1.0 / s.SecondD);
  const __m256d secondC = _mm256_set1_pd(double(32768 * int64_t(y) + s.SecondC));
  const int* src1 = reinterpret_cast<const int*>(f.Src1);
  const int* src2 = reinterpret_cast<const int*>(f.Src2);
  const TFastCoordConsts c{D, invD, SA, SB, secondE, secondC, secondD, invSecondD, secondS,
                           stepA, stepB, s.SecondZero};
  const int64_t ahead = kPrefetchRows * int64_t(f.W);
  for (int32_t x = xs; x < xe; x += 8) {
    __m256d A0, B0, A1, B1;
    FastCoords<kKind>(c, mA, mB, A0, B0);
    FastCoords<kKind>(c, mA, mB, A1, B1);
    const __m256i i1 = _mm256_set_m128i(MappedIndex(s.M1, A1, B1, maxX, maxY, W),
                                        MappedIndex(s.M1, A0, B0, maxX, maxY, W));
    const __m256i i2 = _mm256_set_m128i(MappedIndex(s.M2, A1, B1, maxX, maxY, W),
                                        MappedIndex(s.M2, A0, B0, maxX, maxY, W));
    // Rows are done from the top down: the rows the next rows will read lie a little lower in
    // the bottom-up buffers. Fetching them now hides the memory's latency.
    _mm_prefetch(reinterpret_cast<const char*>(
                     f.Src1 + std::max<int64_t>(0, _mm256_cvtsi256_si32(i1) - ahead)),
                 _MM_HINT_T0);
    _mm_prefetch(reinterpret_cast<const char*>(
                     f.Src2 + std::max<int64_t>(0, _mm256_cvtsi256_si32(i2) - ahead)),
                 _MM_HINT_T0);
    // Lanes past the run hold the indexes of the pixels after it, clamped into the frame like
    // all others: gathering them is safe, and they are not stored.
    const __m256i r = Blend8(_mm256_i32gather_epi32(src1, i1, 4),
                             _mm256_i32gather_epi32(src2, i2, 4), wa, wb);
    uint32_t* dst = dstRow + x;
    if (xe - x >= 8) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), r);
    } else {
      const __m256i mask = _mm256_cmpgt_epi32(_mm256_set1_epi32(xe - x),
                                              _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
      _mm256_maskstore_epi32(reinterpret_cast<int*>(dst), mask, r);
    }
  }
}

// The integer path with AVX2, eight pixels a time: the same quotients, stepped by the remainders
// of the lane tables' first eight lanes (lane 8 holds the step of eight), and the same mappings.
struct TLaneQuotients8 {
  __m256i Q, R;
};

QV_AVX2 inline TLaneQuotients8 StartQuotients8(const TLaneSteps& l, int64_t m, int64_t D,
                                               __m256i vDm1) {
  const int64_t q0 = FloorDiv(m, D);
  __m256i q = _mm256_add_epi32(_mm256_set1_epi32(int32_t(q0)),
                               _mm256_load_si256(reinterpret_cast<const __m256i*>(l.Q)));
  __m256i r = _mm256_add_epi32(_mm256_set1_epi32(int32_t(m - q0 * D)),
                               _mm256_load_si256(reinterpret_cast<const __m256i*>(l.R)));
  const __m256i carry = _mm256_cmpgt_epi32(r, vDm1);  // all ones where r >= D
  return {_mm256_sub_epi32(q, carry),
          _mm256_sub_epi32(r, _mm256_and_si256(carry, _mm256_add_epi32(vDm1, _mm256_set1_epi32(1))))};
}

QV_AVX2 inline void StepQuotients8(TLaneQuotients8& v, __m256i q8, __m256i r8, __m256i vDm1,
                                   __m256i vD) {
  v.Q = _mm256_add_epi32(v.Q, q8);
  v.R = _mm256_add_epi32(v.R, r8);
  const __m256i carry = _mm256_cmpgt_epi32(v.R, vDm1);
  v.Q = _mm256_sub_epi32(v.Q, carry);
  v.R = _mm256_sub_epi32(v.R, _mm256_and_si256(carry, vD));
}

// trunc(m / D) from the floor quotient: one more for a negative m with a remainder.
QV_AVX2 inline __m256i TruncQuotient8(const TLaneQuotients8& v) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i up = _mm256_andnot_si256(_mm256_cmpeq_epi32(v.R, zero),
                                         _mm256_cmpgt_epi32(zero, v.Q));
  return _mm256_sub_epi32(v.Q, up);
}

// s / 32768 truncated toward zero.
QV_AVX2 inline __m256i Div32768x8(__m256i s) {
  return _mm256_srai_epi32(_mm256_add_epi32(s, _mm256_srli_epi32(_mm256_srai_epi32(s, 31), 17)), 15);
}

// trunc(n / d) of eight 32-bit integers through exact doubles (see TruncDiv).
QV_AVX2 inline __m256i TruncDiv8x32(__m256i n, __m256d d, __m256d invD) {
  const __m128i lo = _mm256_cvttpd_epi32(TruncDiv(_mm256_cvtepi32_pd(_mm256_castsi256_si128(n)), d, invD));
  const __m128i hi = _mm256_cvttpd_epi32(TruncDiv(_mm256_cvtepi32_pd(_mm256_extracti128_si256(n, 1)), d, invD));
  return _mm256_set_m128i(hi, lo);
}

template <bool kClamp>
QV_AVX2 inline void MappedPoints8(const TIntMapping& m, __m256i A, __m256i B, __m256i maxX,
                                  __m256i maxY, __m256i& X, __m256i& Y) {
  const __m256i sx = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_set1_epi32(m.E1X), A),
                                      _mm256_mullo_epi32(_mm256_set1_epi32(m.E2X), B));
  const __m256i sy = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_set1_epi32(m.E1Y), A),
                                      _mm256_mullo_epi32(_mm256_set1_epi32(m.E2Y), B));
  X = _mm256_add_epi32(_mm256_set1_epi32(m.P0X), Div32768x8(sx));
  Y = _mm256_add_epi32(_mm256_set1_epi32(m.P0Y), Div32768x8(sy));
  if constexpr (kClamp) {
    const __m256i zero = _mm256_setzero_si256();
    X = _mm256_min_epi32(_mm256_max_epi32(X, zero), maxX);
    Y = _mm256_min_epi32(_mm256_max_epi32(Y, zero), maxY);
  }
}

// Lane i of the 16 pixels from row: pixel d[i] (0 <= d[i] < 16; high: d[i] >= 8).
QV_AVX2 inline __m256i Pick16(const uint32_t* row, __m256i d, __m256i high) {
  const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row));
  const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 8));
  return _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(lo, d),
                            _mm256_permutevar8x32_epi32(hi, d), high);
}

// The source pixels of eight mapped points (lanes outside valid are not read), like
// FetchPixels16: mostly picked from two rows' stretches of 16 pixels, else gathered. Lane 0 and
// the last lane are in the run and in the frame.
QV_AVX2 inline __m256i FetchPixels8(const uint32_t* src, int32_t W, int32_t H, uintptr_t ahead,
                                    __m256i X, __m256i Y, __m256i valid, __m256i lastLane) {
  const int32_t x0 = _mm256_cvtsi256_si32(X), y0 = _mm256_cvtsi256_si32(Y);
  const int32_t x1 = _mm256_cvtsi256_si32(_mm256_permutevar8x32_epi32(X, lastLane));
  const int32_t y1 = _mm256_cvtsi256_si32(_mm256_permutevar8x32_epi32(Y, lastLane));
  // 16 pixels from base lie in the row (frames narrower than that are gathered).
  const int32_t base = std::max(0, std::min(std::min(x0, x1) - 2, W - 16));
  const uint32_t* row0 = src + size_t(H - 1 - y0) * W + base;
  const uint32_t* row1 = src + size_t(H - 1 - y1) * W + base;
  // See FetchPixels16 (an address outside the buffer is only a hint, never read).
  _mm_prefetch(reinterpret_cast<const char*>(uintptr_t(row0) - ahead), _MM_HINT_T0);
  const __m256i d = _mm256_sub_epi32(X, _mm256_set1_epi32(base));
  const __m256i on0 = _mm256_cmpeq_epi32(Y, _mm256_set1_epi32(y0));
  const __m256i on1 = _mm256_cmpeq_epi32(Y, _mm256_set1_epi32(y1));
  const __m256i inWindow = _mm256_cmpeq_epi32(_mm256_min_epu32(d, _mm256_set1_epi32(15)), d);
  const __m256i outside =
      _mm256_andnot_si256(_mm256_and_si256(inWindow, _mm256_or_si256(on0, on1)), valid);
  if (W >= 16 && _mm256_testz_si256(outside, outside)) {
    const __m256i high = _mm256_cmpgt_epi32(d, _mm256_set1_epi32(7));
    return _mm256_blendv_epi8(Pick16(row1, d, high), Pick16(row0, d, high), on0);
  }
  const __m256i index = _mm256_add_epi32(
      _mm256_mullo_epi32(_mm256_sub_epi32(_mm256_set1_epi32(H - 1), Y), _mm256_set1_epi32(W)), X);
  return _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), reinterpret_cast<const int*>(src),
                                     index, valid, 4);
}

template <TCoordKind kKind, bool kClamp>
QV_AVX2 void IntRun8(const TSynthesisFrame& f, const TTriSetup& s, int32_t y, int32_t xs,
                     int32_t xe, uint32_t* dstRow) {
  const __m256i vD = _mm256_set1_epi32(int32_t(s.D)), vDm1 = _mm256_set1_epi32(int32_t(s.D - 1));
  const __m256i maxX = _mm256_set1_epi32(f.W - 1), maxY = _mm256_set1_epi32(f.H - 1);
  const __m256i qa8 = _mm256_set1_epi32(s.StepA.Q[8]), ra8 = _mm256_set1_epi32(s.StepA.R[8]);
  const __m256i qb8 = _mm256_set1_epi32(s.StepB.Q[8]), rb8 = _mm256_set1_epi32(s.StepB.R[8]);
  const __m256i wa = _mm256_set1_epi16(int16_t(255 - f.Weight));
  const __m256i wb = _mm256_set1_epi16(int16_t(f.Weight));
  const uintptr_t ahead = uintptr_t(kPrefetchRows * int64_t(f.W)) * sizeof(uint32_t);
  TLaneQuotients8 qa = StartQuotients8(s.StepA, s.AX * xs + s.AY * y + s.AC, s.D, vDm1);
  TLaneQuotients8 qb{};
  if constexpr (kKind == ck_Plane)
    qb = StartQuotients8(s.StepB, s.BX * xs + s.BY * y + s.BC, s.D, vDm1);
  __m256i secondN{}, secondET{};
  __m256d secondD{}, invSecondD{};
  if constexpr (kKind != ck_Plane) {
    secondN = _mm256_set1_epi32(int32_t(32768 * int64_t(y) + s.SecondC));
    secondET = _mm256_set1_epi32(s.SecondET);
    secondD = _mm256_set1_pd(s.SecondD);
    invSecondD = _mm256_set1_pd(1.0 / s.SecondD);
  }
  for (int32_t x = xs; x < xe; x += 8) {
    __m256i A, B;
    if constexpr (kKind == ck_Plane) {
      A = TruncQuotient8(qa);
      B = TruncQuotient8(qb);
      StepQuotients8(qb, qb8, rb8, vDm1, vD);
    } else {
      const __m256i t = TruncQuotient8(qa);
      const __m256i r =
          s.SecondZero ? _mm256_setzero_si256()
                       : TruncDiv8x32(_mm256_sub_epi32(secondN, _mm256_mullo_epi32(secondET, t)),
                                      secondD, invSecondD);
      A = kKind == ck_Edge1Vertical ? r : t;
      B = kKind == ck_Edge1Vertical ? t : r;
    }
    StepQuotients8(qa, qa8, ra8, vDm1, vD);
    const int32_t left = std::min(xe - x, 8);
    const __m256i valid =
        _mm256_cmpgt_epi32(_mm256_set1_epi32(left), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    const __m256i lastLane = _mm256_set1_epi32(left - 1);
    __m256i x1, y1, x2, y2;
    MappedPoints8<kClamp>(s.I1, A, B, maxX, maxY, x1, y1);
    MappedPoints8<kClamp>(s.I2, A, B, maxX, maxY, x2, y2);
    const __m256i r = Blend8(FetchPixels8(f.Src1, f.W, f.H, ahead, x1, y1, valid, lastLane),
                             FetchPixels8(f.Src2, f.W, f.H, ahead, x2, y2, valid, lastLane), wa, wb);
    if (left == 8)
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(dstRow + x), r);
    else
      _mm256_maskstore_epi32(reinterpret_cast<int*>(dstRow + x), valid, r);
  }
}

#define QV_AVX512 __attribute__((target("avx512f,avx512bw")))

// floor(m / D) and m mod D of sixteen consecutive pixels, stepped sixteen pixels a time.
struct TLaneQuotients {
  __m512i Q, R;
};

QV_AVX512 inline TLaneQuotients StartQuotients(const TLaneSteps& l, int64_t m, int64_t D,
                                              __m512i vD) {
  const int64_t q0 = FloorDiv(m, D);
  __m512i q = _mm512_add_epi32(_mm512_set1_epi32(int32_t(q0)),
                               _mm512_load_si512(reinterpret_cast<const void*>(l.Q)));
  __m512i r = _mm512_add_epi32(_mm512_set1_epi32(int32_t(m - q0 * D)),
                               _mm512_load_si512(reinterpret_cast<const void*>(l.R)));
  const __mmask16 carry = _mm512_cmpge_epi32_mask(r, vD);
  q = _mm512_mask_add_epi32(q, carry, q, _mm512_set1_epi32(1));
  r = _mm512_mask_sub_epi32(r, carry, r, vD);
  return {q, r};
}

QV_AVX512 inline void StepQuotients(TLaneQuotients& v, __m512i q16, __m512i r16, __m512i vD) {
  v.Q = _mm512_add_epi32(v.Q, q16);
  v.R = _mm512_add_epi32(v.R, r16);
  const __mmask16 carry = _mm512_cmpge_epi32_mask(v.R, vD);
  v.Q = _mm512_mask_add_epi32(v.Q, carry, v.Q, _mm512_set1_epi32(1));
  v.R = _mm512_mask_sub_epi32(v.R, carry, v.R, vD);
}

// trunc(m / D) from the floor quotient: one more for a negative m with a remainder.
QV_AVX512 inline __m512i TruncQuotient(const TLaneQuotients& v) {
  const __mmask16 up = _mm512_cmplt_epi32_mask(v.Q, _mm512_setzero_si512()) &
                       _mm512_test_epi32_mask(v.R, v.R);
  return _mm512_mask_add_epi32(v.Q, up, v.Q, _mm512_set1_epi32(1));
}

// s / 32768 truncated toward zero.
QV_AVX512 inline __m512i Div32768(__m512i s) {
  const __mmask16 negative = _mm512_cmplt_epi32_mask(s, _mm512_setzero_si512());
  return _mm512_srai_epi32(_mm512_mask_add_epi32(s, negative, s, _mm512_set1_epi32(32767)), 15);
}

// The mapped points of sixteen pixels, clamped into the frame unless the run is known to map
// into it.
struct TPoints16 {
  __m512i X, Y;
};

template <bool kClamp = true>
QV_AVX512 inline TPoints16 MappedPoints16(const TIntMapping& m, __m512i A, __m512i B,
                                          __m512i maxX, __m512i maxY) {
  const __m512i sx = _mm512_add_epi32(_mm512_mullo_epi32(_mm512_set1_epi32(m.E1X), A),
                                      _mm512_mullo_epi32(_mm512_set1_epi32(m.E2X), B));
  const __m512i sy = _mm512_add_epi32(_mm512_mullo_epi32(_mm512_set1_epi32(m.E1Y), A),
                                      _mm512_mullo_epi32(_mm512_set1_epi32(m.E2Y), B));
  __m512i X = _mm512_add_epi32(_mm512_set1_epi32(m.P0X), Div32768(sx));
  __m512i Y = _mm512_add_epi32(_mm512_set1_epi32(m.P0Y), Div32768(sy));
  if constexpr (kClamp) {
    const __m512i zero = _mm512_setzero_si512();
    X = _mm512_min_epi32(_mm512_max_epi32(X, zero), maxX);
    Y = _mm512_min_epi32(_mm512_max_epi32(Y, zero), maxY);
  }
  return {X, Y};
}

QV_AVX512 inline int32_t Lane0(__m512i v) { return _mm_cvtsi128_si32(_mm512_castsi512_si128(v)); }

// What fetching the source pixels of a group needs to know of the frame.
struct TFetch16 {
  const uint32_t* Src;
  int32_t W, H;
  uintptr_t Ahead;  // the prefetch distance in bytes
  __m512i VW, MaxY;
};

// The source pixels of sixteen mapped points (lanes outside mask are not read). The points of a
// group mostly lie on one or two source rows within 32 pixels of each other (99 % of the groups
// of a real net): then the two rows' 32 pixels are loaded and the lanes picked from them, which
// is several times faster than a gather; the points elsewhere are gathered. Lane 0 and the last
// lane are in the run and in the frame.
QV_AVX512 __attribute__((always_inline)) inline __m512i FetchPixels16(const TFetch16& f,
                                                                      const TPoints16& p,
                                                                      __mmask16 mask,
                                                                      __m512i lastLane) {
  const int32_t y0 = Lane0(p.Y), x0 = Lane0(p.X);
  const int32_t y1 = Lane0(_mm512_permutexvar_epi32(lastLane, p.Y));
  const int32_t x1 = Lane0(_mm512_permutexvar_epi32(lastLane, p.X));
  // 32 pixels from base lie in the row (frames narrower than that are gathered).
  const int32_t base = std::max(0, std::min(std::min(x0, x1) - 4, f.W - 32));
  const uint32_t* row0 = f.Src + size_t(f.H - 1 - y0) * f.W + base;
  const uint32_t* row1 = f.Src + size_t(f.H - 1 - y1) * f.W + base;
  // Rows are done from the top down: the rows the next rows will read lie a little lower in
  // the bottom-up buffers. Fetching them now hides the memory's latency. One line a group: the
  // next groups fetch the lines after it. (An address outside the buffer is only a hint, never
  // read.)
  _mm_prefetch(reinterpret_cast<const char*>(uintptr_t(row0) + 8 * sizeof(uint32_t) - f.Ahead),
               _MM_HINT_T0);
  const __m512i d = _mm512_sub_epi32(p.X, _mm512_set1_epi32(base));
  const __mmask16 on0 = _mm512_cmpeq_epi32_mask(p.Y, _mm512_set1_epi32(y0));
  const __mmask16 on1 = _mm512_cmpeq_epi32_mask(p.Y, _mm512_set1_epi32(y1));
  const __mmask16 inside = _mm512_cmplt_epu32_mask(d, _mm512_set1_epi32(32)) & (on0 | on1);
  if (f.W >= 32 && (inside & mask) == mask) {
    const __m512i v0 = _mm512_permutex2var_epi32(_mm512_loadu_si512(row0), d,
                                                 _mm512_loadu_si512(row0 + 16));
    const __m512i v1 = _mm512_permutex2var_epi32(_mm512_loadu_si512(row1), d,
                                                 _mm512_loadu_si512(row1 + 16));
    return _mm512_mask_blend_epi32(on0, v1, v0);
  }
  const __m512i index =
      _mm512_add_epi32(_mm512_mullo_epi32(_mm512_sub_epi32(f.MaxY, p.Y), f.VW), p.X);
  return _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), mask, index, f.Src, 4);
}

QV_AVX512 inline __m512i Blend16(__m512i a, __m512i b, __m512i wa, __m512i wb) {
  const __m512i zero = _mm512_setzero_si512();
  const __m512i lo = _mm512_srli_epi16(
      _mm512_add_epi16(_mm512_mullo_epi16(_mm512_unpacklo_epi8(a, zero), wa),
                       _mm512_mullo_epi16(_mm512_unpacklo_epi8(b, zero), wb)),
      8);
  const __m512i hi = _mm512_srli_epi16(
      _mm512_add_epi16(_mm512_mullo_epi16(_mm512_unpackhi_epi8(a, zero), wa),
                       _mm512_mullo_epi16(_mm512_unpackhi_epi8(b, zero), wb)),
      8);
  return _mm512_packus_epi16(lo, hi);
}

// trunc(n / d) of sixteen 32-bit integers and an integer 0 < d < 2^31 given as a double, with
// its reciprocal: exact through the remainder like TruncDiv.
QV_AVX512 inline __m256i TruncDiv8(__m256i h, __m512d d, __m512d invD) {
  const int round = _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC;
  const __m512d zero = _mm512_setzero_pd(), one = _mm512_set1_pd(1.0);
  const __m512d m = _mm512_cvtepi32_pd(h);
  const __m512d am = _mm512_abs_pd(m);
  __m512d q = _mm512_roundscale_pd(_mm512_mul_pd(am, invD), round);
  const __m512d r = _mm512_fnmadd_pd(q, d, am);
  q = _mm512_mask_add_pd(q, _mm512_cmp_pd_mask(r, d, _CMP_GE_OQ), q, one);
  q = _mm512_mask_sub_pd(q, _mm512_cmp_pd_mask(r, zero, _CMP_LT_OQ), q, one);
  q = _mm512_mask_sub_pd(q, _mm512_cmp_pd_mask(m, zero, _CMP_LT_OQ), zero, q);
  return _mm512_cvttpd_epi32(q);
}

QV_AVX512 inline __m512i TruncDiv16(__m512i n, __m512d d, __m512d invD) {
  return _mm512_inserti64x4(_mm512_castsi256_si512(TruncDiv8(_mm512_castsi512_si256(n), d, invD)),
                            TruncDiv8(_mm512_extracti64x4_epi64(n, 1), d, invD), 1);
}

// What every run of a frame's row needs, kept in registers from run to run.
struct TRowConsts16 {
  __m512i MaxX, MaxY, Wa, Wb;
  TFetch16 Fetch1, Fetch2;
};

QV_AVX512 inline TRowConsts16 RowConsts16(const TSynthesisFrame& f) {
  const __m512i maxY = _mm512_set1_epi32(f.H - 1), W = _mm512_set1_epi32(f.W);
  const uintptr_t ahead = uintptr_t(kPrefetchRows * int64_t(f.W)) * sizeof(uint32_t);
  return TRowConsts16{_mm512_set1_epi32(f.W - 1),
                      maxY,
                      _mm512_set1_epi16(int16_t(255 - f.Weight)),
                      _mm512_set1_epi16(int16_t(f.Weight)),
                      TFetch16{f.Src1, f.W, f.H, ahead, W, maxY},
                      TFetch16{f.Src2, f.W, f.H, ahead, W, maxY}};
}

// The run in 32-bit integers, sixteen pixels a time.
template <TCoordKind kKind, bool kClamp = true>
QV_AVX512 __attribute__((always_inline)) inline void IntRun(const TRowConsts16& c,
                                                            const TTriSetup& s, int32_t y,
                                                            int32_t xs, int32_t xe,
                                                            uint32_t* dstRow) {
  const __m512i vD = _mm512_set1_epi32(int32_t(s.D));
  const __m512i qa16 = _mm512_set1_epi32(s.StepA.Q16), ra16 = _mm512_set1_epi32(s.StepA.R16);
  const __m512i qb16 = _mm512_set1_epi32(s.StepB.Q16), rb16 = _mm512_set1_epi32(s.StepB.R16);
  TLaneQuotients qa = StartQuotients(s.StepA, s.AX * xs + s.AY * y + s.AC, s.D, vD);
  TLaneQuotients qb{};
  if constexpr (kKind == ck_Plane)
    qb = StartQuotients(s.StepB, s.BX * xs + s.BY * y + s.BC, s.D, vD);
  __m512i secondN{}, secondET{};
  __m512d secondD{}, invSecondD{};
  if constexpr (kKind != ck_Plane) {
    secondN = _mm512_set1_epi32(int32_t(32768 * int64_t(y) + s.SecondC));
    secondET = _mm512_set1_epi32(s.SecondET);
    secondD = _mm512_set1_pd(s.SecondD);
    invSecondD = _mm512_set1_pd(1.0 / s.SecondD);
  }
  for (int32_t x = xs; x < xe; x += 16) {
    // The coordinates without their signs, which are in the edge vectors: trunc(mA / D) and
    // trunc(mB / D), or, with a vertical edge, T and the second quotient found from it.
    __m512i A, B;
    if constexpr (kKind == ck_Plane) {
      A = TruncQuotient(qa);
      B = TruncQuotient(qb);
      StepQuotients(qb, qb16, rb16, vD);
    } else {
      const __m512i t = TruncQuotient(qa);
      const __m512i r =
          s.SecondZero ? _mm512_setzero_si512()
                       : TruncDiv16(_mm512_sub_epi32(secondN, _mm512_mullo_epi32(secondET, t)),
                                    secondD, invSecondD);
      A = kKind == ck_Edge1Vertical ? r : t;
      B = kKind == ck_Edge1Vertical ? t : r;
    }
    StepQuotients(qa, qa16, ra16, vD);
    // Lanes past the run are neither read nor stored.
    const int32_t left = xe - x;
    const __mmask16 mask = left >= 16 ? __mmask16(0xFFFF) : __mmask16((1u << left) - 1);
    const __m512i lastLane = _mm512_set1_epi32(std::min(left, 16) - 1);
    const __m512i p1 = FetchPixels16(
        c.Fetch1, MappedPoints16<kClamp>(s.I1, A, B, c.MaxX, c.MaxY), mask, lastLane);
    const __m512i p2 = FetchPixels16(
        c.Fetch2, MappedPoints16<kClamp>(s.I2, A, B, c.MaxX, c.MaxY), mask, lastLane);
    _mm512_mask_storeu_epi32(dstRow + x, mask, Blend16(p1, p2, c.Wa, c.Wb));
  }
}

// The end of the run of equal index values starting at x: the first e > x with row[e] != row[x],
// or W.
QV_AVX2 inline int32_t RunEnd(const uint32_t* row, int32_t x, int32_t W) {
  const uint32_t v = row[x];
  int32_t e = x + 1;
  const __m256i vv = _mm256_set1_epi32(int32_t(v));
  for (; e + 8 <= W; e += 8) {
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + e));
    const uint32_t eq = uint32_t(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(d, vv))));
    if (eq != 0xFF) return e + __builtin_ctz(~eq);
  }
  while (e < W && row[e] == v) ++e;
  return e;
}

// The same sixteen values a time. The index values the rows after the next will scan are
// fetched into the cache on the way (an address outside the map is only a hint, never read).
QV_AVX512 inline int32_t RunEnd16(const uint32_t* row, int32_t x, int32_t W) {
  const uint32_t v = row[x];
  int32_t e = x + 1;
  const __m512i vv = _mm512_set1_epi32(int32_t(v));
  const uintptr_t ahead = uintptr_t(row) - uintptr_t(kPrefetchRows * W) * sizeof(uint32_t);
  for (; e + 16 <= W; e += 16) {
    _mm_prefetch(reinterpret_cast<const char*>(ahead + uintptr_t(e) * sizeof(uint32_t)),
                 _MM_HINT_T0);
    const __mmask16 ne = _mm512_cmpneq_epi32_mask(_mm512_loadu_si512(row + e), vv);
    if (ne != 0) return e + __builtin_ctz(ne);
  }
  while (e < W && row[e] == v) ++e;
  return e;
}

TVectorLevel AvailableLevel() {
  static const TVectorLevel level =
      __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") ? vl_Avx512
      : __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")      ? vl_Avx2
                                                                             : vl_None;
  return level;
}
#else
TVectorLevel AvailableLevel() { return vl_None; }
inline int32_t RunEnd(const uint32_t* row, int32_t x, int32_t W) {
  int32_t e = x + 1;
  while (e < W && row[e] == row[x]) ++e;
  return e;
}
template <TCoordKind>
void FastRun(const TSynthesisFrame&, const TTriSetup&, int32_t, int32_t, int32_t, uint32_t*) {}
template <TCoordKind, bool>
void IntRun8(const TSynthesisFrame&, const TTriSetup&, int32_t, int32_t, int32_t, uint32_t*) {}
#endif

std::atomic<int> gLevelLimit{vl_Avx512};

// Whether the run xs .. xe - 1 of row y maps into both source frames without clamping: it does
// inside the triangle's box when the box does.
inline bool MapsIntoFrame(const TTriSetup& s, int32_t y, int32_t xs, int32_t xe) {
  return s.InFrame && y >= s.BoxY0 && y <= s.BoxY1 && xs >= s.BoxX0 && xe - 1 <= s.BoxX1;
}

// A run of the integer path with AVX2.
void IntRunOf8(const TSynthesisFrame& f, const TTriSetup& s, int32_t y, int32_t xs, int32_t xe,
               uint32_t* dstRow) {
  switch (s.Kind) {
    case ck_Plane:
      if (MapsIntoFrame(s, y, xs, xe))
        return IntRun8<ck_Plane, false>(f, s, y, xs, xe, dstRow);
      return IntRun8<ck_Plane, true>(f, s, y, xs, xe, dstRow);
    case ck_Edge1Vertical: return IntRun8<ck_Edge1Vertical, true>(f, s, y, xs, xe, dstRow);
    case ck_Edge2Vertical: return IntRun8<ck_Edge2Vertical, true>(f, s, y, xs, xe, dstRow);
  }
}

// A run without the integer path.
void OtherRun(const TSynthesisFrame& f, const TTriSetup& s, size_t k, int32_t y, int32_t xs,
              int32_t xe, uint32_t* dstRow) {
  if (!s.Fast) return PlainRun(f, k, y, xs, xe, dstRow);
  switch (s.Kind) {
    case ck_Plane: return FastRun<ck_Plane>(f, s, y, xs, xe, dstRow);
    case ck_Edge1Vertical: return FastRun<ck_Edge1Vertical>(f, s, y, xs, xe, dstRow);
    case ck_Edge2Vertical: return FastRun<ck_Edge2Vertical>(f, s, y, xs, xe, dstRow);
  }
}

// The triangle of the index value raw, or nullptr (none, or beyond the count).
inline const TTriSetup* SetupOf(const TSynthesisFrame& f, const std::vector<TTriSetup>& setup,
                                uint32_t raw, size_t& k) {
  const uint32_t v = SwapRedBlue(raw) & 0xFFFFFF;
  if (v == 0 || v > f.Count) return nullptr;
  k = v - 1;
  return &setup[k];
}

// A row on the plain formulas, or with the runs of AVX2.
template <bool kFast>
void SynthesizeRow(const TSynthesisFrame& f, const std::vector<TTriSetup>& setup, int32_t y) {
  const int32_t W = f.W;
  const uint32_t* idxRow = f.Index + size_t(f.H - 1 - y) * W;
  uint32_t* dstRow = f.Target + size_t(f.H - 1 - y) * W;
  for (int32_t x = 0, e; x < W; x = e) {
    e = kFast ? RunEnd(idxRow, x, W) : x + 1;
    if constexpr (!kFast)
      while (e < W && idxRow[e] == idxRow[x]) ++e;
    size_t k = 0;
    if (const TTriSetup* s = SetupOf(f, setup, idxRow[x], k)) {
      if (kFast && s->Int32)
        IntRunOf8(f, *s, y, x, e, dstRow);
      else if (kFast)
        OtherRun(f, *s, k, y, x, e, dstRow);
      else
        PlainRun(f, k, y, x, e, dstRow);
    }
  }
}

#if defined(__x86_64__)
// A row with the integer path of AVX-512 where the triangle allows it.
QV_AVX512 void SynthesizeRow16(const TSynthesisFrame& f, const std::vector<TTriSetup>& setup,
                               int32_t y) {
  const TRowConsts16 c = RowConsts16(f);
  const int32_t W = f.W;
  const uint32_t* idxRow = f.Index + size_t(f.H - 1 - y) * W;
  uint32_t* dstRow = f.Target + size_t(f.H - 1 - y) * W;
  for (int32_t x = 0, e; x < W; x = e) {
    e = RunEnd16(idxRow, x, W);
    size_t k = 0;
    const TTriSetup* s = SetupOf(f, setup, idxRow[x], k);
    if (!s) continue;
    if (!s->Int32) {
      OtherRun(f, *s, k, y, x, e, dstRow);
      continue;
    }
    switch (s->Kind) {
      case ck_Plane:
        if (MapsIntoFrame(*s, y, x, e))
          IntRun<ck_Plane, false>(c, *s, y, x, e, dstRow);
        else
          IntRun<ck_Plane>(c, *s, y, x, e, dstRow);
        break;
      case ck_Edge1Vertical: IntRun<ck_Edge1Vertical>(c, *s, y, x, e, dstRow); break;
      case ck_Edge2Vertical: IntRun<ck_Edge2Vertical>(c, *s, y, x, e, dstRow); break;
    }
  }
}
#else
void SynthesizeRow16(const TSynthesisFrame& f, const std::vector<TTriSetup>& setup, int32_t y) {
  SynthesizeRow<false>(f, setup, y);
}
#endif

}  // namespace

TVectorLevel SynthesisVectorLevel() {
  return std::min(AvailableLevel(), TVectorLevel(gLevelLimit.load()));
}

void LimitSynthesisVectorLevel(TVectorLevel level) { gLevelLimit = level; }

void SynthesizeFramePlain(const TSynthesisFrame& f, TOddEvenBoth oe) {
  const int32_t step = oe == oe_both ? 1 : 2;
  for (int32_t y = oe == oe_odd ? 1 : 0; y < f.H; y += step) {
    const uint32_t* idxRow = f.Index + size_t(f.H - 1 - y) * f.W;
    uint32_t* dstRow = f.Target + size_t(f.H - 1 - y) * f.W;
    for (int32_t x = 0; x < f.W; ++x) {
      const uint32_t v = SwapRedBlue(idxRow[x]) & 0xFFFFFF;
      if (v != 0 && v <= f.Count) dstRow[x] = PlainPixel(f, v - 1, x, y);
    }
  }
}

void SynthesizeFrame(const TSynthesisFrame& f, TOddEvenBoth oe) {
  if (f.W <= 0 || f.H <= 0) return;
  const TVectorLevel level = SynthesisVectorLevel();
  const bool fast = level >= vl_Avx2, int32 = level >= vl_Avx512;
  thread_local std::vector<TTriSetup> setup;  // the workers see the caller's
  setup.resize(f.Count);

  const int32_t first = oe == oe_odd ? 1 : 0, step = oe == oe_both ? 1 : 2;
  const int32_t rows = f.H > first ? (f.H - first + step - 1) / step : 0;
  TWorkerPool& pool = SynthesisPool();
  const int parts = std::min(pool.Threads(), std::max(rows, 1));
  // First the triangles' set-up, shared among the threads (each a whole number of cache lines).
  std::vector<TTriSetup>& triangles = setup;
  auto prepare = [&](int i) {
    if (i >= parts) return;
    for (size_t k = size_t(i); k < f.Count; k += size_t(parts))
      triangles[k] =
          fast ? SetupTriangle(f.TriTarget[k], f.Tri1[k], f.Tri2[k], f.W, f.H) : TTriSetup{};
  };
  const auto& rowsSetup = setup;
  // The threads take blocks of rows in turn until none is left: a part of the frame with more
  // or smaller triangles does not keep the others waiting.
  constexpr int32_t kBlockRows = 16;
  std::atomic<int32_t> nextBlock{0};
  auto part = [&](int i) {
    if (i >= parts) return;
    for (;;) {
      const int32_t r0 = nextBlock.fetch_add(kBlockRows, std::memory_order_relaxed);
      if (r0 >= rows) return;
      for (int32_t r = r0; r < std::min(rows, r0 + kBlockRows); ++r) {
        const int32_t y = first + r * step;
        if (int32)
          SynthesizeRow16(f, rowsSetup, y);
        else if (fast)
          SynthesizeRow<true>(f, rowsSetup, y);
        else
          SynthesizeRow<false>(f, rowsSetup, y);
      }
    }
  };
  if (parts <= 1) {
    prepare(0);
    part(0);
  } else {
    pool.Run(prepare);
    pool.Run(part);
  }
}

}  // namespace qv
