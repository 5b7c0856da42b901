// From two picture files on disk to the frame half-way: decoding, the image rectangles
// resampled to the target, the interpolated net and the cross-dissolve, checked against
// values worked out here from the rules for a few interior pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include "BmpFile.h"
#include "Morph.h"
#include "PictureTestSupport.h"
#include "ScriptedDialogs.h"

namespace qv::test {
namespace {

constexpr int32_t W = 40, H = 30;

// The start picture, 80 x 60 (twice the frame), and the end picture, 40 x 30.
TColor Start(int32_t x, int32_t y) { return RGB(uint8_t(x * 3), uint8_t(y * 4), 50); }
TColor End(int32_t x, int32_t y) {
  return RGB(uint8_t(200 - x * 2), uint8_t(100 + y), uint8_t(x * 7));
}

// R(n, d) of the fixed-point solve: both divisions truncate toward zero.
int64_t RoundedQuotient(int64_t n, int64_t d) { return (n + d / 2) / d; }

// Where pixel q of the target triangle t lies in the source triangle s (neither edge from the
// first corner vertical, q no corner).
TPoint MapPixel(const TTriangle& t, const TTriangle& s, TPoint q) {
  const int64_t e1x = t[1].X - t[0].X, e1y = t[1].Y - t[0].Y;
  const int64_t e2x = t[2].X - t[0].X, e2y = t[2].Y - t[0].Y;
  const int64_t px = q.X - t[0].X, py = q.Y - t[0].Y;
  const int64_t det = e1x * e2y - e2x * e1y;
  const int64_t a = RoundedQuotient((px * e2y - py * e2x) * 32768, det);
  const int64_t b = RoundedQuotient((px * e1y - py * e1x) * 32768, -det);
  auto along = [&](int32_t s0, int32_t s1, int32_t s2) {
    return int32_t(s0 + ((int64_t(s1) - s0) * a + (int64_t(s2) - s0) * b) / 32768);
  };
  TPoint r{along(s[0].X, s[1].X, s[2].X), along(s[0].Y, s[1].Y, s[2].Y)};
  r.X = std::clamp(r.X, 0, W - 1);
  r.Y = std::clamp(r.Y, 0, H - 1);
  return r;
}

// The cross-dissolve of each colour byte at weight w.
TColor Dissolve(TColor a, TColor b, int w) {
  TColor r = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t x = (a >> shift) & 255, y = (b >> shift) & 255;
    r |= ((x * uint32_t(255 - w) + y * uint32_t(w)) >> 8) << shift;
  }
  return r;
}

class EndToEndFrame : public TPictureTest {};

TEST_F(EndToEndFrame, HalfWayFrameFromTwoPictureFiles) {
  TBitmap start(pf24bit);
  start.SetSize(2 * W, 2 * H);
  for (int32_t y = 0; y < 2 * H; ++y)
    for (int32_t x = 0; x < 2 * W; ++x) start.SetPixel(x, y, Start(x, y));
  const std::string startFile = Path("anfang.bmp");
  SaveBmpFile(startFile, start);
  std::vector<uint32_t> end;
  for (int32_t y = 0; y < H; ++y)
    for (int32_t x = 0; x < W; ++x) end.push_back(0xFF000000u | End(x, y));
  const std::string endFile = Write("ende.png", MakeRgbaPng(W, H, end));

  TScriptedDialogs dialogs;
  TMorphing m;
  m.NewProject("", W, H);
  m.SetMorphMode(mm_Points);  // the four corners
  m.Source1().SetSourceImageName(startFile);
  m.Source2().SetSourceImageName(endFile);
  ASSERT_TRUE(dialogs.Shown().empty());
  ASSERT_TRUE(m.Paintable());
  const TPoint c1{20, 15}, c2{24, 12};
  m.AddPoint(m.Source1(), c1);
  ASSERT_TRUE(m.Source2().setPointData(4, c2, false));
  const TTrianglePerIndex net[] = {{4, 0, 1}, {4, 1, 2}, {4, 2, 3}, {4, 3, 0}};
  for (const TTrianglePerIndex& t : net) m.AppendTriangle(t);

  m.MakeFramesInit();
  m.UpdateTargetAngles(1, 2);
  m.UpdateTargetPict();
  m.Make1Frame(1, 2, oe_both, true);

  // Half-way, rounded half up: (20 + 24 + 1) div 2, (15 + 12 + 1) div 2.
  const TPoint centre{22, 14};
  ASSERT_EQ(m.TargetAngles()[4], centre);
  const TPoint corners[] = {{0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}};
  const int w = 128;  // MulDiv(1, 255, 2): 127.5 rounds up
  // Source 1 is the start picture resampled to half its size: every second pixel.
  auto source1 = [](TPoint p) { return Start(2 * p.X, 2 * p.Y); };

  struct Case {
    TPoint q;
    int triangle;
  } cases[] = {
      {{22, 4}, 0}, {{18, 6}, 0}, {{34, 14}, 1}, {{30, 12}, 1},
      {{20, 25}, 2}, {{26, 22}, 2}, {{6, 15}, 3}, {{10, 14}, 3},
  };
  for (const Case& c : cases) {
    const TTrianglePerIndex& t = net[c.triangle];
    auto corner = [&](int32_t i, TPoint pointFour) { return i == 4 ? pointFour : corners[i]; };
    const TTriangle target{corner(t[0], centre), corner(t[1], centre), corner(t[2], centre)};
    const TTriangle s1{corner(t[0], c1), corner(t[1], c1), corner(t[2], c1)};
    const TTriangle s2{corner(t[0], c2), corner(t[1], c2), corner(t[2], c2)};
    const TColor expected =
        Dissolve(source1(MapPixel(target, s1, c.q)), End(MapPixel(target, s2, c.q).X,
                                                          MapPixel(target, s2, c.q).Y), w);
    EXPECT_EQ(m.TargetBmp().GetPixel(c.q.X, c.q.Y), expected) << c.q.X << "," << c.q.Y;
  }
  // The shared corner takes exactly the two moved points' pixels.
  EXPECT_EQ(m.TargetBmp().GetPixel(centre.X, centre.Y),
            Dissolve(source1(c1), End(c2.X, c2.Y), w));
}

}  // namespace
}  // namespace qv::test
