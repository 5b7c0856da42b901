// Frame synthesis: the fixed-point formulas, the blend, the field rows, the index map and the
// refusal of impossible requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "Morph.h"
#include "MorphError.h"
#include "ScriptedDialogs.h"
#include "Canvas.h"
#include "FastSynthesis.h"
#include "Synthesis.h"
#include "WorkerPool.h"

namespace qv {
namespace {

TEST(TriangleCoords, CornersAndDegenerateTriangles) {
  struct Case {
    TPoint p0, p1, p2, q;
    int32_t a, b;
  } cases[] = {
      {{10, 10}, {50, 10}, {10, 40}, {10, 10}, 0, 0},
      {{10, 10}, {50, 10}, {10, 40}, {50, 10}, 32768, 0},
      {{10, 10}, {50, 10}, {10, 40}, {10, 40}, 0, 32768},
      {{10, 10}, {50, 10}, {10, 40}, {30, 25}, 16384, 16384},  // e2.X = 0 branch
      {{0, 0}, {0, 30}, {40, 0}, {20, 15}, 16384, 16384},      // e1.X = 0 branch
      {{0, 0}, {0, 30}, {0, 60}, {0, 15}, 0, 0},               // both edges vertical
      {{0, 0}, {0, 30}, {40, 0}, {0, 15}, 16384, 0},
      {{0, 0}, {40, 0}, {0, 0}, {20, 5}, 16384, 0},            // e2 = 0: B := 0
      {{0, 0}, {10, 10}, {20, 20}, {5, 5}, 0, 0},              // collinear: det = 0
      {{0, 0}, {30, 10}, {10, 30}, {20, 20}, 16384, 16384},    // general: det = 800
      {{0, 0}, {30, 10}, {10, 30}, {1, 0}, 1229, -409},        // rounding with the sign of d
  };
  for (const auto& c : cases) {
    int32_t A = -1, B = -1;
    TriangleCoords(c.p0, c.p1, c.p2, c.q, A, B);
    EXPECT_EQ(A, c.a) << c.q.X << "," << c.q.Y;
    EXPECT_EQ(B, c.b) << c.q.X << "," << c.q.Y;
  }
}

TEST(TrianglePoint, TruncatesTowardZero) {
  EXPECT_EQ(TrianglePoint({10, 10}, {50, 10}, {10, 40}, 16384, 16384), (TPoint{30, 25}));
  EXPECT_EQ(TrianglePoint({10, 10}, {13, 10}, {10, 13}, 16383, 0), (TPoint{11, 10}));
  EXPECT_EQ(TrianglePoint({10, 10}, {7, 10}, {10, 7}, 16383, 0), (TPoint{9, 10}))
      << "-1.49 truncates to -1";
  // Far-off corners neither overflow into undefined behaviour nor crash.
  TrianglePoint({INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}, {0, 0}, INT32_MAX, INT32_MIN);
  int32_t A, B;
  TriangleCoords({INT32_MIN, INT32_MIN}, {INT32_MAX, 0}, {0, INT32_MAX}, {5, 5}, A, B);
}

TEST(BlendPixel, FormulaRoundsDown) {
  EXPECT_EQ(BlendPixel(0x00FF8000, 0x00000080, 128), 0x007E3F40u);
  EXPECT_EQ(BlendPixel(0x00FFFFFF, 0x00FFFFFF, 0), 0x00FEFEFEu);
  EXPECT_EQ(BlendPixel(0x00010101, 0x00FFFFFF, 0), 0u);
  EXPECT_EQ(BlendPixel(0x00000000, 0x00FFFFFF, 255), 0x00FEFEFEu);
  EXPECT_EQ(BlendPixel(0xFF000000, 0xFF000000, 7), 0xFE000000u) << "fourth byte blends too";
}

TEST(BlendPixels, VectorPathEqualsTheFormulaForEveryWeightAndLength) {
  std::mt19937 rng(7);
  for (int len : {1, 3, 4, 5, 17, 64}) {
    std::vector<uint32_t> a(len), b(len), d(len);
    for (int i = 0; i < len; ++i) a[i] = rng(), b[i] = rng();
    for (int w = 0; w <= 255; ++w) {
      BlendPixels(a.data(), b.data(), d.data(), uint8_t(w), 1, len);
      for (int i = 0; i < len; ++i) ASSERT_EQ(d[i], BlendPixel(a[i], b[i], uint8_t(w)));
    }
  }
  uint32_t a = 100, b = 200, d = 0;
  BlendPixels(&a, &b, &d, uint8_t(MulDiv(50, 255, 100)), 1, 1);
  EXPECT_EQ(d, 149u);
}

// Frames large enough to be split across the pool: the same pixels on one and two threads, and
// nothing written past the end.
TEST(BlendPixels, SplitFramesEqualTheFormula) {
  std::mt19937 rng(11);
  const int32_t rows = 217, columns = 331;  // more pixels than one thread takes, no multiple of 16
  const size_t n = size_t(rows) * columns;
  std::vector<uint32_t> a(n), b(n);
  for (size_t i = 0; i < n; ++i) a[i] = rng(), b[i] = rng();
  for (int threads : {1, 2}) {
    SetSynthesisThreads(threads);
    std::vector<uint32_t> d(n + 1, 0xDEADBEEF);
    BlendPixels(a.data(), b.data(), d.data(), 77, rows, columns);
    for (size_t i = 0; i < n; ++i) ASSERT_EQ(d[i], BlendPixel(a[i], b[i], 77)) << i << ", " << threads;
    EXPECT_EQ(d[n], 0xDEADBEEFu);
  }
  SetSynthesisThreads(2);
}

// A morphing of W x H whose sources are filled directly: source 1 pixel = f1(x, y), etc.
class Synthesis : public ::testing::Test {
 protected:
  static constexpr int W = 40, H = 30;
  void SetUp() override {
    m.NewProject("", W, H);
    m.SetMorphMode(mm_Points);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        m.Source1().SourcePix()[(H - 1 - y) * W + x] = Pix1(x, y);
        m.Source2().SourcePix()[(H - 1 - y) * W + x] = Pix2(x, y);
      }
  }
  static uint32_t Pix1(int x, int y) { return uint32_t(x * 5) << 16 | uint32_t(y * 7) << 8 | 9; }
  static uint32_t Pix2(int x, int y) { return uint32_t(200 - x) << 16 | uint32_t(y) << 8 | 250; }
  uint32_t At(int x, int y) { return m.TargetBmp().Pixels32()[(H - 1 - y) * W + x]; }
  void PaintTarget(uint32_t v) {
    for (int i = 0; i < W * H; ++i) m.TargetBmp().Pixels32()[i] = v;
  }
  void Frame(int nomi, int denom, TOddEvenBoth oe = oe_both, bool bg = false) {
    m.MakeFramesInit();
    m.UpdateTargetAngles(nomi, denom);
    m.UpdateTargetPict();
    m.Make1Frame(nomi, denom, oe, bg);
  }
  TScriptedDialogs dialogs;
  TMorphing m;
};

TEST_F(Synthesis, UpdateTargetAnglesRoundsHalvesUp) {
  m.AddPoint(m.Source1(), {10, 11});
  ASSERT_TRUE(m.Source2().setPointData(4, {13, 20}, false));
  m.UpdateTargetAngles(1, 2);
  EXPECT_EQ(m.TargetAngles()[4], (TPoint{12, 16}));  // 11.5 -> 12, 15.5 -> 16
  m.UpdateTargetAngles(0, 7);
  EXPECT_EQ(m.TargetAngles()[4], (TPoint{10, 11}));
  m.UpdateTargetAngles(7, 7);
  EXPECT_EQ(m.TargetAngles()[4], (TPoint{13, 20}));
}

TEST_F(Synthesis, WithoutTrianglesEveryPixelKeepsItsContent) {
  PaintTarget(0x00123456);
  Frame(1, 2, oe_both, true);  // no background prepared: nothing is cleared
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) ASSERT_EQ(At(x, y), 0x00123456u);
}

