// Shapes on the bitmap canvas: rectangles, lines, polygons and their coverage rules.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <utility>

#include "Bitmap.h"
#include "BitmapCanvas.h"
#include "PolygonScan.h"
#include "RasterLine.h"
#include "RasterSupport.h"

namespace qv {
namespace {

using test::FilledBitmap;
using test::TCoverage;
using TPixelSet = std::set<std::pair<int32_t, int32_t>>;

constexpr TColor kWhite = clWhite;
constexpr TColor kPen = RGB(200, 10, 20);
constexpr TColor kBrush = RGB(30, 140, 250);

// Sign of (b - a) x (p - a), exact for any 32-bit points.
int Side(TPoint a, TPoint b, TPoint p) {
  const __int128 v = __int128(int64_t(b.X) - a.X) * (int64_t(p.Y) - a.Y) -
                     __int128(int64_t(b.Y) - a.Y) * (int64_t(p.X) - a.X);
  return (v > 0) - (v < 0);
}

// 1: strictly inside, 0: on the boundary, -1: outside (non-degenerate triangles).
int Classify(const TTriangle& t, TPoint p) {
  const int s0 = Side(t[0], t[1], p), s1 = Side(t[1], t[2], p), s2 = Side(t[2], t[0], p);
  if ((s0 > 0 && s1 > 0 && s2 > 0) || (s0 < 0 && s1 < 0 && s2 < 0)) return 1;
  if ((s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0)) return 0;
  return -1;
}

// The documented line rule in closed form, restricted to a w x h target.
TPixelSet ReferenceLine(TPoint a, TPoint b, int32_t w, int32_t h) {
  const bool xMajor = std::llabs(int64_t(b.X) - a.X) >= std::llabs(int64_t(b.Y) - a.Y);
  if ((xMajor && b.X < a.X) || (!xMajor && b.Y < a.Y)) std::swap(a, b);
  const int64_t major0 = xMajor ? a.X : a.Y, minor0 = xMajor ? a.Y : a.X;
  const int64_t n = xMajor ? int64_t(b.X) - a.X : int64_t(b.Y) - a.Y;
  const int64_t d = xMajor ? int64_t(b.Y) - a.Y : int64_t(b.X) - a.X;
  TPixelSet pixels;
  const int64_t limit = xMajor ? w : h;
  for (int64_t m = std::max<int64_t>(major0, 0); m < limit && m <= major0 + n; ++m) {
    const int64_t i = m - major0;
    int64_t offset = 0;
    if (n > 0) {
      const __int128 num = __int128(2) * i * d + n, den = 2 * __int128(n);
      __int128 q = num / den;
      if (num % den != 0 && num < 0) --q;
      offset = int64_t(q);
    }
    const int64_t x = xMajor ? m : minor0 + offset, y = xMajor ? minor0 + offset : m;
    if (x >= 0 && x < w && y >= 0 && y < h) pixels.insert({int32_t(x), int32_t(y)});
  }
  return pixels;
}

TPixelSet Traced(TPoint a, TPoint b, bool skipEnd, int32_t w, int32_t h) {
  TCoverage cov(w, h);
  TraceLine(a, b, skipEnd, w, h, cov);
  TPixelSet pixels;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      EXPECT_LE(cov.At(x, y), 1) << "pixel handed over twice";
      if (cov.At(x, y)) pixels.insert({x, y});
    }
  return pixels;
}

// The pixels of rows from .. h - 1 as the row walk finds them, clipped to the columns 0 .. w - 1.
TPixelSet WalkedRows(TPoint a, TPoint b, int32_t w, int32_t h, int32_t from) {
  TPixelSet pixels;
  TLineRows(a, b, from).Rows(h, [&](int64_t y, int64_t x1, int64_t x2) {
    for (int64_t x = std::max<int64_t>(x1, 0); x < std::min<int64_t>(x2, w); ++x)
      pixels.insert({int32_t(x), int32_t(y)});
  });
  return pixels;
}

TPixelSet PixelsOf(const TBitmap& b, TColor c) {
  TPixelSet pixels;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x)
      if (b.GetPixel(x, y) == c) pixels.insert({x, y});
  return pixels;
}

