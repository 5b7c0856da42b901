// Overlays drawn on a real bitmap canvas: point markers with their colours, sizes and
// clamping, the grid of triangles with its hatch, the selected triangle, the colour-index
// raster and the scaling from target pixels to the pane.
#include <gtest/gtest.h>

#include "Canvas.h"
#include "Morph.h"
#include "Overlay.h"
#include "RasterSupport.h"
#include "ScriptedDialogs.h"

namespace qv::test {
namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kOutline = 0x0000AA;
constexpr TColor kSelected = 0xFFFF00;
constexpr TColor kFill = 0x00FFFF;
constexpr TColor kGrid = 0x00DDDD;
constexpr TColor kSelectedTriangle = 0xEEEE00;

// A 400 x 300 morphing with its four corners and point 4 at (101, 51), shown in a pane of
// 200 pixels (zoom 50 %).
class Overlay : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPointSize(3);
    m.NewProject("", 400, 300);
    m.SetMorphMode(mm_Points);
    m.AddPoint(m.Source1(), {101, 51});  // selected as the one point
  }
  void TearDown() override { SetPointSize(3); }
  const TAngleArray& Points() const { return m.Source1().Angles(); }
  TColor At(int32_t x, int32_t y) const { return pane.GetPixel(x, y); }

  TScriptedDialogs dialogs;
  TMorphing m;
  TBitmap pane = FilledBitmap(200, 160, kWhite);
};

TEST_F(Overlay, MarkersAreHollowSquaresWithADotKeptOnThePane) {
  m.DrawAnglePoints(pane.Canvas(), 200, Points(), false);
  struct Case {
    TPoint p;
    TColor c;
  } cases[] = {
      // Point 0 at (0, 0) is centred on (1, 1): square -2 .. 3, its right and bottom lines at 3.
      {{1, 1}, kOutline}, {{3, 1}, kOutline}, {{1, 3}, kOutline}, {{0, 3}, kOutline},
      {{2, 2}, kWhite},   {{0, 0}, kWhite},   {{2, 1}, kWhite},   {{4, 1}, kWhite},
      // Point 1 at (399, 0): 199.5 rounds to 200, kept on the last column.
      {{199, 1}, kOutline}, {{196, 1}, kOutline}, {{197, 1}, kWhite}, {{198, 2}, kWhite},
      // Point 2 at (399, 299): the last column and the pane's last row 149.
      {{199, 149}, kOutline}, {{197, 146}, kOutline}, {{198, 148}, kWhite},
      // Point 3 at (0, 299).
      {{1, 149}, kOutline}, {{3, 148}, kOutline},
      // Point 4 at (101, 51) -> (51, 26), selected: cyan.
      {{51, 26}, kSelected}, {{48, 26}, kSelected}, {{53, 26}, kSelected},
      {{51, 23}, kSelected}, {{51, 28}, kSelected}, {{52, 26}, kWhite},
      {{54, 26}, kWhite},    {{47, 26}, kWhite},    {{51, 29}, kWhite},
  };
  for (const Case& c : cases)
    EXPECT_EQ(At(c.p.X, c.p.Y), c.c) << c.p.X << "," << c.p.Y;
}

TEST_F(Overlay, FilledMarkersAndThePointSizes) {
  m.DrawAnglePoints(pane.Canvas(), 200, Points(), true);
  EXPECT_EQ(At(2, 2), kFill);
  EXPECT_EQ(At(52, 27), kFill) << "selected points are filled alike";
  EXPECT_EQ(At(51, 26), kSelected);

  struct Case {
    int32_t size;
    int32_t rightLine;  // of the marker at (1, 1)
  } cases[] = {{4, 4}, {2, 2}, {9, 2}};  // 9 is no size: the size stays 2
  for (const Case& c : cases) {
    SetPointSize(c.size);
    TBitmap p = FilledBitmap(200, 160, kWhite);
    m.DrawAnglePoints(p.Canvas(), 200, Points(), false);
    EXPECT_EQ(p.GetPixel(c.rightLine, 1), kOutline) << c.size;
    EXPECT_EQ(p.GetPixel(0, 0), kWhite) << c.size;
    EXPECT_EQ(p.GetPixel(c.rightLine + 1, 1), kWhite) << c.size;
  }
  EXPECT_EQ(PointSize(), 2);
}