TEST_F(Synthesis, IdentityGeometryBlendsTheSamePixelOfBothSources) {
  m.AppendTriangle({0, 1, 2});
  m.AppendTriangle({0, 2, 3});
  for (int nomi : {0, 1, 2}) {
    Frame(nomi, 2);
    const uint8_t w = uint8_t(MulDiv(nomi, 255, 2));
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        // With equal points in both sources the mapping is the identity up to one pixel of
        // truncation; corners map exactly.
        const uint32_t v = At(x, y);
        bool found = false;
        for (int dy = -1; dy <= 0 && !found; ++dy)
          for (int dx = -1; dx <= 0 && !found; ++dx) {
            const int sx = std::max(0, x + dx), sy = std::max(0, y + dy);
            found = v == BlendPixel(Pix1(sx, sy), Pix2(sx, sy), w);
          }
        ASSERT_TRUE(found) << x << "," << y << " at " << nomi;
      }
    EXPECT_EQ(At(0, 0), BlendPixel(Pix1(0, 0), Pix2(0, 0), w));
    EXPECT_EQ(At(W - 1, H - 1), BlendPixel(Pix1(W - 1, H - 1), Pix2(W - 1, H - 1), w));
  }
}

TEST_F(Synthesis, FramePixelsFollowTheFormulas) {
  m.AddPoint(m.Source1(), {20, 15});
  ASSERT_TRUE(m.Source2().setPointData(4, {26, 10}, false));
  for (TTrianglePerIndex t : {TTrianglePerIndex{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}})
    m.AppendTriangle(t);
  Frame(3, 8);
  const TAngleArray& ta = m.TargetAngles();
  int checked = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const uint32_t v = SwapRedBlue(m.TriangleIndexes()[(H - 1 - y) * W + x]);
      ASSERT_GE(v, 1u) << "the net covers the frame";
      const auto& t = m.Triangles()[v - 1];
      TTriangle tt{ta[t[0]], ta[t[1]], ta[t[2]]};
      int32_t A, B;
      TriangleCoords(tt, {x, y}, A, B);
      auto src = [&](const TMorphSource& s) {
        TTriangle st{s.Angles()[t[0]], s.Angles()[t[1]], s.Angles()[t[2]]};
        TPoint p = TrianglePoint(st, A, B);
        p.X = std::clamp(p.X, 0, W - 1);
        p.Y = std::clamp(p.Y, 0, H - 1);
        return s.SourcePix()[(H - 1 - p.Y) * W + p.X];
      };
      ASSERT_EQ(At(x, y), BlendPixel(src(m.Source1()), src(m.Source2()), uint8_t(MulDiv(3, 255, 8))));
      ++checked;
    }
  EXPECT_EQ(checked, W * H);
}