TEST(RasterFillRect, ClipsAndNormalisesCorners) {
  for (TPixelFormat pf : {pf24bit, pf32bit}) {
    TBitmap b = FilledBitmap(10, 8, kWhite, pf);
    b.Canvas().SetBrushColor(kBrush);
    b.Canvas().FillRect(Rect(7, 6, -3, 2));  // swapped corners, reaching past the left edge
    b.Canvas().FillRect(Rect(8, -100000, 100000, 1));
    for (int32_t y = 0; y < 8; ++y)
      for (int32_t x = 0; x < 10; ++x) {
        const bool inside = (x < 7 && y >= 2 && y < 6) || (x >= 8 && y < 1);
        EXPECT_EQ(b.GetPixel(x, y), inside ? kBrush : kWhite) << x << "," << y;
      }
    // Memory order blue, green, red; the fourth byte of a 32-bit pixel is 0.
    const uint8_t* p = b.ScanLine(3);
    EXPECT_EQ(p[0], 250);
    EXPECT_EQ(p[1], 140);
    EXPECT_EQ(p[2], 30);
    if (pf == pf32bit) {
      EXPECT_EQ(p[3], 0);
    }
  }
}

TEST(RasterFillRect, ClearBrushPaintsNothingAndHatchOnlyItsLines) {
  TBitmap b = FilledBitmap(24, 16, kWhite);
  b.Canvas().SetBrushStyle(bsClear);
  b.Canvas().FillRect(Rect(0, 0, 24, 16));
  EXPECT_EQ(PixelsOf(b, kWhite).size(), 24u * 16u);
  b.Canvas().SetBrushColor(kBrush);  // a colour turns a clear brush solid again
  EXPECT_EQ(b.Canvas().BrushStyle(), bsSolid);
  b.Canvas().SetBrushStyle(bsBDiagonal);
  b.Canvas().FillRect(Rect(3, 2, 21, 15));
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 24; ++x) {
      const bool hatch = x >= 3 && x < 21 && y >= 2 && y < 15 && (x + y) % 8 == 7;
      EXPECT_EQ(b.GetPixel(x, y), hatch ? kBrush : kWhite) << x << "," << y;
    }
}

TEST(RasterRectangle, OutlineAndFillLeaveOutRightAndBottomLines) {
  struct Case {
    TBrushStyle style;
    TRect r;
  } cases[] = {
      {bsSolid, Rect(2, 3, 8, 7)}, {bsSolid, Rect(8, 7, 2, 3)}, {bsClear, Rect(2, 3, 8, 7)}};
  for (const Case& c : cases) {
    TBitmap b = FilledBitmap(12, 10, kWhite);
    TCanvas& cv = b.Canvas();
    cv.SetBrushColor(kBrush);
    cv.SetBrushStyle(c.style);
    cv.SetPenColor(kPen);
    cv.Rectangle(c.r.Left, c.r.Top, c.r.Right, c.r.Bottom);
    for (int32_t y = 0; y < 10; ++y)
      for (int32_t x = 0; x < 12; ++x) {
        TColor expected = kWhite;
        if (x >= 2 && x <= 7 && y >= 3 && y <= 6) {
          const bool edge = x == 2 || x == 7 || y == 3 || y == 6;
          expected = edge ? kPen : (c.style == bsClear ? kWhite : kBrush);
        }
        EXPECT_EQ(b.GetPixel(x, y), expected) << x << "," << y;
      }
  }
  // A point marker of half-width 2 partly off the bitmap, and an empty rectangle.
  TBitmap b = FilledBitmap(6, 6, kWhite);
  b.Canvas().SetPenColor(kPen);
  b.Canvas().Rectangle(-2, -2, 2, 2);
  b.Canvas().Rectangle(4, 1, 4, 5);
  EXPECT_EQ(PixelsOf(b, kPen), (TPixelSet{{1, 0}, {1, 1}, {0, 1}}));
}

TEST(RasterLine, LeavesOutTheEndPixel) {
  TBitmap b = FilledBitmap(10, 10, kWhite);
  TCanvas& cv = b.Canvas();
  cv.SetPenColor(kPen);
  cv.Line(4, 5, 5, 5);
  EXPECT_EQ(PixelsOf(b, kPen), (TPixelSet{{4, 5}}));
  cv.Line(7, 7, 7, 7);
  EXPECT_EQ(PixelsOf(b, kPen).size(), 1u);
  cv.Line(9, 0, 6, 3);  // diagonal up to the right end excluded
  EXPECT_EQ(PixelsOf(b, kPen), (TPixelSet{{4, 5}, {9, 0}, {8, 1}, {7, 2}}));
}

