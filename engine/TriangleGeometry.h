// Point-in-triangle tests used by the proposal of a triangle under the mouse.
#pragma once

#include "Types.h"

namespace qv {

// Side of the line through A and B on which P lies: -1, 0 (on the line) or 1.
int32_t LineSide(TPoint P, TPoint A, TPoint B);
// Inclusive at the corners; a point on an edge line (but not a corner) is outside.
bool PointInTriangle(TPoint Q, const TTriangle& T);

}  // namespace qv
