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
constexpr int32_t kBandRows = 64;

struct TTriangleRows {
  TTriangle Corners;
  int32_t Top, Bottom;  // the rows the triangle and its outline can touch: Top .. Bottom
  bool Outline[3];      // whether edge e (corner e to corner e + 1) is outlined
};

bool Before(const TPoint& p, const TPoint& q) { return p.X != q.X ? p.X < q.X : p.Y < q.Y; }

// The edges drawn so far, by their ends (the smaller first): an open-addressing table whose
// entries count only when they carry the current frame's stamp, so it is never cleared.
class TEdgeTable {
 public:
  struct TEntry {
    TPoint A, B;
    uint32_t Triangle = 0;
    int Edge = 0;
    uint32_t Stamp = 0;
  };

  // Makes room for n edges and forgets the earlier ones.
  void Start(size_t n) {
    size_t size = 64;
    while (size < 2 * n) size *= 2;
    if (size != FEntries.size()) {
      FEntries.assign(size, TEntry{});
      FStamp = 0;
    }
    if (++FStamp == 0) {  // after 2^32 frames: every old entry gets a stamp of its own again
      for (TEntry& e : FEntries) e.Stamp = 0;
      FStamp = 1;
    }
  }

  // The entry of the edge a-b: the one drawn before (Stamp current), or a free one for it.
  TEntry& Find(TPoint a, TPoint b) {
    const size_t mask = FEntries.size() - 1;
    uint64_t h = (uint64_t(uint32_t(a.X)) << 32 | uint32_t(a.Y)) * 0x9E3779B97F4A7C15ull;
    h ^= (uint64_t(uint32_t(b.X)) << 32 | uint32_t(b.Y)) * 0xC2B2AE3D27D4EB4Full;
    for (size_t i = size_t(h >> 40) & mask;; i = (i + 1) & mask) {
      TEntry& e = FEntries[i];
      if (e.Stamp != FStamp || (e.A.X == a.X && e.A.Y == a.Y && e.B.X == b.X && e.B.Y == b.Y))
        return e;
    }
  }

  uint32_t Stamp() const { return FStamp; }

 private:
  std::vector<TEntry> FEntries;
  uint32_t FStamp = 0;
};

// An edge drawn again by a later triangle needs no outline before: a segment's pixels do not
// depend on the order of its ends, so the later outline overwrites every pixel of the earlier
// one after everything drawn in between.
void MarkOutlines(std::vector<TTriangleRows>& tris) {
  thread_local TEdgeTable table;
  table.Start(3 * tris.size());
  for (size_t k = 0; k < tris.size(); ++k)
    for (int e = 0; e < 3; ++e) {
      TPoint a = tris[k].Corners[e], b = tris[k].Corners[(e + 1) % 3];
      if (Before(b, a)) std::swap(a, b);
      TEdgeTable::TEntry& entry = table.Find(a, b);
      if (entry.Stamp == table.Stamp()) tris[entry.Triangle].Outline[entry.Edge] = false;
      entry = {a, b, uint32_t(k), e, table.Stamp()};
      tris[k].Outline[e] = true;
    }
}

// Writes one value into the spans of a 32-bit raster, kLanes pixels a store.
template <size_t kLanes>
class TFillSink final {
 public:
  TFillSink(uint32_t* bits, int32_t W, int32_t H) : FBits(bits), FW(W), FH(H) {}
  void SetValue(uint32_t v) { FValue = v; }
  // 0 <= y < H, 0 <= x1 < x2 <= W.
  void Span(int32_t y, int32_t x1, int32_t x2) {
    uint32_t* p = FBits + size_t(FH - 1 - y) * FW + x1;
    const size_t n = size_t(x2 - x1);
    if (n > 4) return FillPixels32Lanes<kLanes>(p, n, FValue);
    for (size_t i = 0; i < n; ++i) p[i] = FValue;  // an outline's pixel or two
  }

 private:
  uint32_t* FBits;
  int32_t FW, FH;
  uint32_t FValue = 0;
};

// One triangle's pixels in the map band by band: its interior and the pixels of its outlined
// edges. All take the same value, so their order does not matter, and each is walked in a loop
// of its own.
class TTriangleWalk {
 public:
  TTriangleWalk() = default;
  TTriangleWalk(const TTriangleRows& t, int64_t y) : FInterior(t.Corners.data(), y) {
    for (int e = 0; e < 3; ++e)
      if (t.Outline[e]) FLines[FLineCount++] = TLineRows(t.Corners[e], t.Corners[(e + 1) % 3], y);
  }

