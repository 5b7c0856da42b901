// The eased progress of a transition: a half cosine wave (1 - cos x) / 2 traversed from the
// angle xa to xe, on a grid of N = 2F half-steps. Extended precision (x87 long double).
#pragma once

#include <cstdint>

namespace qv {

// First angle k * pi / n whose position in n steps truncates above 0. Raises EMorphError for
// n <= 0 (a transition needs at least one frame); xa is then unchanged.
void EaseStartAngle(int32_t n, long double& xa);
// Last angle k * pi / n (from the top) whose position in n steps truncates below n.
void EaseEndAngle(int32_t n, long double& xe);

// The position nomi / N of sample i (0 <= i <= N) of an eased transition; denom is N.
struct TSamplePosition {
  int32_t nomi;
  int32_t denom;
};
TSamplePosition EasedSamplePosition(int32_t i, int32_t N, long double xa, long double xe,
                                    bool smoothAtStart, bool smoothAtEnd);

// The longest transition: its grid of 2 * F half-steps still fits into 32 bits.
constexpr int32_t MaxFramesMorph = 0x3FFFFFFF;

// Raises EMorphError when a transition of frameCount frames cannot be rendered (below 1 or
// above MaxFramesMorph).
void CheckFrameCount(int32_t frameCount);

}  // namespace qv