TEST_F(Synthesis, FieldsComputeEveryOtherRow) {
  m.AppendTriangle({0, 1, 2});
  m.AppendTriangle({0, 2, 3});
  const uint32_t mark = 0x00ABCDEF;
  for (TOddEvenBoth oe : {oe_even, oe_odd}) {
    PaintTarget(mark);
    Frame(1, 2, oe);
    for (int y = 0; y < H; ++y) {
      const bool computed = (y % 2 == 1) == (oe == oe_odd);
      EXPECT_EQ(At(5, y) != mark, computed) << "row " << y;
    }
  }
}

TEST_F(Synthesis, IndexValuesBeyondTheTriangleCountAreUncovered) {
  m.AppendTriangle({0, 1, 2});
  m.AppendTriangle({0, 2, 3});
  m.MakeFramesInit();
  m.UpdateTargetAngles(0, 1);
  m.UpdateTargetPict();
  m.DeleteTriangle(1);  // the map still holds triangle 2
  m.MakeFramesInit();
  PaintTarget(0x00010203);
  m.Make1Frame(0, 1, oe_both, false);
  EXPECT_EQ(At(1, H - 2), 0x00010203u) << "below the diagonal: the deleted triangle";
  EXPECT_NE(At(W - 2, 1), 0x00010203u);
}

TEST_F(Synthesis, RefusesDenomZeroAndMissingBuffersBeforeAnyPixelChanges) {
  m.AppendTriangle({0, 1, 2});
  m.MakeFramesInit();
  EXPECT_THROW(m.UpdateTargetAngles(1, 0), EMorphError);
  m.UpdateTargetAngles(1, 2);
  m.UpdateTargetPict();
  PaintTarget(0x00111111);
  EXPECT_THROW(m.Make1Frame(1, 0, oe_both, true), EMorphError);
  EXPECT_EQ(At(3, 3), 0x00111111u);
  m.FreePixBuffers();
  EXPECT_THROW(m.Make1Frame(1, 2, oe_both, true), EMorphError);
  EXPECT_THROW(m.BlendFrame(1, 2), EMorphError);
}

