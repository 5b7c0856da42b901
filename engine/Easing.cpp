#include "Easing.h"

#include <cfenv>
#include <cmath>
#include <string>

#include "Morph.h"
#include "MorphError.h"

namespace qv {

namespace {

const long double kPi = std::acos(-1.0L);

long double Position(long double x) { return (std::sin(x - kPi / 2) + 1) / 2; }

// Round half to even, as the floating-point unit's default rounding does.
int32_t RoundEven(long double v) {
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const long double r = std::nearbyintl(v);
  std::fesetround(saved);
  return int32_t(r);
}

const char* const kTooShort = "Die Dauer des Morphings muss mindestens ein Bild betragen.";

// n steps of the grid: at least one, or every angle k * pi / n divides by zero.
void CheckSteps(int32_t n) {
  if (n <= 0) throw EMorphError(kTooShort);
}

}  // namespace

void CheckFrameCount(int32_t frameCount) {
  CheckSteps(frameCount);
  // The grid of a transition has 2 * frameCount half-steps, which must fit into 32 bits.
  if (frameCount > MaxFramesMorph)
    throw EMorphError("Die Dauer des Morphings darf höchstens " + std::to_string(MaxFramesMorph) +
                      " Bilder betragen.");
}

void EaseStartAngle(int32_t n, long double& xa) {
  CheckSteps(n);
  for (int32_t k = 0; k <= n; ++k) {
    const long double x = k * kPi / n;
    if (std::trunc(Position(x) * n) > 0) {
      xa = x;
      return;
    }
  }
}

void EaseEndAngle(int32_t n, long double& xe) {
  CheckSteps(n);
  for (int32_t k = n; k >= 0; --k) {
    const long double x = k * kPi / n;
    if (std::trunc(Position(x) * n) < n) {
      xe = x;
      return;
    }
  }
}

void TMorphing::optimizeXRange(long double& xa, long double& xe) const {
  CheckFrameCount(FFramesMorph);
  const int32_t n = FInterlaceType == it_none ? FFramesMorph : 2 * FFramesMorph;
  xa = 0;
  xe = kPi;
  if (FSmoothAtStart) EaseStartAngle(n, xa);
  if (FSmoothAtEnd) EaseEndAngle(n, xe);
}

TSamplePosition EasedSamplePosition(int32_t i, int32_t N, long double xa, long double xe,
                                    bool smoothAtStart, bool smoothAtEnd) {
  CheckSteps(N);
  const int32_t half = N / 2;
  if ((smoothAtStart && i <= half) || (smoothAtEnd && i >= half)) {
    const long double x = (xe - xa) * i / N + xa;
    return {RoundEven(Position(x) * N), N};
  }
  return {i, N};
}

}  // namespace qv
