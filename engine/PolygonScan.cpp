#include "PolygonScan.h"

#include <algorithm>
#include <vector>

namespace qv {

namespace {

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
    ScanTriangleRows(points, w, 0, h, sink);
  else
    ScanEdges(points, count, w, h, sink);
}

}  // namespace qv
