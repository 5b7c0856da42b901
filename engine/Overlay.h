// The application-wide size of point markers: the half side, in pane pixels, of the square that
// marks a point (2 small, 3 middle, 4 large).
#pragma once

#include <cstdint>

namespace qv {

int32_t PointSize();
// Takes 2, 3 or 4; any other value leaves the size unchanged.
void SetPointSize(int32_t s);

}  // namespace qv
