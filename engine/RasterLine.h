// One-pixel lines. The pixels of the segment between two points do not depend on which end is
// named first: the segment is walked along its longer axis (the x axis when both are equal)
// from the end with the smaller coordinate, and at step i of n the other coordinate is
// offset by floor((2 * i * d + n) / (2 * n)), d being its total change; an exact half is
// rounded toward the larger coordinate. Both end points always belong to the segment, and a
// pixel lying exactly on the segment is always hit.
#pragma once

#include <cstdint>

#include "RasterSpan.h"
#include "Types.h"

namespace qv {

// The pixels of the segment a-b clipped to a w x h target; with skipEnd, the pixel b is left
// out (a segment with a = b then has no pixel).
void TraceLine(TPoint a, TPoint b, bool skipEnd, int32_t w, int32_t h, TSpanSink& sink);

}  // namespace qv
