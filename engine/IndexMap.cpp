#include "IndexMap.h"

#include <algorithm>
#include <cstring>

#include "Bitmap.h"
#include "Morph.h"
#include "PolygonScan.h"
#include "RasterLine.h"
#include "RasterSpan.h"
#include "WorkerPool.h"

namespace qv {

namespace {

// Rows are drawn in bands small enough to stay in the cache while the band is cleared, filled
// and outlined: the map's memory is then written once.
constexpr int32_t kBandRows = 32;

struct TTriangleRows {
  TTriangle Corners;
  int32_t Top, Bottom;  // the rows the triangle and its outline can touch: Top .. Bottom
  bool Outline[3];      // whether edge e (corner e to corner e + 1) is outlined
};

// An edge between two corners, whichever is named first.
struct TEdgeOf {
  TPoint A, B;
  uint32_t Triangle;
  int Edge;
};

bool Before(const TPoint& p, const TPoint& q) { return p.X != q.X ? p.X < q.X : p.Y < q.Y; }

// An edge drawn again by a later triangle needs no outline before: a segment's pixels do not
// depend on the order of its ends, so the later outline overwrites every pixel of the earlier
// one after everything drawn in between.
void MarkOutlines(std::vector<TTriangleRows>& tris) {
  thread_local std::vector<TEdgeOf> edges;
  edges.clear();
  for (size_t k = 0; k < tris.size(); ++k)
    for (int e = 0; e < 3; ++e) {
      TPoint a = tris[k].Corners[e], b = tris[k].Corners[(e + 1) % 3];
      if (Before(b, a)) std::swap(a, b);
      edges.push_back({a, b, uint32_t(k), e});
      tris[k].Outline[e] = true;
    }
  std::sort(edges.begin(), edges.end(), [](const TEdgeOf& l, const TEdgeOf& r) {
    if (l.A.X != r.A.X || l.A.Y != r.A.Y) return Before(l.A, r.A);
    if (l.B.X != r.B.X || l.B.Y != r.B.Y) return Before(l.B, r.B);
    return l.Triangle < r.Triangle;
  });
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    const TEdgeOf &l = edges[i], &r = edges[i + 1];
    if (l.A.X == r.A.X && l.A.Y == r.A.Y && l.B.X == r.B.X && l.B.Y == r.B.Y)
      tris[l.Triangle].Outline[l.Edge] = false;
  }
}

struct TOutlineSpan {
  uint32_t Triangle;
  int32_t Y, X1, X2;
};

// Writes one value into the spans of a 32-bit raster.
class TFillSink final : public TSpanSink {
 public:
  TFillSink(uint32_t* bits, int32_t W, int32_t H) : FBits(bits), FW(W), FH(H) {}
  void SetValue(uint32_t v) { FValue = v; }
  void Span(int32_t y, int32_t x1, int32_t x2) override {
    FillPixels32Wide(FBits + size_t(FH - 1 - y) * FW + x1, size_t(x2 - x1), FValue);
  }

 private:
  uint32_t* FBits;
  int32_t FW, FH;
  uint32_t FValue = 0;
};

// Collects the outline spans (already clipped to the map) by band and in drawing order.
class TOutlineSink final : public TSpanSink {
 public:
  explicit TOutlineSink(std::vector<std::vector<TOutlineSpan>>& bands) : FBands(bands) {}
  void SetTriangle(uint32_t k) { FTriangle = k; }
  void Span(int32_t y, int32_t x1, int32_t x2) override {
    FBands[size_t(y / kBandRows)].push_back({FTriangle, y, x1, x2});
  }

