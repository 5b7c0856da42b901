// Triangle masks of the sources, the triangle under a position, and the proposal of a new
// triangle from the points nearest to the mouse.
#include "TriangleGeometry.h"

#include <array>

#include "Canvas.h"
#include "Morph.h"

namespace qv {

int32_t LineSide(TPoint P, TPoint A, TPoint B) {
  if (A.X == B.X) return P.X > A.X ? 1 : (P.X == A.X ? 0 : -1);
  // The line's Y at P.X, rounded to nearest. Differences of far-off points may not fit into
  // 32 bits; they then answer like MulDiv does (-1).
  auto fits = [](int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
  const int64_t dy = int64_t(B.Y) - A.Y, dx = int64_t(P.X) - A.X, dd = int64_t(B.X) - A.X;
  const int64_t md = fits(dy) && fits(dx) && fits(dd) ? MulDiv(int32_t(dy), int32_t(dx), int32_t(dd)) : -1;
  const int64_t yl = int64_t(A.Y) + md;
  return P.Y > yl ? 1 : (P.Y == yl ? 0 : -1);
}

bool PointInTriangle(TPoint Q, const TTriangle& T) {
  if (Q == T[0] || Q == T[1] || Q == T[2]) return true;
  return LineSide(T[0], T[1], T[2]) == LineSide(Q, T[1], T[2]) &&
         LineSide(T[1], T[0], T[2]) == LineSide(Q, T[0], T[2]) &&
         LineSide(T[2], T[0], T[1]) == LineSide(Q, T[0], T[1]);
}

void TMorphSource::UpdateTriangleMask() {
  const int32_t W = FResultWidth, H = FResultHeight;
  if (W <= 0 || H <= 0) return;
  FOwner->RasterizeTriangles(*FTriangleMask, FAngles, W, H);
  if (!FIndexMask) FIndexMask = AllocPixBuffer(size_t(W) * size_t(H));
  FTriangleMask->ReadPixels32(FIndexMask.get());
}

void TMorphing::UpdateTriangleMasks() {
  FSource1->UpdateTriangleMask();
  FSource2->UpdateTriangleMask();
}

int32_t TMorphing::GetTriangleIndex(TPoint pt, const TAngleArray&,
                                    const TMorphSource& source) const {
  const int32_t W = Width(), H = Height();
  const uint32_t* mask = source.FIndexMask.get();
  // The mask must be the one of the current size; positions outside the frame answer -1.
  if (!mask || source.FResultWidth != W || source.FResultHeight != H) return -1;
  if (pt.X < 0 || pt.Y < 0 || pt.X >= W || pt.Y >= H) return -1;
  const uint32_t v = SwapRedBlue(mask[size_t(H - 1 - pt.Y) * W + pt.X]) & 0xFFF;
  return int32_t(v) - 1;
}

int32_t TMorphSource::OverlapsExistingTriangle(const TTriangle&) const { return -1; }

bool TMorphSource::FindOptimalTriangle(TPoint pt, TTrianglePerIndex& triAngle) const {
  constexpr int kSlots = 25;
  struct TCandidate {
    int32_t Index = -1;
    int64_t Dist = 134217727;
  };
  std::array<TCandidate, kSlots> list{};
  int32_t n = 0;
  for (int32_t j = 0; j < AngleCount(); ++j) {
    const int64_t dx = int64_t(pt.X) - FAngles[j].X, dy = int64_t(pt.Y) - FAngles[j].Y;
    const int64_t d = dx * dx + dy * dy;
    int s = 0;
    while (s < kSlots && list[s].Dist <= d) ++s;
    if (s == kSlots) continue;
    for (int m = std::min(kSlots, n + 1) - 1; m > s; --m) list[m] = list[m - 1];
    list[s] = TCandidate{j, d};
    ++n;
  }
  const int m = std::min(n - 1, kSlots - 1);
  if (m < 2) return false;
  for (int a = 0; a <= m - 2; ++a)
    for (int b = a + 1; b <= m - 1; ++b)
      for (int c = b + 1; c <= m; ++c) {
        triAngle = {list[a].Index, list[b].Index, list[c].Index};
        TTriangle T;
        TMorphing::GetAnglePoints(T, triAngle, FAngles);
        if (PointInTriangle(pt, T) && OverlapsExistingTriangle(T) < 0) return true;
      }
  return false;
}

}  // namespace qv
