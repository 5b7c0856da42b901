// The document operations: points, mirroring, deletion with renumbering, selection, modes and
// the status text.
#include <gtest/gtest.h>

#include "Morph.h"
#include "ScriptedDialogs.h"

namespace qv {
namespace {

class MorphDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    m.NewProject("", 400, 300);
    m.SetMorphMode(mm_Points);
  }
  TScriptedDialogs dialogs;
  TMorphing m;
};

TEST_F(MorphDocument, PointModeSeedsTheFourCornersInBothSources) {
  ASSERT_EQ(m.AngleCount(), 4);
  const TAngleArray corners{{0, 0}, {399, 0}, {399, 299}, {0, 299}};
  EXPECT_EQ(m.Source1().Angles(), corners);
  EXPECT_EQ(m.Source2().Angles(), corners);
  EXPECT_FALSE(m.Modified());
  // Leaving and entering again keeps the points.
  m.SetMorphMode(mm_Net);
  m.SetMorphMode(mm_Points);
  EXPECT_EQ(m.AngleCount(), 4);
}

TEST_F(MorphDocument, AddPointMirrorsFromTheNearestUserPoint) {
  m.AddPoint(m.Source1(), {50, 60});
  EXPECT_EQ(m.Source2().Angles()[4], (TPoint{50, 60})) << "only corners: same position";
  EXPECT_EQ(m.SelectedAngleCount(), 1);
  EXPECT_EQ(m.SelectedAngles()[0], 4);
  EXPECT_TRUE(m.Modified());

  TMorphing d;
  d.NewProject("", 400, 300);
  d.SetMorphMode(mm_Points);
  d.AddPoint(d.Source1(), {100, 100});
  ASSERT_TRUE(d.Source2().setPointData(4, {120, 90}, false));
  d.AddPoint(d.Source1(), {110, 105});
  EXPECT_EQ(d.Source2().Angles()[5], (TPoint{130, 95}));
  d.AddPoint(d.Source2(), {125, 95});
  EXPECT_EQ(d.Source1().Angles()[6], (TPoint{105, 105}));
}

TEST_F(MorphDocument, MirroredPartnerIsClampedButTheClickedPointIsNot) {
  m.AddPoint(m.Source1(), {10, 10});
  ASSERT_TRUE(m.Source2().setPointData(4, {0, 0}, false));
  m.AddPoint(m.Source1(), {5, 500});
  EXPECT_EQ(m.Source1().Angles()[5], (TPoint{5, 500}));
  EXPECT_EQ(m.Source2().Angles()[5], (TPoint{0, 299}));
}

TEST_F(MorphDocument, DeletePointRemovesItsTrianglesAndRenumbersTheRest) {
  for (int i = 0; i < 6; ++i) m.AddPoint(m.Source1(), {20 + 10 * i, 30 + 5 * i});
  ASSERT_EQ(m.AngleCount(), 10);
  m.AppendTriangle({5, 4, 6});
  m.AppendTriangle({2, 5, 7});
  m.AppendTriangle({1, 6, 9});
  const TPoint sixth = m.Source1().Angles()[6];
  m.DeletePoint(5);
  ASSERT_EQ(m.TriangleCount(), 1);
  EXPECT_EQ(m.Triangles()[0], (TTrianglePerIndex{1, 5, 8}));
  EXPECT_EQ(m.AngleCount(), 9);
  EXPECT_EQ(m.Source2().AngleCount(), 9);
  EXPECT_EQ(m.Source1().Angles()[5], sixth);
}