TEST(RasterLine, FollowsTheRuleInBothDirectionsAndClipsFarEnds) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> near(-20, 80), far(-200000, 200000);
  const TPoint extremes[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}, {30, 20}};
  for (int k = 0; k < 600; ++k) {
    TPoint a, b;
    if (k < 16) {
      a = extremes[k % 4];
      b = extremes[(k / 4 + k + 1) % 4];
    } else if (k % 3 == 0) {
      a = {far(rng), far(rng)};
      b = {far(rng), far(rng)};
    } else {
      a = {near(rng), near(rng)};
      b = {near(rng), near(rng)};
    }
    const TPixelSet ab = Traced(a, b, false, 64, 48);
    ASSERT_EQ(ab, ReferenceLine(a, b, 64, 48)) << a.X << "," << a.Y << " - " << b.X << "," << b.Y;
    EXPECT_EQ(Traced(b, a, false, 64, 48), ab);
    TPixelSet withoutEnd = ab;
    withoutEnd.erase({b.X, b.Y});
    EXPECT_EQ(Traced(a, b, true, 64, 48), withoutEnd);
    // Row by row, from the top or from a row inside.
    EXPECT_EQ(WalkedRows(a, b, 64, 48, 0), ab);
    TPixelSet lower;
    for (const auto& p : ab)
      if (p.second >= 17) lower.insert(p);
    EXPECT_EQ(WalkedRows(b, a, 64, 48, 17), lower);
    // The same rows from the segment's first row in the target.
    EXPECT_EQ(WalkedRows(a, b, 64, 48, std::max(std::min(a.Y, b.Y), 0)), ab);
  }
  // Hand-checked: ties round toward the larger coordinate.
  EXPECT_EQ(Traced({0, 0}, {4, 2}, false, 8, 8),
            (TPixelSet{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
}

TEST(RasterPolygonFill, CoversTheSamplePointsOfTheTriangle) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int32_t> coord(-15, 75);
  for (int k = 0; k < 300; ++k) {
    const TTriangle t = {TPoint{coord(rng), coord(rng)}, TPoint{coord(rng), coord(rng)},
                         TPoint{coord(rng), coord(rng)}};
    TCoverage cov(64, 48);
    ScanPolygon(t.data(), 3, 64, 48, cov);
    const bool flat = Side(t[0], t[1], t[2]) == 0;
    for (int32_t y = 0; y < 48; ++y)
      for (int32_t x = 0; x < 64; ++x) {
        const int where = flat ? -1 : Classify(t, {x, y});
        ASSERT_LE(cov.At(x, y), 1);
        if (where == 1) {
          ASSERT_EQ(cov.At(x, y), 1) << "inside left out at " << x << "," << y;
        } else if (where == -1) {
          ASSERT_EQ(cov.At(x, y), 0) << "outside filled at " << x << "," << y;
        }
      }
  }
}

TEST(RasterPolygonFill, TrianglesMatchTheGeneralScan) {
  // Three corners take a path of their own; a repeated corner sends the same triangle
  // through the edge table.
  std::mt19937 rng(13);
  std::uniform_int_distribution<int32_t> coord(-30, 90), far(-3000000, 3000000);
  for (int k = 0; k < 300; ++k) {
    auto pick = [&] {
      return k % 4 == 0 ? TPoint{far(rng), far(rng)} : TPoint{coord(rng), coord(rng)};
    };
    const TPoint t[] = {pick(), pick(), pick()}, quad[] = {t[0], t[1], t[2], t[2]};
    TCoverage three(64, 48), four(64, 48);
    ScanPolygon(t, 3, 64, 48, three);
    ScanPolygon(quad, 4, 64, 48, four);
    for (int32_t y = 0; y < 48; ++y)
      for (int32_t x = 0; x < 64; ++x) ASSERT_EQ(three.At(x, y), four.At(x, y)) << x << "," << y;
  }
}

TEST(RasterPolygonFill, MeshTilesEveryPixelExactlyOnce) {
  // A jittered grid, partly beyond the target, split into two triangles per cell with both
  // diagonal directions; a quadrilateral and a pentagon cover cells of their own.
  std::mt19937 rng(5);
  std::uniform_int_distribution<int32_t> jitter(-3, 3);
  constexpr int N = 9;
  TPoint grid[N + 1][N + 1];
  for (int i = 0; i <= N; ++i)
    for (int j = 0; j <= N; ++j) {
      const bool border = i == 0 || j == 0 || i == N || j == N;
      grid[i][j] = {-20 + j * 15 + (border ? 0 : jitter(rng)),
                    -25 + i * 13 + (border ? 0 : jitter(rng))};
    }
  TCoverage cov(96, 72);
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) {
      const TPoint a = grid[i][j], b = grid[i][j + 1], c = grid[i + 1][j + 1], d = grid[i + 1][j];
      if ((i + j) % 5 == 4) {
        const TPoint quad[] = {a, b, c, d};
        ScanPolygon(quad, 4, 96, 72, cov);
      } else if ((i + j) % 2 == 0) {
        const TPoint t1[] = {a, b, c}, t2[] = {a, c, d};
        ScanPolygon(t1, 3, 96, 72, cov);
        ScanPolygon(t2, 3, 96, 72, cov);
      } else {
        const TPoint t1[] = {a, b, d}, t2[] = {b, c, d};
        ScanPolygon(t1, 3, 96, 72, cov);
        ScanPolygon(t2, 3, 96, 72, cov);
      }
    }
  for (int32_t y = 0; y < 72; ++y)
    for (int32_t x = 0; x < 96; ++x) ASSERT_EQ(cov.At(x, y), 1) << x << "," << y;
}