TEST_F(Synthesis, DiagonalOfTwoTrianglesBelongsToTheLaterOne) {
  TMorphing sq;
  sq.NewProject("", 20, 20);
  sq.SetMorphMode(mm_Points);
  sq.AppendTriangle({0, 1, 2});
  sq.AppendTriangle({0, 2, 3});
  sq.UpdateTargetAngles(0, 1);
  sq.UpdateTargetPict();
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(SwapRedBlue(sq.TriangleIndexes()[(19 - i) * 20 + i]), 2u) << i;
}

TEST_F(Synthesis, BlendFrameCrossDissolvesTheWholeBuffers) {
  m.BlendFrame(50, 100);
  EXPECT_EQ(At(7, 3), BlendPixel(Pix1(7, 3), Pix2(7, 3), 128));
  m.BlendFrame(0, 100);
  EXPECT_EQ(At(0, 0), BlendPixel(Pix1(0, 0), Pix2(0, 0), 0));
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Every vector level this processor has, each compared with the plain formulas.
std::vector<TVectorLevel> LevelsOfThisMachine() {
  std::vector<TVectorLevel> levels;
  LimitSynthesisVectorLevel(vl_Avx512);
  for (int l = vl_None; l <= SynthesisVectorLevel(); ++l) levels.push_back(TVectorLevel(l));
  return levels;
}

// Runs the fast path at each level and expects the plain result every time.
void ExpectEveryLevelEqualsPlain(TSynthesisFrame f, TOddEvenBoth oe, uint32_t* fast,
                                 uint32_t* plain, size_t n, const std::string& what) {
  f.Target = plain;
  SynthesizeFramePlain(f, oe);
  for (TVectorLevel level : LevelsOfThisMachine()) {
    std::fill(fast, fast + n, 0x00ABCDEF);
    LimitSynthesisVectorLevel(level);
    f.Target = fast;
    SynthesizeFrame(f, oe);
    LimitSynthesisVectorLevel(vl_Avx512);
    ASSERT_TRUE(std::equal(fast, fast + n, plain)) << what << ", level " << level;
  }
}

// The fast path against the plain formulas: random nets of every shape (tiny, huge, degenerate,
// vertical edges, corners far outside the frame) and index maps that assign pixels anywhere.
TEST(FastSynthesis, EqualsThePlainFormulasBitForBit) {
  std::mt19937 rng(2024);
  for (int scene = 0; scene < 60; ++scene) {
    const int32_t W = 1 + rng() % 97, H = 1 + rng() % 61;
    const size_t n = 1 + rng() % 12;
    auto coord = [&](int32_t size) -> int32_t {
      switch (rng() % 6) {
        case 0: return int32_t(rng() % 5) - 2;                          // near the origin
        case 1: return size - 1 + int32_t(rng() % 5) - 2;               // near the far border
        case 2: return int32_t(rng() % 400000) - 200000;                // far outside
        case 3: return int32_t(rng()) / 2;                              // anywhere
        default: return int32_t(rng() % uint32_t(size + 20)) - 10;     // in and around
      }
    };
    std::vector<TTriangle> tt(n), t1(n), t2(n);
    for (size_t k = 0; k < n; ++k) {
      for (auto* t : {&tt[k], &t1[k], &t2[k]})
        for (TPoint& p : *t) p = TPoint{coord(W), coord(H)};
      switch (rng() % 8) {  // vertical edges, also of no length
        case 0: tt[k][1].X = tt[k][0].X; break;
        case 1: tt[k][2].X = tt[k][0].X; break;
        case 2: tt[k][1] = tt[k][0]; break;
        case 3: tt[k][2].X = tt[k][1].X = tt[k][0].X; break;
        default: break;
      }
      if (rng() % 6 == 0) {  // three corners on one line (wrapping to 32 bits if need be)
        auto beyond = [](int32_t a, int32_t b) { return int32_t(int64_t(a) + 2 * (int64_t(b) - a)); };
        tt[k][2] = TPoint{beyond(tt[k][0].X, tt[k][1].X), beyond(tt[k][0].Y, tt[k][1].Y)};
      }
    }
    std::vector<uint32_t> idx(size_t(W) * H), s1(idx.size()), s2(idx.size());
    for (auto& v : idx) v = SwapRedBlue(uint32_t(rng() % (n + 3)));  // some beyond the count
    for (auto& v : s1) v = rng() & 0x00FFFFFF;
    for (auto& v : s2) v = rng() & 0x00FFFFFF;
    for (TOddEvenBoth oe : {oe_both, oe_even, oe_odd}) {
      std::vector<uint32_t> fast(idx.size(), 0x00ABCDEF), plain(idx.size(), 0x00ABCDEF);
      TSynthesisFrame f;
      f.Index = idx.data();
      f.Src1 = s1.data();
      f.Src2 = s2.data();
      f.W = W;
      f.H = H;
      f.TriTarget = tt.data();
      f.Tri1 = t1.data();
      f.Tri2 = t2.data();
      f.Count = n;
      f.Weight = uint8_t(rng());
      ExpectEveryLevelEqualsPlain(f, oe, fast.data(), plain.data(), idx.size(),
                                  "scene " + std::to_string(scene));
    }
  }
}

// Triangles with a vertical edge (the first or the second, pointing up or down, with the other
// edge to the left or right, or of no length) over a whole frame assigned to them.
TEST(FastSynthesis, VerticalEdgesEqualThePlainFormulas) {
  const int32_t W = 83, H = 47;
  const std::vector<TTriangle> shapes = {
      {{{10, 5}, {10, 40}, {60, 20}}},  {{{10, 40}, {10, 5}, {60, 20}}},
      {{{70, 5}, {70, 40}, {3, 30}}},   {{{70, 40}, {70, 2}, {-20, 30}}},
      {{{10, 5}, {60, 20}, {10, 40}}},  {{{10, 40}, {60, 20}, {10, 5}}},
      {{{70, 5}, {3, 30}, {70, 40}}},   {{{70, 40}, {-20, 30}, {70, 2}}},
      {{{30, 20}, {30, 20}, {50, 30}}}, {{{30, 20}, {50, 30}, {30, 20}}},
      {{{0, 0}, {0, 46}, {82, 46}}},    {{{82, 0}, {1, 46}, {82, 46}}},
  };
  std::mt19937 rng(7);
  std::vector<uint32_t> idx(size_t(W) * H, SwapRedBlue(1)), s1(idx.size()), s2(idx.size());
  for (auto& v : s1) v = rng() & 0x00FFFFFF;
  for (auto& v : s2) v = rng() & 0x00FFFFFF;
  const TTriangle m1{{{0, 0}, {82, 3}, {5, 46}}}, m2{{{80, 40}, {2, 44}, {41, 0}}};
  for (size_t k = 0; k < shapes.size(); ++k) {
    std::vector<uint32_t> fast(idx.size()), plain(idx.size());
    TSynthesisFrame f{idx.data(), s1.data(), s2.data(), fast.data(), W, H,
                      &shapes[k], &m1, &m2, 1, 100};
    ExpectEveryLevelEqualsPlain(f, oe_both, fast.data(), plain.data(), idx.size(),
                                "shape " + std::to_string(k));
  }
}

// Triangles whose pixels map into the source frames, or partly beyond them (then clamped to the
// border), with the index map giving each triangle the box of its corners.
TEST(FastSynthesis, MappingsNearAndBeyondTheSourceBorders) {
  const int32_t W = 64, H = 48;
  const TTriangle target{{{10, 8}, {50, 12}, {20, 40}}};
  const std::vector<TTriangle> sources = {
      {{{10, 8}, {50, 12}, {20, 40}}},   {{{0, 0}, {63, 0}, {0, 47}}},
      {{{-5, 8}, {50, 12}, {20, 40}}},   {{{10, 8}, {70, 12}, {20, 40}}},
      {{{10, -3}, {50, 12}, {20, 55}}},  {{{63, 47}, {0, 47}, {63, 0}}},
  };
  std::mt19937 rng(5);
  std::vector<uint32_t> idx(size_t(W) * H, 0), s1(idx.size()), s2(idx.size());
  for (int32_t y = 8; y <= 40; ++y)
    for (int32_t x = 10; x <= 50; ++x) idx[size_t(H - 1 - y) * W + x] = SwapRedBlue(1);
  for (auto& v : s1) v = rng() & 0x00FFFFFF;
  for (auto& v : s2) v = rng() & 0x00FFFFFF;
  for (size_t a = 0; a < sources.size(); ++a)
    for (size_t b = 0; b < sources.size(); ++b) {
      std::vector<uint32_t> fast(idx.size()), plain(idx.size(), 0x00ABCDEF);  // as the helper fills
      TSynthesisFrame f{idx.data(), s1.data(), s2.data(), fast.data(), W, H,
                        &target,    &sources[a], &sources[b], 1, 200};
      ExpectEveryLevelEqualsPlain(f, oe_both, fast.data(), plain.data(), idx.size(),
                                  "sources " + std::to_string(a) + ", " + std::to_string(b));
    }
}

// Source points picked from two loaded stretches of rows, or gathered where they lie farther
// apart: a frame-filling triangle mapped at several scales, mirrored, turned a little (two rows
// a group) and steeply (many rows), in frames as narrow as the stretch and a little wider.
TEST(FastSynthesis, SourceStretchesAtTheirLimits) {
  std::mt19937 rng(11);
  for (const int32_t W : {31, 32, 33, 70}) {
    const int32_t H = 40;
    std::vector<uint32_t> idx(size_t(W) * H, SwapRedBlue(1)), s1(idx.size()), s2(idx.size());
    for (auto& v : s1) v = rng() & 0x00FFFFFF;
    for (auto& v : s2) v = rng() & 0x00FFFFFF;
    const TTriangle target{{{0, 0}, {W - 1, 0}, {0, H - 1}}};
    const std::vector<TTriangle> sources = {
        target,                                           // the same place
        {{{0, 0}, {(W - 1) * 9 / 5, 0}, {0, H - 1}}},     // nearly twice as wide
        {{{0, 0}, {(W - 1) * 2 + 3, 0}, {0, H - 1}}},     // more than twice: gathered
        {{{W - 1, 0}, {0, 0}, {W - 1, H - 1}}},           // mirrored
        {{{0, 0}, {(W - 1) * 28 / 15, 0}, {0, H - 1}}},   // 16 pixels over 29 columns
        {{{0, 0}, {(W - 1) * 31 / 16, 1}, {0, H - 1}}},
        {{{0, 0}, {W - 1, 3}, {0, H - 1}}},               // turned a little
        {{{0, 0}, {W - 1, (W - 1) / 7}, {0, H - 1}}},     // three rows a group
        {{{0, 0}, {W - 1, (W - 1) * 2 / 15}, {0, H - 1}}},
        {{{0, H - 1}, {W - 1, 0}, {0, 0}}},               // upside down and turned steeply
        {{{2, 5}, {W - 3, H - 2}, {-4, H + 3}}},          // sheared, partly beyond the frame
    };
    for (size_t a = 0; a < sources.size(); ++a) {
      std::vector<uint32_t> fast(idx.size()), plain(idx.size());
      TSynthesisFrame f{idx.data(), s1.data(), s2.data(), fast.data(), W, H,
                        &target,    &sources[a], &sources[(a + 3) % sources.size()], 1, 90};
      ExpectEveryLevelEqualsPlain(f, oe_both, fast.data(), plain.data(), idx.size(),
                                  "width " + std::to_string(W) + ", source " + std::to_string(a));
    }
  }
}

// Realistic nets of many small triangles, where nearly every pixel takes the vector path, on
// one and on two threads.
TEST(FastSynthesis, GridNetsOnOneAndTwoThreads) {
  std::mt19937 rng(99);
  const int32_t W = 331, H = 217;
  for (int threads : {1, 2}) {
    SetSynthesisThreads(threads);
    std::vector<TTriangle> tt, t1, t2;
    std::vector<uint32_t> idx(size_t(W) * H), s1(idx.size()), s2(idx.size());
    for (auto& v : s1) v = rng() & 0x00FFFFFF;
    for (auto& v : s2) v = rng() & 0x00FFFFFF;
    const int cell = 13;
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) {
        const int32_t cx = x / cell, cy = y / cell;
        const uint32_t k = uint32_t((cy * (W / cell + 1) + cx) * 2 + ((x % cell) > (y % cell)));
        idx[size_t(H - 1 - y) * W + x] = SwapRedBlue(k + 1);
      }
    const size_t n = size_t((H / cell + 1) * (W / cell + 1) * 2);
    auto jitter = [&](int32_t v) { return v + int32_t(rng() % 7) - 3; };
    for (size_t k = 0; k < n; ++k) {
      const int32_t c = int32_t(k / 2), cx = c % (W / cell + 1), cy = c / (W / cell + 1);
      const TPoint a{cx * cell, cy * cell}, b{cx * cell + cell, cy * cell + cell};
      const TPoint o = (k % 2) ? TPoint{b.X, a.Y} : TPoint{a.X, b.Y};
      TTriangle base{a, o, b};
      tt.push_back(base);
      TTriangle j1, j2;
      for (int i = 0; i < 3; ++i) {
        j1[i] = {jitter(base[i].X), jitter(base[i].Y)};
        j2[i] = {jitter(base[i].X), jitter(base[i].Y)};
      }
      for (int i = 0; i < 3; ++i) tt.back()[i] = {jitter(base[i].X), jitter(base[i].Y)};
      t1.push_back(j1);
      t2.push_back(j2);
    }
    std::vector<uint32_t> fast(idx.size()), plain(idx.size());
    TSynthesisFrame f{idx.data(), s1.data(), s2.data(), fast.data(), W, H,
                      tt.data(),  t1.data(), t2.data(), n,           77};
    ExpectEveryLevelEqualsPlain(f, oe_both, fast.data(), plain.data(), idx.size(),
                                std::to_string(threads) + " threads");
  }
  SetSynthesisThreads(2);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// The index map drawn in bands on the pool equals the one the canvas draws.
TEST(IndexMap, EqualsTheCanvasDrawing) {
  TScriptedDialogs dialogs;
  std::mt19937 rng(5);
  for (int threads : {1, 2}) {
    SetSynthesisThreads(threads);
    for (int scene = 0; scene < 20; ++scene) {
      // A few scenes of several bands of rows: triangles go on from band to band.
      const int32_t W = 1 + rng() % 150, H = 1 + rng() % (scene < 4 ? 300 : 90);
      TMorphing m;
      m.NewProject("", W, H);
      m.SetMorphMode(mm_Points);
      for (int i = 0; i < 12; ++i)
        m.AddPoint(m.Source1(), {int32_t(rng() % (W + 40)) - 20, int32_t(rng() % (H + 40)) - 20});
      // Far corners: long edges that enter the map from far outside.
      if (scene % 5 == 1) m.AddPoint(m.Source1(), {-(1 << 30) + int32_t(rng() % 1000), int32_t(rng() % 5000)});
      if (scene % 5 == 2) m.AddPoint(m.Source1(), {int32_t(rng() % 3000), (1 << 30) - int32_t(rng() % 1000)});
      for (int k = 0; k < 15; ++k)
        m.AppendTriangle({int32_t(rng() % 16), int32_t(rng() % 16), int32_t(rng() % 16)});
      m.UpdateTargetAngles(1, 3);
      m.UpdateTargetPict();
      std::vector<uint32_t> fast(m.TriangleIndexes(), m.TriangleIndexes() + W * H);
      TBitmap raster(pf32bit);
      raster.SetSize(W, H);
      for (size_t k = 0; k < m.Triangles().size(); ++k) {
        raster.Canvas().SetBrushColor(TColor(k + 1));
        raster.Canvas().SetPenColor(TColor(k + 1));
        TTriangle t;
        TMorphing::GetAnglePoints(t, m.Triangles()[k], m.TargetAngles());
        raster.Canvas().Polygon(t.data(), 3);
      }
      std::vector<uint32_t> canvas(size_t(W) * H);
      raster.ReadPixels32(canvas.data());
      ASSERT_EQ(fast, canvas) << "scene " << scene << ", " << threads << " threads";
    }
  }
  SetSynthesisThreads(2);
}

}  // namespace
}  // namespace qv