TEST_F(MorphDocument, SetPointDataProtectsCornersClampsAndDeletesFarOutside) {
  m.AddPoint(m.Source1(), {100, 100});
  EXPECT_FALSE(m.Source1().setPointData(2, {5, 5}, false));
  EXPECT_EQ(m.Source1().Angles()[2], (TPoint{399, 299}));
  m.SetModified(false);
  EXPECT_TRUE(m.Source1().setPointData(4, {400, 100}, false));
  EXPECT_EQ(m.Source1().Angles()[4], (TPoint{400, 100})) << "the upper bound is W, not W - 1";
  EXPECT_TRUE(m.Modified());
  EXPECT_TRUE(m.Source1().setPointData(4, {-50, 100}, true));
  EXPECT_EQ(m.Source1().Angles()[4], (TPoint{0, 100}));
  EXPECT_EQ(m.Source2().Angles()[4], (TPoint{100, 100})) << "the partner stays";
  EXPECT_TRUE(m.Source1().setPointData(4, {-51, 100}, true));
  EXPECT_EQ(m.AngleCount(), 4);
  EXPECT_EQ(m.Source2().AngleCount(), 4);
  EXPECT_FALSE(m.Source1().setPointData(7, {1, 1}, false)) << "no such point";
}

TEST_F(MorphDocument, PointIndexByCoordPrefersTheLatestPointInAClosedSquare) {
  m.AddPoint(m.Source1(), {100, 100});
  m.AddPoint(m.Source1(), {103, 100});
  EXPECT_EQ(m.Source1().PointIndexByCoord({104, 104}, 4), 5);
  EXPECT_EQ(m.Source1().PointIndexByCoord({96, 96}, 4), 4);
  EXPECT_EQ(m.Source1().PointIndexByCoord({95, 100}, 4), -1);
}

TEST_F(MorphDocument, ToggleSelectedTriangleDeletesAnEqualTriangleInAnyOrder) {
  for (int i = 0; i < 4; ++i) m.AddPoint(m.Source1(), {50 + 40 * i, 40 + 30 * (i % 2)});
  m.AppendTriangle({5, 3, 7});
  m.Select3Points({3, 7, 5});
  m.ToggleSelectedTriangle();
  EXPECT_EQ(m.TriangleCount(), 0);
  m.ToggleSelectedTriangle();
  ASSERT_EQ(m.TriangleCount(), 1);
  EXPECT_EQ(m.Triangles()[0], (TTrianglePerIndex{3, 7, 5}));
  EXPECT_EQ(m.SelectedAngleCount(), 3) << "the selection stays";
}

TEST_F(MorphDocument, AddSelectedPointAnswers) {
  for (int i = 0; i < 4; ++i) m.AddPoint(m.Source1(), {50 + 40 * i, 40 + 30 * (i % 2)});
  m.Select0Point();
  EXPECT_EQ(m.AddSelectedPoint(4), 1);
  EXPECT_EQ(m.AddSelectedPoint(5), 2);
  EXPECT_EQ(m.AddSelectedPoint(5), 1) << "already selected: collapses to it";
  EXPECT_EQ(m.SelectedAngleCount(), 1);
  EXPECT_EQ(m.AddSelectedPoint(6), 2);
  EXPECT_EQ(m.AddSelectedPoint(7), 0) << "third point of a new triangle";
  EXPECT_EQ(m.SelectedAngleCount(), 0);
  ASSERT_EQ(m.TriangleCount(), 1);
  EXPECT_EQ(m.Triangles()[0], (TTrianglePerIndex{5, 6, 7}));
  m.AddSelectedPoint(7);
  m.AddSelectedPoint(5);
  EXPECT_EQ(m.AddSelectedPoint(6), -2) << "third point of an existing triangle";
  EXPECT_EQ(m.TriangleCount(), 0);
  // Three hovered points plus a fourth: it replaces entry 2 before the toggle.
  m.Select3Points({4, 5, 6});
  EXPECT_EQ(m.AddSelectedPoint(7), 0);
  EXPECT_EQ(m.Triangles().back(), (TTrianglePerIndex{4, 5, 7}));
}

