// The application-wide size of point markers: the half side, in pane pixels, of the square that
// marks a point (2 small, 3 middle, 4 large).
#pragma once

#include <cstdint>

namespace qv {

int32_t PointSize();
void SetPointSize(int32_t s);

}  // namespace qv
