// The triangle index map of a frame, drawn on the synthesis pool: every thread draws all
// triangles, in list order, into its own band of rows. The result is the one the bitmap canvas
// gives for the same triangles drawn with brush and pen colour i + 1 (fill, then outline).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Types.h"

namespace qv {

class TBitmap;

// Sizes raster to W x H at 32 bits and draws the triangles (corners taken from angles) into it.
void DrawIndexMap(TBitmap& raster, const std::vector<TTrianglePerIndex>& triangles,
                  const TAngleArray& angles, int32_t W, int32_t H);

}  // namespace qv
