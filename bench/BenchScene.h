// Scenes for the benchmarks: a morphing over a jittered grid of points with two synthetic
// pictures already resampled into the pixel buffers.
#pragma once

#include <memory>

#include "Morph.h"

namespace qv::bench {

// A W x H morphing whose net is a jittered grid of cols x rows cells (2 triangles each).
std::unique_ptr<TMorphing> MakeGridScene(int32_t W, int32_t H, int32_t cols, int32_t rows);

// The same net and pixel buffers made in an existing morphing (a new project of W x H).
void FillGridScene(TMorphing& m, int32_t W, int32_t H, int32_t cols, int32_t rows);

}  // namespace qv::bench