 private:
  std::vector<std::vector<TOutlineSpan>>& FBands;
  uint32_t FTriangle = 0;
};

// The outline spans of every band, in drawing order, in one list per tracing thread: thread j
// traces the triangles k with k % threads == j.
using TOutlineBands = std::vector<std::vector<TOutlineSpan>>;

void TraceOutlines(int32_t W, int32_t H, const std::vector<TTriangleRows>& tris, size_t first,
                   size_t step, TOutlineBands& bands) {
  bands.resize(size_t((H + kBandRows - 1) / kBandRows));
  for (auto& b : bands) b.clear();
  TOutlineSink outline(bands);
  for (size_t k = first; k < tris.size(); k += step) {
    const TTriangleRows& t = tris[k];
    outline.SetTriangle(uint32_t(k));
    for (int e = 0; e < 3; ++e)
      if (t.Outline[e]) TraceLine(t.Corners[e], t.Corners[(e + 1) % 3], false, W, H, outline);
  }
}

// The rows [y0, y1) from the top (y0 starts a band): band by band cleared, and every triangle
// touching the band filled and outlined in list order.
void DrawRows(uint32_t* bits, int32_t W, int32_t H, int32_t y0, int32_t y1,
              const std::vector<TTriangleRows>& tris, const std::vector<TOutlineBands>& outlines) {
  TFillSink fill(bits, W, H);
  thread_local std::vector<size_t> next;
  for (int32_t by0 = y0; by0 < y1; by0 += kBandRows) {
    const int32_t by1 = std::min(y1, by0 + kBandRows);
    const size_t band = size_t(by0 / kBandRows);
    // Rows by0 .. by1 - 1 from the top are memory rows H - by1 .. H - 1 - by0.
    std::memset(bits + size_t(H - by1) * W, 0, size_t(by1 - by0) * W * sizeof(uint32_t));
    next.assign(outlines.size(), 0);
    for (size_t k = 0; k < tris.size(); ++k) {
      const TTriangleRows& t = tris[k];
      if (t.Bottom < by0 || t.Top >= by1) continue;
      // The colour k + 1 as a 32-bit pixel: red and blue exchanged.
      fill.SetValue(SwapRedBlue(TColor(k + 1)));
      ScanTriangleRows(t.Corners.data(), W, by0, by1, fill);
      const size_t j = k % outlines.size();
      const std::vector<TOutlineSpan>& spans = outlines[j][band];
      for (size_t& i = next[j]; i < spans.size() && spans[i].Triangle == k; ++i)
        fill.Span(spans[i].Y, spans[i].X1, spans[i].X2);
    }
  }
}

}  // namespace

void DrawIndexMap(TBitmap& raster, const std::vector<TTrianglePerIndex>& triangles,
                  const TAngleArray& angles, int32_t W, int32_t H) {
  raster.SetPixelFormat(pf32bit);
  raster.SetSize(W, H);
  if (raster.Empty()) return;
  uint32_t* bits = raster.Pixels32();
  thread_local std::vector<TTriangleRows> tris;
  tris.resize(triangles.size());
  for (size_t k = 0; k < triangles.size(); ++k) {
    TTriangleRows& t = tris[k];
    TMorphing::GetAnglePoints(t.Corners, triangles[k], angles);
    t.Top = std::min({t.Corners[0].Y, t.Corners[1].Y, t.Corners[2].Y});
    t.Bottom = std::max({t.Corners[0].Y, t.Corners[1].Y, t.Corners[2].Y});
  }
  MarkOutlines(tris);
  TWorkerPool& pool = SynthesisPool();
  // The threads first trace the outlines, each a share of the triangles, then each draws whole
  // bands.
  const int32_t bands = (H + kBandRows - 1) / kBandRows;
  const int parts = std::min(pool.Threads(), bands);
  const std::vector<TTriangleRows>& all = tris;
  thread_local std::vector<TOutlineBands> callerOutlines;  // the workers see the caller's
  std::vector<TOutlineBands>& outlines = callerOutlines;
  outlines.resize(size_t(parts));
  auto trace = [&](int i) {
    if (i < parts) TraceOutlines(W, H, all, size_t(i), size_t(parts), outlines[size_t(i)]);
  };
  auto draw = [&](int i) {
    if (i >= parts) return;
    const int32_t y0 = int32_t(int64_t(bands) * i / parts) * kBandRows;
    const int32_t y1 = std::min(H, int32_t(int64_t(bands) * (i + 1) / parts) * kBandRows);
    DrawRows(bits, W, H, y0, y1, all, outlines);
  };
  if (parts <= 1) {
    trace(0);
    draw(0);
  } else {
    pool.Run(trace);
    pool.Run(draw);
  }
}

}  // namespace qv
