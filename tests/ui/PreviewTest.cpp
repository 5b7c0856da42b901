#include <QKeyEvent>
#include <QSlider>
#include <QToolButton>

#include "EditorFixture.h"

namespace qv {
namespace {

using PreviewTest = EditorTest;

const char* const kNoTriangles = "Es sind noch keine Dreiecke gesetzt.";

size_t Infos(const TScriptedDialogs& d) {
  return d.Texts(TScriptedDialogs::TKind::Information).size();
}

TEST_F(PreviewTest, MorphPreviewWithoutTrianglesSaysSoOncePerNewPosition) {
  TForm1& f = ShownForm();
  PicturesMorphing(mm_Points);
  FDialogs.ClearShown();
  f.TrackBar1->setValue(51);
  EXPECT_EQ(FDialogs.Texts(TScriptedDialogs::TKind::Information),
            std::vector<std::string>{kNoTriangles});
  f.TrackBar1Change();  // the same position again
  EXPECT_EQ(Infos(FDialogs), 1u);
  f.TrackBar1->setValue(50);
  EXPECT_EQ(Infos(FDialogs), 2u);
  // The cross-dissolve needs no triangles.
  f.SpeedButtonBlend->click();
  f.TrackBar1->setValue(30);
  EXPECT_EQ(Infos(FDialogs), 2u);
}

TEST_F(PreviewTest, FirstChangeToPositionZeroShowsNoMessage) {
  TForm1& f = ShownForm();
  PicturesMorphing(mm_Points);
  FDialogs.ClearShown();
  f.TrackBar1->setValue(0);
  EXPECT_EQ(Infos(FDialogs), 0u);
}

TEST_F(PreviewTest, WithTrianglesPaintedTheBarRepaintsQuietly) {
  TForm1& f = ShownForm();
  TMorphing& m = PicturesMorphing(mm_Net);
  m.AppendTriangle({0, 1, 2});
  f.PaintBoxTarget->grab();  // a morph paint of the target runs MakeFramesInit
  EXPECT_TRUE(m.atLeastOneTriange());
  FDialogs.ClearShown();
  f.TrackBar1->setValue(70);
  EXPECT_EQ(Infos(FDialogs), 0u);
}

TEST_F(PreviewTest, LivePreviewShowsEveryFrameAndKeepsTheRange) {
  TForm1& f = ShownForm();
  TMorphing& m = PicturesMorphing(mm_ImgSel);
  m.AppendTriangle({0, 1, 2});
  m.AppendTriangle({0, 2, 3});
  m.SetFramesMorph(50);
  for (TInterlaceType it : {it_none, it_upperFirst, it_LowerFirst}) {
    m.SetInterlaceType(it);
    const int before = f.FramesShown();
    f.SpeedButtonCompute->click();
    EXPECT_EQ(f.FramesShown() - before, 51) << int(it);
    EXPECT_EQ(f.TrackBar1->maximum(), 50);
    EXPECT_EQ(f.TrackBar1->value(), 50);
    EXPECT_FALSE(f.Playing());
    EXPECT_TRUE(f.SpeedButtonCompute->isEnabled());
    EXPECT_FALSE(f.SpeedButtonPause->isEnabled());
  }
  EXPECT_TRUE(FDialogs.Shown().empty()) << FDialogs.Shown().front().Text;
}

TEST_F(PreviewTest, EscapeAndSpaceStopTheLivePreview) {
  TForm1& f = ShownForm();
  TMorphing& m = PicturesMorphing(mm_Points);
  m.AppendTriangle({0, 1, 2});
  m.SetFramesMorph(50);
  m.Select1Point(2);
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Space}) {
    // The key waits in the queue and is handled between the first two frames.
    QCoreApplication::postEvent(&f, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    const int before = f.FramesShown();
    f.SpeedButtonCompute->click();
    EXPECT_EQ(f.FramesShown() - before, 1) << key;
    EXPECT_FALSE(f.Playing());
    EXPECT_EQ(f.TrackBar1->value(), 0);
  }
  EXPECT_EQ(m.SelectedAngleCount(), 0) << "Escape also clears the selection";
}

TEST_F(PreviewTest, SpaceStartsThePreviewOutsideTheNetMode) {
  TForm1& f = ShownForm();
  TMorphing& m = PicturesMorphing(mm_ImgSel);
  m.AppendTriangle({0, 1, 2});
  m.SetFramesMorph(4);
  const int before = f.FramesShown();
  QTest::keyClick(&f, Qt::Key_Space);
  EXPECT_EQ(f.FramesShown() - before, 5);
  EXPECT_EQ(f.TrackBar1->maximum(), 4);
}

}  // namespace
}  // namespace qv