TEST_F(MorphDocument, StatusText) {
  m.SetFileName("/tmp/projects/a.qvp");
  EXPECT_EQ(m.GetStatusAsString(),
            "ausgewähte Punkte: 0  ()\rModus: Pointsetting\r4 Punkte, 0 Dreiecke");
  for (int i = 0; i < 8; ++i) m.AddPoint(m.Source1(), {10 + i, 20 + i});
  m.Select0Point();
  m.AddSelectedPoint(5);
  m.AddSelectedPoint(7);
  EXPECT_EQ(m.GetStatusAsString(),
            "ausgewähte Punkte: 2  (5,7)\rModus: Pointsetting\r12 Punkte, 0 Dreiecke");
}

TEST(MorphDocumentFolders, PicturesInSameDirComparesFoldersCaseBlindForAToZ) {
  TMorphing m;
  m.SetFileName("/home/u/Proj/a.qvp");
  m.Source1().ChangeSourceImageName("/home/u/PROJ/s.bmp");
  m.Source2().ChangeSourceImageName("/home/u/proj/e.bmp");
  EXPECT_TRUE(m.arePicturesInSameDir());
  m.BackGround().SetBgType(bg_Pict);
  m.BackGround().ChangeSourceImageName("/home/u/other/bg.bmp");
  EXPECT_FALSE(m.arePicturesInSameDir());
  m.BackGround().SetBgType(bg_Color);
  EXPECT_TRUE(m.arePicturesInSameDir());
  m.Source2().ChangeSourceImageName("/home/u/pröj/e.bmp");
  m.SetFileName("/home/u/PRÖJ/a.qvp");
  EXPECT_FALSE(m.arePicturesInSameDir()) << "only A-Z are folded";
  TMorphing bare;
  EXPECT_TRUE(bare.arePicturesInSameDir()) << "no folders at all";
  EXPECT_EQ(bare.Name(), "?");
}

TEST_F(MorphDocument, BackwardsTwiceRestoresTheSources) {
  m.AddPoint(m.Source1(), {10, 20});
  ASSERT_TRUE(m.Source2().setPointData(4, {30, 40}, false));
  const TAngleArray a1 = m.Source1().Angles(), a2 = m.Source2().Angles();
  m.SetModified(false);
  m.Backwards();
  EXPECT_EQ(m.Source1().Angles(), a2);
  EXPECT_TRUE(m.Modified());
  m.Backwards();
  EXPECT_EQ(m.Source1().Angles(), a1);
  EXPECT_EQ(m.Source2().Angles(), a2);
}

TEST_F(MorphDocument, PropertyWritesSetModifiedOnlyOnChangeExceptGridAndBackground) {
  m.SetModified(false);
  m.SetFramesMorph(100);
  m.SetInterlaceType(it_none);
  m.SetFramesPerSecond(25);
  m.SetOffset({0, 0});
  EXPECT_FALSE(m.Modified());
  m.SetGridColor(m.GridColor());
  EXPECT_TRUE(m.Modified());
  m.SetModified(false);
  m.SetwithBG(false);
  EXPECT_TRUE(m.Modified());
  m.SetModified(false);
  m.SetOffset({0, 1});
  EXPECT_TRUE(m.Modified());
}

TEST(MorphDefaults, NewDocument) {
  TMorphing m;
  EXPECT_EQ(m.GridColor(), 56797u);
  EXPECT_EQ(m.FramesPerSecond(), 25);
  EXPECT_EQ(m.FramesMorph(), 100);
  EXPECT_TRUE(m.ShowCompressDialog());
  EXPECT_TRUE(m.SmoothAtStart());
  EXPECT_TRUE(m.SmoothAtEnd());
  EXPECT_EQ(m.CurrentZoom(), 1000);
  EXPECT_EQ(m.MorphMode(), mm_ImgSel);
  EXPECT_FALSE(m.Modified());
  EXPECT_FALSE(m.Paintable());
  EXPECT_EQ(m.MType(), "Morphing");
}

TEST_F(MorphDocument, AtLeastOneTriangleAnswersForTheLastInit) {
  m.AppendTriangle({0, 1, 2});
  EXPECT_FALSE(m.atLeastOneTriange());
  m.MakeFramesInit();
  EXPECT_TRUE(m.atLeastOneTriange());
}

}  // namespace
}  // namespace qv
