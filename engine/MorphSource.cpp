// TMorphSource: the points of one source, and its image rectangle resampled into the pixel
// buffer that frame synthesis reads.
#include <algorithm>

#include "Canvas.h"
#include "Morph.h"

namespace qv {

TMorphSource::TMorphSource(TMorphing* aOwner)
    : FOwner(aOwner),
      FSrcImg(std::make_unique<TBitmap>(pf24bit)),
      FSrcRect(std::make_unique<TBitmap>(pf24bit)),
      FTriangleMask(std::make_unique<TBitmap>(pf32bit)) {}

TMorphSource::~TMorphSource() = default;

void TMorphSource::Reset() {
  FLoaded = false;
  FSourceImageName.clear();
  FSrcImg->SetSize(1, 1);
  FSrcRect->SetSize(1, 1);
  FreeSourcePix();
  FRectOrigin = {0, 0};
  FResultWidth = 1;
  FResultHeight = 1;
  FAngles.clear();
}

// ---------------------------------------------------------------------------------------------
// Points

void TMorphSource::AddPoint(TPoint pt) {
  FAngles.push_back(pt);
  FOwner->Select1Point(int32_t(FAngles.size()) - 1);
}

void TMorphSource::DeletePoint(int32_t i) {
  if (i < 0 || i >= AngleCount()) return;
  FAngles.erase(FAngles.begin() + i);
}

int32_t TMorphSource::PointIndexByCoord(TPoint pt, int32_t delta) const {
  for (int32_t i = AngleCount() - 1; i >= 0; --i) {
    const TPoint& p = FAngles[i];
    if (int64_t(p.X) - delta <= pt.X && pt.X <= int64_t(p.X) + delta &&
        int64_t(p.Y) - delta <= pt.Y && pt.Y <= int64_t(p.Y) + delta)
      return i;
  }
  return -1;
}

bool TMorphSource::setPointData(int32_t i, TPoint pt, bool DeleteOuterPoints) {
  if (i <= 3 || i >= AngleCount()) return false;
  if (DeleteOuterPoints &&
      (pt.X < -50 || int64_t(pt.X) > int64_t(FResultWidth) + 50 || pt.Y < -50 ||
       int64_t(pt.Y) > int64_t(FResultHeight) + 50)) {
    FOwner->DeletePoint(i);
  } else {
    pt.X = std::clamp(pt.X, 0, std::max(FResultWidth, 0));
    pt.Y = std::clamp(pt.Y, 0, std::max(FResultHeight, 0));
    FAngles[i] = pt;
  }
  FOwner->FModified = true;
  return true;
}

void TMorphSource::ClampPoint(TPoint& pt) const {
  pt.X = std::max(0, std::min(pt.X, FResultWidth - 1));
  pt.Y = std::max(0, std::min(pt.Y, FResultHeight - 1));
}

void TMorphSource::TruncatePoints(int32_t count) {
  if (count >= 0 && count < AngleCount()) FAngles.resize(size_t(count));
}

}  // namespace qv
