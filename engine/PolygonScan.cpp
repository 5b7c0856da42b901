#include "PolygonScan.h"

#include <algorithm>
#include <vector>

#include "FloorStep.h"

namespace qv {

namespace {

// Where an edge from top to bottom (top.Y < bottom.Y) crosses row y, y, y + 1, ...:
// top.X + ceil((y - top.Y) * (bottom.X - top.X) / (bottom.Y - top.Y)).
class TEdgeWalk {
 public:
  TEdgeWalk(TPoint top, TPoint bottom, int64_t y)
      : FX0(top.X),
        FOffset(int64_t(bottom.Y) - top.Y - 1, int64_t(bottom.X) - top.X, int64_t(bottom.Y) - top.Y,
                y - top.Y) {}
  int64_t X() const { return FX0 + FOffset.Value(); }
  void Next() { FOffset.Next(); }

 private:
  int64_t FX0;
  TFloorStep FOffset;
};

void EmitSpan(int64_t y, int64_t xa, int64_t xb, int32_t w, TSpanSink& sink) {
  const int64_t x1 = std::clamp<int64_t>(std::min(xa, xb), 0, w);
  const int64_t x2 = std::clamp<int64_t>(std::max(xa, xb), 0, w);
  if (x1 < x2) sink.Span(int32_t(y), int32_t(x1), int32_t(x2));
}

// Rows y0 .. y1 - 1 between two edges.
void ScanBetween(TEdgeWalk& a, TEdgeWalk& b, int64_t y0, int64_t y1, int32_t w, TSpanSink& sink) {
  for (int64_t y = y0; y < y1; ++y, a.Next(), b.Next()) EmitSpan(y, a.X(), b.X(), w, sink);
}

// The common case, without the edge table: the long edge from the top to the bottom corner
// against the two short ones. Gives the same crossings as the general scan.
void ScanTriangle(const TPoint* p, int32_t w, int32_t y0, int32_t y1, TSpanSink& sink) {
  TPoint v[3] = {p[0], p[1], p[2]};
  std::sort(v, v + 3, [](const TPoint& l, const TPoint& r) { return l.Y < r.Y; });
  if (v[0].Y == v[2].Y || v[2].Y <= y0 || v[0].Y >= y1) return;
  const int64_t top = std::max<int64_t>(v[0].Y, y0), middle = std::clamp<int64_t>(v[1].Y, y0, y1),
                bottom = std::min<int64_t>(v[2].Y, y1);
  TEdgeWalk longEdge(v[0], v[2], top);
  if (top < middle) {
    TEdgeWalk upper(v[0], v[1], top);
    ScanBetween(longEdge, upper, top, middle, w, sink);
  }
  const int64_t lowerTop = std::max(top, middle);
  if (lowerTop < bottom) {
    TEdgeWalk lower(v[1], v[2], lowerTop);
    ScanBetween(longEdge, lower, lowerTop, bottom, w, sink);
  }
}

struct TEdge {
  TPoint Top, Bottom;  // Top.Y < Bottom.Y; the edge counts for rows Top.Y .. Bottom.Y - 1
};

struct TActiveEdge {
  int64_t YEnd;
  TEdgeWalk Walk;
};

std::vector<TEdge> CollectEdges(const TPoint* points, size_t count, int32_t h) {
  std::vector<TEdge> edges;
  edges.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    TPoint a = points[i], b = points[i + 1 < count ? i + 1 : 0];
    if (a.Y == b.Y) continue;
    if (a.Y > b.Y) std::swap(a, b);
    if (b.Y <= 0 || a.Y >= h) continue;
    edges.push_back({a, b});
  }
  std::sort(edges.begin(), edges.end(),
            [](const TEdge& l, const TEdge& r) { return l.Top.Y < r.Top.Y; });
  return edges;
}

void EmitRow(int64_t y, std::vector<int64_t>& crossings, int32_t w, TSpanSink& sink) {
  std::sort(crossings.begin(), crossings.end());
  for (size_t k = 0; k + 1 < crossings.size(); k += 2)
    EmitSpan(y, crossings[k], crossings[k + 1], w, sink);
}

// Any polygon: an edge table sorted by the upper ends and the list of edges on the row.
void ScanEdges(const TPoint* points, size_t count, int32_t w, int32_t h, TSpanSink& sink) {
  const std::vector<TEdge> edges = CollectEdges(points, count, h);
  std::vector<TActiveEdge> active;
  std::vector<int64_t> crossings;
  active.reserve(edges.size());
  crossings.reserve(edges.size());
  size_t next = 0;
  int64_t y = 0;
  while (y < h && (next < edges.size() || !active.empty())) {
    if (active.empty()) y = std::max<int64_t>(y, edges[next].Top.Y);
    for (; next < edges.size() && edges[next].Top.Y <= y; ++next)
      active.push_back({edges[next].Bottom.Y, TEdgeWalk(edges[next].Top, edges[next].Bottom, y)});
    std::erase_if(active, [y](const TActiveEdge& e) { return e.YEnd <= y; });
    if (active.empty()) continue;
    crossings.clear();
    for (TActiveEdge& e : active) {
      crossings.push_back(e.Walk.X());
      e.Walk.Next();
    }
    EmitRow(y, crossings, w, sink);
    ++y;
  }
}

}  // namespace

void ScanPolygon(const TPoint* points, size_t count, int32_t w, int32_t h, TSpanSink& sink) {
  if (!points || count < 3 || w <= 0 || h <= 0) return;
  if (count == 3)
    ScanTriangle(points, w, 0, h, sink);
  else
    ScanEdges(points, count, w, h, sink);
}

void ScanTriangleRows(const TPoint* points, int32_t w, int32_t y0, int32_t y1, TSpanSink& sink) {
  if (!points || w <= 0 || y0 >= y1) return;
  ScanTriangle(points, w, y0, y1, sink);
}

}  // namespace qv
