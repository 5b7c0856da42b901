#include "PolygonScan.h"

#include <algorithm>
#include <vector>

#include "FloorStep.h"

namespace qv {

namespace {

struct TEdge {
  int64_t YTop, YEnd;  // the edge counts for rows YTop .. YEnd - 1
  int64_t X0, Dx, Dy;  // upper end and extent, Dy > 0
};

// An edge crossing the current row at X0 + ceil((y - YTop) * Dx / Dy).
struct TActiveEdge {
  int64_t X0, YEnd;
  TFloorStep Offset;
};

std::vector<TEdge> CollectEdges(const TPoint* points, size_t count, int32_t h) {
  std::vector<TEdge> edges;
  edges.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    TPoint a = points[i], b = points[i + 1 < count ? i + 1 : 0];
    if (a.Y == b.Y) continue;
    if (a.Y > b.Y) std::swap(a, b);
    if (b.Y <= 0 || a.Y >= h) continue;
    edges.push_back({a.Y, b.Y, a.X, int64_t(b.X) - a.X, int64_t(b.Y) - a.Y});
  }
  std::sort(edges.begin(), edges.end(),
            [](const TEdge& l, const TEdge& r) { return l.YTop < r.YTop; });
  return edges;
}

void EmitRow(int64_t y, std::vector<int64_t>& crossings, int32_t w, TSpanSink& sink) {
  std::sort(crossings.begin(), crossings.end());
  for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
    const int64_t x1 = std::clamp<int64_t>(crossings[k], 0, w);
    const int64_t x2 = std::clamp<int64_t>(crossings[k + 1], 0, w);
    if (x1 < x2) sink.Span(int32_t(y), int32_t(x1), int32_t(x2));
  }
}

}  // namespace

void ScanPolygon(const TPoint* points, size_t count, int32_t w, int32_t h, TSpanSink& sink) {
  if (!points || count < 3 || w <= 0 || h <= 0) return;
  const std::vector<TEdge> edges = CollectEdges(points, count, h);
  std::vector<TActiveEdge> active;
  std::vector<int64_t> crossings;
  active.reserve(edges.size());
  crossings.reserve(edges.size());
  size_t next = 0;
  int64_t y = 0;
  while (y < h && (next < edges.size() || !active.empty())) {
    if (active.empty()) y = std::max(y, edges[next].YTop);
    for (; next < edges.size() && edges[next].YTop <= y; ++next) {
      const TEdge& e = edges[next];
      active.push_back({e.X0, e.YEnd, TFloorStep(e.Dy - 1, e.Dx, e.Dy, y - e.YTop)});
    }
    std::erase_if(active, [y](const TActiveEdge& e) { return e.YEnd <= y; });
    if (active.empty()) continue;
    crossings.clear();
    for (TActiveEdge& e : active) {
      crossings.push_back(e.X0 + e.Offset.Value());
      e.Offset.Next();
    }
    EmitRow(y, crossings, w, sink);
    ++y;
  }
}

}  // namespace qv
