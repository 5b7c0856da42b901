// Triangle geometry: the side of a line, the inclusive point-in-triangle test, the triangle
// masks of the sources and the proposal of a triangle from the points nearest to the mouse.
#include <gtest/gtest.h>

#include "Morph.h"
#include "ScriptedDialogs.h"
#include "TriangleGeometry.h"

namespace qv {
namespace {

TEST(LineSide, VerticalLinesAndTheRoundedLineY) {
  struct Case {
    TPoint p, a, b;
    int32_t side;
  } cases[] = {
      {{5, 0}, {4, 10}, {4, 20}, 1},  // vertical: by X alone
      {{4, 99}, {4, 10}, {4, 20}, 0},
      {{3, -7}, {4, 10}, {4, 20}, -1},
      {{1, 1}, {0, 0}, {2, 1}, 0},     // line Y 0.5 rounds to 1
      {{-1, -1}, {0, 0}, {2, 1}, 0},   // -0.5 rounds away from zero to -1
      {{-1, 0}, {0, 0}, {2, 1}, 1},
      {{3, 1}, {0, 0}, {2, 1}, -1},    // 1.5 -> 2
      {{3, 2}, {0, 0}, {2, 1}, 0},
      {{10, 5}, {20, 5}, {0, 5}, 0},   // horizontal, B left of A
      {{10, 4}, {20, 5}, {0, 5}, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LineSide(c.p, c.a, c.b), c.side)
        << "P " << c.p.X << "," << c.p.Y << " A " << c.a.X << "," << c.a.Y;
  // Far-off points neither overflow nor crash.
  LineSide({INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN});
}

TEST(PointInTriangle, CornersInsideEdgesOutside) {
  const TTriangle t{TPoint{0, 0}, TPoint{10, 0}, TPoint{0, 10}};
  struct Case {
    TPoint q;
    bool inside;
  } cases[] = {
      {{0, 0}, true},   {{10, 0}, true}, {{0, 10}, true},  // corners
      {{2, 2}, true},   {{4, 5}, true},                     // interior
      {{5, 0}, false},                                      // horizontal edge
      {{0, 5}, false},                                      // vertical edge
      {{5, 5}, false},                                      // slanted edge
      {{6, 6}, false},  {{-1, 1}, false}, {{11, 0}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PointInTriangle(c.q, t), c.inside) << c.q.X << "," << c.q.Y;

  // Corners on one line: every test compares side 0 with the point's side.
  const TTriangle line{TPoint{0, 0}, TPoint{10, 10}, TPoint{20, 20}};
  EXPECT_TRUE(PointInTriangle({5, 5}, line));
  EXPECT_TRUE(PointInTriangle({30, 30}, line));
  EXPECT_FALSE(PointInTriangle({5, 6}, line));
}

// A morphing whose points are set in source 1 only (source 2 mirrors them).
class TriangleGeometry : public ::testing::Test {
 protected:
  void Make(int32_t w, int32_t h) {
    m.NewProject("", w, h);
    m.SetMorphMode(mm_Points);
  }
  void Add(TPoint p) { m.AddPoint(m.Source1(), p); }
  TScriptedDialogs dialogs;
  TMorphing m;
};

TEST_F(TriangleGeometry, FourCornersGiveTheNearestThreeInDistanceOrder) {
  Make(200, 100);
  TTrianglePerIndex t{-9, -9, -9};
  ASSERT_TRUE(m.Source1().FindOptimalTriangle({100, 50}, t));
  // Distances 12202 (point 2), 12301 (1), 12401 (3), 12500 (0).
  EXPECT_EQ(t, (TTrianglePerIndex{2, 1, 3}));
}

TEST_F(TriangleGeometry, EqualDistancesKeepIndexOrderAndEdgesAreOutside) {
  Make(200, 100);
  for (TPoint p : {TPoint{90, 50}, TPoint{110, 50}, TPoint{100, 40}, TPoint{100, 60}}) Add(p);
  TTrianglePerIndex t{};
  ASSERT_TRUE(m.Source1().FindOptimalTriangle({100, 50}, t));
  // Candidates 4, 5, 6, 7 (distance 100 each, in index order), then the corners 2, 1, 3, 0.
  // Every triple with 4 and 5 has the mouse on its horizontal edge, (4, 6, 7) on its vertical
  // edge; (4, 6, 2) is the first that contains it.
  EXPECT_EQ(t, (TTrianglePerIndex{4, 6, 2}));
}

TEST_F(TriangleGeometry, MouseOnAPointTakesItWithItsTwoNearestNeighbours) {
  Make(200, 100);
  for (TPoint p : {TPoint{60, 30}, TPoint{70, 32}, TPoint{64, 45}, TPoint{150, 80}}) Add(p);
  TTrianglePerIndex t{};
  ASSERT_TRUE(m.Source1().FindOptimalTriangle({70, 32}, t));
  EXPECT_EQ(t, (TTrianglePerIndex{5, 4, 6}));
}

TEST_F(TriangleGeometry, OnlyTheTwentyFiveNearestPointsAreCandidates) {
  Make(400, 400);
  const TPoint mouse{200, 200};
  // 25 points above the mouse, within 90 pixels: no triangle of them contains it.
  for (int k = 0; k < 25; ++k) Add({200 + (k - 12) * 5, 150 - (k % 3) * 5});
  // The 26th nearest point lies below the mouse; the corners are farther still.
  Add({200, 300});
  TTrianglePerIndex t{};
  EXPECT_FALSE(m.Source1().FindOptimalTriangle(mouse, t));
  for (int32_t i : t) EXPECT_NE(i, 29) << "the 26th nearest never becomes a corner";

  // With one of the 25 gone, the point below is a candidate and closes a triangle.
  m.DeletePoint(4);
  ASSERT_TRUE(m.Source1().FindOptimalTriangle(mouse, t));
  EXPECT_EQ(t[2], 28);
  TTriangle corners;
  TMorphing::GetAnglePoints(corners, t, m.Source1().Angles());
  EXPECT_TRUE(PointInTriangle(mouse, corners));
}

TEST_F(TriangleGeometry, FewerThanThreePointsProposeNothing) {
  m.NewProject("", 50, 50);  // image-select mode: no corner points
  TTrianglePerIndex t{7, 8, 9};
  EXPECT_FALSE(m.Source1().FindOptimalTriangle({10, 10}, t));
  m.Source1().AddPoint({1, 1});
  m.Source1().AddPoint({40, 1});
  EXPECT_FALSE(m.Source1().FindOptimalTriangle({10, 10}, t));
  EXPECT_EQ(t, (TTrianglePerIndex{7, 8, 9})) << "not set";
}

TEST_F(TriangleGeometry, MasksNameTheLastTriangleOnAnEdgeAndAnswerMinusOneOutside) {
  Make(40, 30);
  m.AppendTriangle({0, 1, 2});
  m.AppendTriangle({0, 2, 3});
  m.UpdateTriangleMasks();
  const TMorphSource& s1 = m.Source1();
  struct Case {
    TPoint pt;
    int32_t index;
  } cases[] = {
      {{30, 5}, 0}, {{5, 25}, 1},
      {{0, 0}, 1},   {{39, 29}, 1}, {{20, 15}, 1},  // the shared diagonal
      {{39, 0}, 0},  {{0, 29}, 1},
      {{-1, 5}, -1}, {{40, 0}, -1}, {{0, 30}, -1}, {{5, -1}, -1}, {{INT32_MAX, INT32_MIN}, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(m.GetTriangleIndex(c.pt, s1.Angles(), s1), c.index) << c.pt.X << "," << c.pt.Y;

  // Each source has its own mask: moving a point of source 2 changes only its mask, and only
  // at the next update.
  m.DeleteTriangle(1);
  m.Source2().AddPoint({35, 25});
  m.Source1().AddPoint({35, 25});
  m.AppendTriangle({0, 1, 4});
  m.UpdateTriangleMasks();
  ASSERT_TRUE(m.Source2().setPointData(4, {5, 25}, false));
  EXPECT_EQ(m.GetTriangleIndex({5, 25}, m.Source2().Angles(), m.Source2()), -1)
      << "masks keep the points of the last update";
  m.UpdateTriangleMasks();
  EXPECT_EQ(m.GetTriangleIndex({5, 24}, m.Source2().Angles(), m.Source2()), 1);
  EXPECT_EQ(m.GetTriangleIndex({5, 24}, s1.Angles(), s1), -1);
}

TEST_F(TriangleGeometry, NoMaskOfTheCurrentSizeAnswersMinusOne) {
  Make(40, 30);
  m.AppendTriangle({0, 1, 2});
  m.UpdateTriangleMasks();
  m.setTargetImageSize(80, 60);  // a new, not yet updated mask
  const TMorphSource& s1 = m.Source1();
  // Before the next update the mask has the new size but no triangles yet.
  EXPECT_EQ(m.GetTriangleIndex({70, 5}, s1.Angles(), s1), -1);
  EXPECT_EQ(m.GetTriangleIndex({80, 30}, s1.Angles(), s1), -1);
  m.UpdateTriangleMasks();
  EXPECT_EQ(m.GetTriangleIndex({70, 5}, s1.Angles(), s1), 0);
  EXPECT_EQ(m.GetTriangleIndex({78, 2}, s1.Angles(), s1), 0);
  EXPECT_EQ(m.GetTriangleIndex({2, 57}, s1.Angles(), s1), -1);
}

}  // namespace
}  // namespace qv
