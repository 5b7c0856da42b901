// A small morphing built in memory for the rendering tests: two drawn pictures saved as BMP
// files, the four corner points and a middle point that moves, four triangles that cover the
// whole frame (so no pixel depends on what the target held before).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Morph.h"
#include "VideoTestTools.h"

namespace qv::test {

// Fills m with the scene at W x H; the pictures are written into dir.
void BuildMorphScene(TMorphing& m, const TTempDir& dir, int W, int H);

// The frame at nomi/denom computed directly through the engine, as 24-bit BGR rows from the
// top without padding (the form ffmpeg decodes into).
std::vector<uint8_t> EngineFrame(TMorphing& m, int32_t nomi, int32_t denom);
// A bitmap as 24-bit BGR rows from the top without padding.
std::vector<uint8_t> TopDownBgr(const TBitmap& bitmap);

}  // namespace qv::test
