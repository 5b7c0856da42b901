#include "Easing.h"

#include <cfenv>
#include <cmath>

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

}  // namespace

void CheckFrameCount(int32_t frameCount) {
  if (frameCount <= 0)
    throw EMorphError("Die Dauer des Morphings muss mindestens ein Bild betragen.");
}

void EaseStartAngle(int32_t n, long double& xa) {
  CheckFrameCount(n);
  for (int32_t k = 0; k <= n; ++k) {
    const long double x = k * kPi / n;
    if (std::trunc(Position(x) * n) > 0) {
      xa = x;
      return;
    }
  }
}

void EaseEndAngle(int32_t n, long double& xe) {
  CheckFrameCount(n);
  for (int32_t k = n; k >= 0; --k) {
    const long double x = k * kPi / n;
    if (std::trunc(Position(x) * n) < n) {
      xe = x;
      return;
    }
  }
}

void TMorphing::optimizeXRange(long double& xa, long double& xe) const {
  const int32_t n = FInterlaceType == it_none ? FFramesMorph : 2 * FFramesMorph;
  CheckFrameCount(n);
  xa = 0;
  xe = kPi;
  if (FSmoothAtStart) EaseStartAngle(n, xa);
  if (FSmoothAtEnd) EaseEndAngle(n, xe);
}

TSamplePosition EasedSamplePosition(int32_t i, int32_t N, long double xa, long double xe,
                                    bool smoothAtStart, bool smoothAtEnd) {
  CheckFrameCount(N);
  const int32_t half = N / 2;
  if ((smoothAtStart && i <= half) || (smoothAtEnd && i >= half)) {
    const long double x = (xe - xa) * i / N + xa;
    return {RoundEven(Position(x) * N), N};
  }
  return {i, N};
}

}  // namespace qv