TEST(RasterPolygon, OutlineCoversEveryEdgePixelAndEndPoint) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> coord(-10, 50);
  for (int k = 0; k < 200; ++k) {
    TBitmap b = FilledBitmap(40, 30, kWhite, k % 2 ? pf24bit : pf32bit);
    TCanvas& cv = b.Canvas();
    cv.SetBrushColor(kBrush);
    cv.SetPenColor(kPen);
    const size_t n = 3 + k % 3;
    TPoint p[5];
    for (size_t i = 0; i < n; ++i) p[i] = {coord(rng), coord(rng)};
    cv.Polygon(p, n);
    TPixelSet outline;
    for (size_t i = 0; i < n; ++i) {
      const TPixelSet edge = ReferenceLine(p[i], p[(i + 1) % n], 40, 30);
      outline.insert(edge.begin(), edge.end());
    }
    ASSERT_EQ(PixelsOf(b, kPen), outline);
  }
}

TEST(RasterPolygon, LaterTrianglesOwnSharedEdgesInTheIndexMap) {
  // Two triangles over four corners, drawn as an index map the way the engine builds it.
  const TPoint q[] = {{3, 2}, {45, 6}, {41, 33}, {1, 29}};
  const TTriangle tris[] = {{q[0], q[1], q[2]}, {q[0], q[2], q[3]}};
  TBitmap map(pf32bit);
  map.SetSize(48, 36);
  TCanvas& cv = map.Canvas();
  for (size_t i = 0; i < 2; ++i) {
    cv.SetBrushColor(TColor(i + 1));
    cv.SetPenColor(TColor(i + 1));
    cv.Polygon(tris[i].data(), 3);
  }
  std::vector<uint32_t> buffer(48 * 36);
  map.ReadPixels32(buffer.data());
  auto index = [&](int32_t x, int32_t y) { return SwapRedBlue(buffer[size_t(35 - y) * 48 + x]); };
  const TPixelSet diagonal = ReferenceLine(q[0], q[2], 48, 36);
  for (int32_t y = 0; y < 36; ++y)
    for (int32_t x = 0; x < 48; ++x) {
      const bool inFirst = Classify(tris[0], {x, y}) >= 0,
                 inSecond = Classify(tris[1], {x, y}) >= 0;
      if (diagonal.count({x, y}) || inSecond) {
        EXPECT_EQ(index(x, y), 2u) << x << "," << y;
      } else if (inFirst) {
        EXPECT_EQ(index(x, y), 1u) << x << "," << y;
      }
    }
  EXPECT_EQ(index(3, 2), 2u);
  EXPECT_EQ(index(45, 6), 1u);
  EXPECT_EQ(index(47, 35), 0u);
}

TEST(RasterPolygon, DegenerateCornersDrawTheirLineOrPixel) {
  struct Case {
    std::vector<TPoint> points;
    TPixelSet expected;
  } cases[] = {
      {{{5, 5}, {15, 10}, {25, 15}}, ReferenceLine({5, 5}, {25, 15}, 32, 20)},
      {{{25, 15}, {5, 5}, {15, 10}}, ReferenceLine({5, 5}, {25, 15}, 32, 20)},
      {{{7, 7}, {7, 7}, {7, 7}}, {{7, 7}}},
      {{{3, 4}, {12, 4}}, ReferenceLine({3, 4}, {12, 4}, 32, 20)},
      {{{9, 9}}, {{9, 9}}},
  };
  for (const Case& c : cases) {
    TBitmap b = FilledBitmap(32, 20, kWhite);
    b.Canvas().SetBrushColor(kBrush);
    b.Canvas().SetPenColor(kPen);
    b.Canvas().Polygon(c.points.data(), c.points.size());
    EXPECT_EQ(PixelsOf(b, kPen), c.expected);
    EXPECT_TRUE(PixelsOf(b, kBrush).empty());
  }
}

