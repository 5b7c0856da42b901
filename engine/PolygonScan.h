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

#include <cstddef>
#include <cstdint>

#include "RasterSpan.h"
#include "Types.h"

namespace qv {

// The interior of the closed polygon through count points, clipped to a w x h target.
void ScanPolygon(const TPoint* points, size_t count, int32_t w, int32_t h, TSpanSink& sink);

// The rows y0 .. y1 - 1 (0 <= y0) of the triangle's interior as ScanPolygon finds them.
void ScanTriangleRows(const TPoint* points, int32_t w, int32_t y0, int32_t y1, TSpanSink& sink);

}  // namespace qv