TEST_F(Overlay, GridIsAnOutlineWithATransparentHatch) {
  m.AppendTriangle({0, 1, 3});  // (0, 0), (200, 0), (0, 150) in the pane
  m.DrawTriangles(pane.Canvas(), 200, 150, Points(), false, true);
  EXPECT_EQ(At(100, 0), kGrid);
  EXPECT_EQ(At(0, 75), kGrid);
  EXPECT_EQ(At(100, 75), kGrid) << "the slanted edge";
  EXPECT_EQ(At(50, 53), kGrid) << "a hatch line: (x + y) mod 8 = 7";
  EXPECT_EQ(At(50, 50), kWhite) << "between the hatch lines the picture shows";
  EXPECT_EQ(At(150, 140), kWhite) << "outside";
  // One selected point: no selected triangle is drawn.
  EXPECT_NE(At(100, 0), kSelectedTriangle);
}

TEST_F(Overlay, SelectedTriangleIsOutlinedOnTopAndItsCornersAreCyan) {
  m.AppendTriangle({0, 1, 3});
  m.AppendTriangle({1, 2, 3});
  m.Select3Points({0, 1, 3});
  m.DrawTriangles(pane.Canvas(), 200, 150, Points(), false, true);
  m.DrawAnglePoints(pane.Canvas(), 200, Points(), false);
  EXPECT_EQ(At(100, 150), kGrid) << "an edge of the other triangle only";
  EXPECT_EQ(At(50, 0), kSelectedTriangle);
  EXPECT_EQ(At(0, 75), kSelectedTriangle);
  EXPECT_EQ(At(100, 75), kSelectedTriangle) << "the shared edge, drawn last";
  EXPECT_EQ(At(50, 53), kGrid) << "the hatch stays inside";
  EXPECT_EQ(At(1, 1), kSelected);
  EXPECT_EQ(At(199, 1), kSelected);
  EXPECT_EQ(At(1, 149), kSelected);
  EXPECT_EQ(At(199, 149), kOutline) << "point 2 is not selected";
  EXPECT_EQ(At(51, 26), kOutline) << "point 4 no longer either";
}

TEST_F(Overlay, ColourIndexesPaintTriangleNumbersOnBlack) {
  m.AppendTriangle({0, 1, 3});
  m.AppendTriangle({1, 2, 3});
  m.DrawTriangles(pane.Canvas(), 200, 150, Points(), true, false);
  EXPECT_EQ(At(50, 50), 1u);
  EXPECT_EQ(At(150, 140), 2u);
  EXPECT_EQ(At(100, 75), 2u) << "the shared edge belongs to the later triangle";
  EXPECT_EQ(At(199, 149), 2u);
  EXPECT_EQ(At(100, 155), kWhite) << "only the pane's area is painted";
}

TEST_F(Overlay, IndexRasterIsStretchedOverThePane) {
  m.AppendTriangle({0, 1, 4});
  m.AppendTriangle({1, 2, 4});
  m.MakeFramesInit();
  m.UpdateTargetAngles(0, 1);
  m.UpdateTargetPict();
  m.DrawAngleIndexes(pane.Canvas(), 200);
  const TBitmap& raster = m.TargetRectIdxBmp();
  for (int32_t y = 0; y < 150; ++y)
    for (int32_t x = 0; x < 200; ++x)
      ASSERT_EQ(At(x, y), raster.GetPixel(2 * x, 2 * y)) << x << "," << y;
  for (int32_t x = 0; x < 200; ++x) ASSERT_EQ(At(x, 150), kWhite);
  EXPECT_EQ(At(150, 4), 1u);
  EXPECT_EQ(At(150, 10), 2u);
}

TEST(OverlayScale, CornersScaleByMulDiv) {
  const TAngleArray points{{0, 0}, {101, 51}, {399, 299}, {-3, 1}};
  TTriangle t;
  TMorphing::GetAnglePoints(t, {0, 1, 2}, points, 200, 400);
  EXPECT_EQ(t, (TTriangle{TPoint{0, 0}, TPoint{51, 26}, TPoint{200, 150}}));
  TMorphing::GetAnglePoints(t, {3, 2, 1}, points, 600, 400);
  EXPECT_EQ(t, (TTriangle{TPoint{-5, 2}, TPoint{599, 449}, TPoint{152, 77}}));
}

}  // namespace
}  // namespace qv::test