TEST(RasterPolygon, FarCornersAreClippedExactly) {
  const TTriangle cases[] = {
      {TPoint{-100000, -100000}, TPoint{100000, -100000}, TPoint{0, 100000}},
      {TPoint{INT_MIN, INT_MIN}, TPoint{INT_MAX, INT_MIN + 7}, TPoint{3, INT_MAX}},
      {TPoint{-100000, 30}, TPoint{100000, 2}, TPoint{100000, 40}},
      {TPoint{INT_MIN, 0}, TPoint{INT_MIN, 40}, TPoint{-5, 20}},  // entirely left of the bitmap
  };
  for (const TTriangle& t : cases) {
    TBitmap b = FilledBitmap(64, 48, kWhite);
    b.Canvas().SetBrushColor(kBrush);
    b.Canvas().SetPenColor(kPen);
    b.Canvas().Polygon(t.data(), 3);
    const TPixelSet outline = [&] {
      TPixelSet s;
      for (int i = 0; i < 3; ++i) {
        const TPixelSet e = ReferenceLine(t[i], t[(i + 1) % 3], 64, 48);
        s.insert(e.begin(), e.end());
      }
      return s;
    }();
    for (int32_t y = 0; y < 48; ++y)
      for (int32_t x = 0; x < 64; ++x) {
        const TColor c = b.GetPixel(x, y);
        if (outline.count({x, y})) {
          ASSERT_EQ(c, kPen) << x << "," << y;
        } else {
          ASSERT_EQ(c, Classify(t, {x, y}) == 1 ? kBrush : kWhite) << x << "," << y;
        }
      }
  }
}

TEST(RasterPolygon, HatchedInteriorKeepsThePictureBetweenTheLines) {
  TBitmap b = FilledBitmap(40, 40, kWhite);
  TCanvas& cv = b.Canvas();
  cv.SetBrushStyle(bsBDiagonal);
  cv.SetBrushColor(kBrush);
  cv.SetPenColor(kBrush);
  const TTriangle t = {TPoint{2, 2}, TPoint{37, 5}, TPoint{10, 36}};
  cv.Polygon(t.data(), 3);
  const TPixelSet painted = PixelsOf(b, kBrush);
  TPixelSet outline;
  for (int i = 0; i < 3; ++i) {
    const TPixelSet e = ReferenceLine(t[i], t[(i + 1) % 3], 40, 40);
    outline.insert(e.begin(), e.end());
  }
  for (int32_t y = 0; y < 40; ++y)
    for (int32_t x = 0; x < 40; ++x) {
      if (outline.count({x, y})) continue;
      const bool hatch = Classify(t, {x, y}) == 1 && (x + y) % 8 == 7;
      EXPECT_EQ(painted.count({x, y}) == 1, hatch) << x << "," << y;
    }
}

TEST(RasterShapes, EmptyBitmapsAndNullPointsAreNoOps) {
  TBitmap empty(pf32bit);
  TCanvas& cv = empty.Canvas();
  const TPoint p[] = {{0, 0}, {5, 0}, {0, 5}};
  cv.FillRect(Rect(0, 0, 10, 10));
  cv.Polygon(p, 3);
  cv.Rectangle(0, 0, 5, 5);
  cv.Line(0, 0, 5, 5);
  cv.TextOut(0, 0, "x");
  TBitmap b = FilledBitmap(4, 4, kWhite);
  b.Canvas().Polygon(nullptr, 3);
  b.Canvas().Polygon(p, 0);
  EXPECT_EQ(PixelsOf(b, kWhite).size(), 16u);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Span fills of every length at every alignment: exactly the span's pixels, nothing beside it.
TEST(SpanFill, FillsExactlyTheSpanAtAnyLengthAndAlignment) {
  using TFill = void (*)(uint32_t*, size_t, uint32_t);
  const std::pair<const char*, TFill> fills[] = {
      {"widest", FillPixels32Wide},
      {"4 lanes", FillPixels32Lanes<4>},
      {"8 lanes", FillPixels32Lanes<8>},
      {"16 lanes", FillPixels32Lanes<16>}};
  std::vector<uint32_t> buf(200);
  for (const auto& [name, fill] : fills)
    for (size_t offset = 0; offset < 17; ++offset)
      for (size_t n = 0; n <= 70; ++n) {
        std::fill(buf.begin(), buf.end(), 0xDEADBEEF);
        fill(buf.data() + offset, n, 0x00123456);
        for (size_t i = 0; i < buf.size(); ++i)
          ASSERT_EQ(buf[i], i >= offset && i < offset + n ? 0x00123456u : 0xDEADBEEFu)
              << name << ", offset " << offset << ", length " << n << ", pixel " << i;
      }
}

}  // namespace
}  // namespace qv
