// Scanline fill of a polygon's interior. Pixel (x, y) is sampled at the point (x, y), the
// corners lying on pixels. A pixel is inside when its sample point is inside the closed
// polygon by the alternate (even-odd) rule, where a sample exactly on an edge counts for the
// polygon on its right and below: on every row y an edge from (x0, y0) to (x1, y1) with
// y0 < y1 counts for y0 <= y < y1 and crosses at the exact value
// X = x0 + (y - y0) * (x1 - x0) / (y1 - y0); between two crossings Xl <= Xr the pixels
// ceil(Xl) .. ceil(Xr) - 1 are inside. Horizontal edges cross nothing.
//
// So polygons that share an edge divide the pixels along it without gap and without overlap,
// and a polygon whose corners lie on one line has no interior. A pixel whose sample point lies
// exactly on an edge and is left out here is always hit by that edge's line (RasterLine.h),
// so fill and outline together cover every pixel of the closed polygon.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "FloorStep.h"
#include "RasterSpan.h"
#include "Types.h"

namespace qv {

// The interior of the closed polygon through count points, clipped to a w x h target.
void ScanPolygon(const TPoint* points, size_t count, int32_t w, int32_t h, TSpanSink& sink);

// Where an edge from top to bottom (top.Y < bottom.Y) crosses row y, y, y + 1, ...:
// top.X + ceil((y - top.Y) * (bottom.X - top.X) / (bottom.Y - top.Y)).
class TEdgeWalk {
 public:
  TEdgeWalk() = default;  // crossing every row at 0, to be assigned
  TEdgeWalk(TPoint top, TPoint bottom, int64_t y)
      : FX0(top.X),
        FOffset(int64_t(bottom.Y) - top.Y - 1, int64_t(bottom.X) - top.X, int64_t(bottom.Y) - top.Y,
                y - top.Y) {}
  int64_t X() const { return FX0 + FOffset.Value(); }
  void Next() { FOffset.Next(); }

 private:
  int64_t FX0 = 0;
  TFloorStep FOffset;
};

// The pixels between two crossings of row y, clipped to the columns 0 .. w - 1.
template <typename TSink>
inline void EmitSpan(int64_t y, int64_t xa, int64_t xb, int32_t w, TSink& sink) {
  const int64_t x1 = std::clamp<int64_t>(std::min(xa, xb), 0, w);
  const int64_t x2 = std::clamp<int64_t>(std::max(xa, xb), 0, w);
  if (x1 < x2) sink.Span(int32_t(y), int32_t(x1), int32_t(x2));
}

// The triangle's interior row by row as ScanPolygon finds it, without its edge table: the long
// edge from the top to the bottom corner against the two short ones. Started at any row, it
// walks on from there band after band.
class TTriangleScan {
 public:
  TTriangleScan() = default;  // no rows
  TTriangleScan(const TPoint* p, int64_t y) {
    TPoint v[3] = {p[0], p[1], p[2]};
    if (v[1].Y < v[0].Y) std::swap(v[0], v[1]);
    if (v[2].Y < v[1].Y) std::swap(v[1], v[2]);
    if (v[1].Y < v[0].Y) std::swap(v[0], v[1]);
    FMiddle = v[1];
    FLowest = v[2];
    FY = std::max<int64_t>(y, v[0].Y);
    FEnd = v[0].Y == v[2].Y ? FY : v[2].Y;  // corners on one row leave no interior
    if (FY < FEnd) {
      FLong = TEdgeWalk(v[0], v[2], FY);
      FShort = FY < v[1].Y ? TEdgeWalk(v[0], v[1], FY) : TEdgeWalk(v[1], v[2], FY);
    }
  }

  // Hands the rows from the current one up to y1 - 1 (0 <= the current row) to the sink and
  // goes on. A sink of a final class is called directly.
  template <typename TSink>
  void Rows(int64_t y1, int32_t w, TSink& sink) {
    for (const int64_t end = std::min(y1, FEnd); FY < end; ++FY) {
      if (FY == FMiddle.Y) FShort = TEdgeWalk(FMiddle, FLowest, FY);
      EmitSpan(FY, FLong.X(), FShort.X(), w, sink);
      FLong.Next();
      FShort.Next();
    }
  }

 private:
  int64_t FY = 0, FEnd = 0;
  TPoint FMiddle{}, FLowest{};
  TEdgeWalk FLong, FShort;
};

// The rows y0 .. y1 - 1 (0 <= y0) of the triangle's interior.
template <typename TSink>
void ScanTriangleRows(const TPoint* p, int32_t w, int32_t y0, int32_t y1, TSink& sink) {
  if (!p || w <= 0 || y0 >= y1) return;
  TTriangleScan(p, y0).Rows(y1, w, sink);
}

}  // namespace qv