  // Draws the rows from where the last band ended up to y1 - 1 (y1 at most the map's height).
  template <typename TSink>
  void Band(int64_t y1, int32_t w, TSink& fill) {
    FInterior.Rows(y1, w, fill);
    for (int e = 0; e < FLineCount; ++e) {
      TLineRows line = FLines[e];
      line.Rows(y1, [&](int64_t y, int64_t x1, int64_t x2) {
        x1 = std::max<int64_t>(x1, 0);
        x2 = std::min<int64_t>(x2, w);
        if (x1 < x2) fill.Span(int32_t(y), int32_t(x1), int32_t(x2));
      });
      FLines[e] = line;
    }
  }

 private:
  TTriangleScan FInterior;
  TLineRows FLines[3];
  int FLineCount = 0;
};

// The rows [y0, y1) from the top (y0 starts a band): band by band cleared, and every triangle
// touching the band drawn in list order, each walking on from where the band above left it.
template <size_t kLanes>
__attribute__((always_inline)) inline void DrawRows(uint32_t* bits, int32_t W, int32_t H,
                                                    int32_t y0, int32_t y1,
                                                    const std::vector<TTriangleRows>& tris) {
  TFillSink<kLanes> fill(bits, W, H);
  thread_local std::vector<TTriangleWalk> walks;
  thread_local std::vector<uint8_t> started;
  walks.resize(tris.size());
  started.assign(tris.size(), 0);
  for (int32_t by0 = y0; by0 < y1; by0 += kBandRows) {
    const int32_t by1 = std::min(y1, by0 + kBandRows);
    // Rows by0 .. by1 - 1 from the top are memory rows H - by1 .. H - 1 - by0.
    std::memset(bits + size_t(H - by1) * W, 0, size_t(by1 - by0) * W * sizeof(uint32_t));
    for (size_t k = 0; k < tris.size(); ++k) {
      const TTriangleRows& t = tris[k];
      if (t.Bottom < by0 || t.Top >= by1) continue;
      TTriangleWalk& walk = walks[k];
      if (!started[k]) {
        walk = TTriangleWalk(t, std::max<int64_t>(t.Top, by0));
        started[k] = 1;
      }
      // The colour k + 1 as a 32-bit pixel: red and blue exchanged.
      fill.SetValue(SwapRedBlue(TColor(k + 1)));
      walk.Band(by1, W, fill);
    }
  }
}

// The rows with the widest stores the processor has (the walks inlined with them).
using TDrawRows = void (*)(uint32_t*, int32_t, int32_t, int32_t, int32_t,
                           const std::vector<TTriangleRows>&);

void DrawRows4(uint32_t* bits, int32_t W, int32_t H, int32_t y0, int32_t y1,
               const std::vector<TTriangleRows>& tris) {
  DrawRows<4>(bits, W, H, y0, y1, tris);
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) void DrawRows8(uint32_t* bits, int32_t W, int32_t H, int32_t y0,
                                               int32_t y1, const std::vector<TTriangleRows>& tris) {
  DrawRows<8>(bits, W, H, y0, y1, tris);
}

__attribute__((target("avx512f"))) void DrawRows16(uint32_t* bits, int32_t W, int32_t H,
                                                   int32_t y0, int32_t y1,
                                                   const std::vector<TTriangleRows>& tris) {
  DrawRows<16>(bits, W, H, y0, y1, tris);
}
#endif

TDrawRows WidestDrawRows() {
  switch (WidestLanes()) {
#if defined(__x86_64__)
    case 16: return DrawRows16;
    case 8: return DrawRows8;
#endif
    default: return DrawRows4;
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
  static const TDrawRows drawRows = WidestDrawRows();
  TWorkerPool& pool = SynthesisPool();
  const int32_t bands = (H + kBandRows - 1) / kBandRows;
  const int parts = std::min(pool.Threads(), bands);
  const std::vector<TTriangleRows>& all = tris;
  auto draw = [&](int i) {
    if (i >= parts) return;
    const int32_t y0 = int32_t(int64_t(bands) * i / parts) * kBandRows;
    const int32_t y1 = std::min(H, int32_t(int64_t(bands) * (i + 1) / parts) * kBandRows);
    drawRows(bits, W, H, y0, y1, all);
  };
  if (parts <= 1)
    draw(0);
  else
    pool.Run(draw);
}

}  // namespace qv
