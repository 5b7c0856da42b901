// Exact incremental evaluation of floor((Base + i * Step) / Den) for i = i0, i0 + 1, ... in
// integer arithmetic. The rasteriser's edges, lines and stretch tables all walk such a
// quotient; one 128-bit division at the start, then only additions, so coordinates anywhere in
// the 32-bit range never overflow.
#pragma once

#include <cstdint>

namespace qv {

class TFloorStep {
 public:
  TFloorStep() = default;  // floor(0 / 1), to be assigned
  // Den must be positive. |Base| and |Step| below 2^62, |i0| below 2^40.
  TFloorStep(int64_t base, int64_t step, int64_t den, int64_t i0) : FDen(den) {
    FStepQ = FloorDiv(step, den);
    FStepR = step - FStepQ * den;
    // Mostly the start fits 64 bits, and a 64-bit division is several times faster.
    int64_t n64;
    if (!__builtin_mul_overflow(i0, step, &n64) && !__builtin_add_overflow(n64, base, &n64)) {
      FQuot = FloorDiv(n64, den);
      FRem = n64 - FQuot * den;
      return;
    }
    __int128 n = __int128(base) + __int128(i0) * step;
    __int128 q = n / den;
    __int128 r = n - q * den;
    if (r < 0) {
      q -= 1;
      r += den;
    }
    FQuot = int64_t(q);
    FRem = int64_t(r);
  }

  // floor((Base + i * Step) / Den) for the current i.
  int64_t Value() const { return FQuot; }

  // Goes on to i + 1.
  void Next() {
    FQuot += FStepQ;
    FRem += FStepR;
    if (FRem >= FDen) {
      FRem -= FDen;
      FQuot += 1;
    }
  }

  static int64_t FloorDiv(int64_t n, int64_t d) {
    int64_t q = n / d;
    if ((n % d != 0) && ((n < 0) != (d < 0))) --q;
    return q;
  }

 private:
  int64_t FDen = 1;
  int64_t FStepQ = 0;
  int64_t FStepR = 0;  // 0 <= FStepR < FDen
  int64_t FQuot = 0;
  int64_t FRem = 0;  // 0 <= FRem < FDen
};

}  // namespace qv
