#include "IndexMap.h"

#include <cstring>

#include "Bitmap.h"
#include "Morph.h"
#include "PolygonScan.h"
#include "RasterLine.h"
#include "RasterSpan.h"
#include "WorkerPool.h"

namespace qv {

namespace {

// Writes one value into the spans that fall into the rows [y0, y1) of a 32-bit raster.
class TBandSink : public TSpanSink {
 public:
  TBandSink(uint32_t* bits, int32_t W, int32_t H, int32_t y0, int32_t y1)
      : FBits(bits), FW(W), FH(H), FY0(y0), FY1(y1) {}
  void SetValue(uint32_t v) { FValue = v; }
  void Span(int32_t y, int32_t x1, int32_t x2) override {
    if (y < FY0 || y >= FY1) return;
    uint32_t* row = FBits + size_t(FH - 1 - y) * FW;
    for (int32_t x = x1; x < x2; ++x) row[x] = FValue;
  }

 private:
  uint32_t* FBits;
  int32_t FW, FH, FY0, FY1;
  uint32_t FValue = 0;
};

}  // namespace

void DrawIndexMap(TBitmap& raster, const std::vector<TTrianglePerIndex>& triangles,
                  const TAngleArray& angles, int32_t W, int32_t H) {
  raster.SetPixelFormat(pf32bit);
  raster.SetSize(W, H);
  if (raster.Empty()) return;
  uint32_t* bits = raster.Pixels32();
  TWorkerPool& pool = SynthesisPool();
  const int parts = std::min(pool.Threads(), H);
  auto part = [&](int i) {
    if (i >= parts) return;
    const int32_t y0 = int32_t(int64_t(H) * i / parts), y1 = int32_t(int64_t(H) * (i + 1) / parts);
    // Rows y0 .. y1 - 1 from the top are memory rows H - y1 .. H - 1 - y0.
    std::memset(bits + size_t(H - y1) * W, 0, size_t(y1 - y0) * W * sizeof(uint32_t));
    TBandSink sink(bits, W, H, y0, y1);
    for (size_t k = 0; k < triangles.size(); ++k) {
      // The colour k + 1 as a 32-bit pixel: red and blue exchanged.
      sink.SetValue(SwapRedBlue(TColor(k + 1)));
      TTriangle t;
      TMorphing::GetAnglePoints(t, triangles[k], angles);
      ScanPolygon(t.data(), 3, W, H, sink);
      for (int e = 0; e < 3; ++e) TraceLine(t[e], t[(e + 1) % 3], false, W, H, sink);
    }
  };
  if (parts <= 1)
    part(0);
  else
    pool.Run(part);
}

}  // namespace qv
