#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QToolButton>
#include <algorithm>

#include "EditorFixture.h"

namespace qv {
namespace {

using EditModesTest = EditorTest;

std::vector<int32_t> Selection(const TMorphing& m) {
  return std::vector<int32_t>(m.SelectedAngles().begin(),
                              m.SelectedAngles().begin() + m.SelectedAngleCount());
}

TEST_F(EditModesTest, ClickWithoutMovingAddsAPointInBothSources) {
  TMorphing& m = PicturesMorphing(mm_Points);
  ASSERT_EQ(m.AngleCount(), 4) << "the corners of the frame";
  TPaintBox* pane = Form().PaintBoxSrc1;
  Click(pane, QPoint(100, 120));
  ASSERT_EQ(m.AngleCount(), 5);
  EXPECT_EQ(m.Source1().Angles()[4], (TPoint{100, 120}));
  EXPECT_EQ(m.Source2().Angles()[4], (TPoint{100, 120})) << "partner at the same place";
  EXPECT_EQ(Selection(m), (std::vector<int32_t>{4}));
  // A press, a move of one pixel and a release add nothing.
  Press(pane, QPoint(200, 200));
  Move(pane, QPoint(201, 200), Qt::LeftButton);
  Release(pane, QPoint(201, 200));
  EXPECT_EQ(m.AngleCount(), 5);
  // The end pane works the same way.
  Click(Form().PaintBoxSrc2, QPoint(300, 50));
  EXPECT_EQ(m.AngleCount(), 6);
}

TEST_F(EditModesTest, DraggedPointsAreClampedOrDeletedFarOutside) {
  TMorphing& m = PicturesMorphing(mm_Points);
  TPaintBox* pane = Form().PaintBoxSrc1;
  struct Case {
    QPoint release;
    bool kept;
    TPoint expected;
  } cases[] = {
      {QPoint(-50, 100), true, {0, 100}},
      {QPoint(420, 310), true, {400, 300}},
      {QPoint(-51, 100), false, {}},
  };
  for (const Case& c : cases) {
    Click(pane, QPoint(200, 100));
    ASSERT_EQ(m.AngleCount(), 5);
    m.AppendTriangle({0, 1, 4});
    Press(pane, QPoint(201, 101));  // within the pick tolerance
    Move(pane, QPoint(150, 120), Qt::LeftButton);
    EXPECT_EQ(m.Source1().Angles()[4], (TPoint{150, 120})) << "the point follows the mouse";
    Move(pane, QPoint(-30, 120), Qt::LeftButton);
    EXPECT_EQ(m.Source1().Angles()[4], (TPoint{150, 120})) << "outside the image nothing moves";
    Release(pane, c.release);
    if (c.kept) {
      ASSERT_EQ(m.AngleCount(), 5);
      EXPECT_EQ(m.Source1().Angles()[4], c.expected);
      EXPECT_EQ(m.Source2().Angles()[4], (TPoint{200, 100})) << "the partner stays";
      m.DeletePoint(4);
    } else {
      EXPECT_EQ(m.AngleCount(), 4);
      EXPECT_EQ(m.TriangleCount(), 0) << "its triangles go with it";
    }
  }
}

TEST_F(EditModesTest, CornerPointsDoNotMove) {
  TMorphing& m = PicturesMorphing(mm_Points);
  TPaintBox* pane = Form().PaintBoxSrc1;
  Press(pane, QPoint(2, 2));
  Move(pane, QPoint(60, 60), Qt::LeftButton);
  Release(pane, QPoint(60, 60));
  EXPECT_EQ(m.Source1().Angles()[0], (TPoint{0, 0}));
  EXPECT_EQ(m.AngleCount(), 4);
}

TEST_F(EditModesTest, PressGrabsTheHighestPointWithinTheTolerance) {
  TMorphing& m = PicturesMorphing(mm_Points);
  TForm1& f = Form();
  Click(f.PaintBoxSrc1, QPoint(100, 100));
  Click(f.PaintBoxSrc1, QPoint(106, 100));
  Press(f.PaintBoxSrc1, QPoint(103, 100));
  EXPECT_EQ(Selection(m), (std::vector<int32_t>{5}));
  Release(f.PaintBoxSrc1, QPoint(103, 100));
  // At zoom 500 the tolerance is 8 image pixels: a press 4 pane pixels away still grabs.
  f.SetZoom(500);
  Press(f.PaintBoxSrc1, QPoint(50 - 4, 50));
  EXPECT_EQ(Selection(m), (std::vector<int32_t>{4}));
  Release(f.PaintBoxSrc1, QPoint(50 - 4, 50));
  Press(f.PaintBoxSrc1, QPoint(50 + 8, 80));
  EXPECT_TRUE(Selection(m).empty()) << "a press on empty space clears the selection";
}

// A 200 x 100 net: the corners and the point 4 at (100, 20).
TMorphing& NetMorphing(EditorTest& t, TForm1& f) {
  TMorphing& m = f.Morphing();
  m.NewProject("", 200, 100);
  m.Source1().SetSourceImageName(ExampleFile("anfang.bmp"));
  m.Source2().SetSourceImageName(ExampleFile("ende.bmp"));
  f.SetAutoZoom(false);
  f.SetZoom(1000);
  f.SetEditMode(mm_Points);
  m.AddPoint(m.Source1(), TPoint{100, 20});
  f.SetEditMode(mm_Net);
  (void)t;
  return m;
}

TEST_F(EditModesTest, NetModeHoverProposesAndClickTogglesTheCandidate) {
  TForm1& f = Form();
  TMorphing& m = NetMorphing(*this, f);
  TPaintBox* pane = f.PaintBoxSrc1;
  Move(pane, QPoint(150, 80));
  ASSERT_EQ(m.SelectedAngleCount(), 3) << "the engine proposes a triangle under the mouse";
  const std::vector<int32_t> candidate = Selection(m);
  Click(pane, QPoint(150, 80));
  ASSERT_EQ(m.TriangleCount(), 1);
  EXPECT_EQ(m.GetTriangleIndex(m.SelectedAngles()), 0);
  // Hovering the new triangle elsewhere selects its corners.
  m.Select0Point();
  Move(pane, QPoint(160, 85));
  EXPECT_EQ(Selection(m), candidate);
  // With Shift held the selection stays.
  m.Select0Point();
  Move(pane, QPoint(150, 80), Qt::NoButton, Qt::ShiftModifier);
  EXPECT_EQ(m.SelectedAngleCount(), 0);
  // A second click on it removes it again.
  Move(pane, QPoint(150, 80));
  Click(pane, QPoint(150, 80));
  EXPECT_EQ(m.TriangleCount(), 0);
}

TEST_F(EditModesTest, ShiftClicksSelectPointsAndToggleTheirTriangle) {
  TForm1& f = Form();
  TMorphing& m = NetMorphing(*this, f);
  TPaintBox* pane = f.PaintBoxSrc1;
  const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
  m.Select0Point();
  Click(pane, QPoint(100, 20), shift);  // point 4
  Click(pane, QPoint(100, 21), shift);  // the same point again: it stays the only one
  EXPECT_EQ(Selection(m), (std::vector<int32_t>{4}));
  Click(pane, QPoint(1, 1), shift);  // point 0
  EXPECT_EQ(Selection(m), (std::vector<int32_t>{4, 0}));
  Click(pane, QPoint(198, 1), shift);  // point 1 completes the triangle
  ASSERT_EQ(m.TriangleCount(), 1);
  EXPECT_EQ(m.SelectedAngleCount(), 0);
  EXPECT_EQ(f.FlupCount(), 0);
  for (QPoint p : {QPoint(198, 1), QPoint(100, 20), QPoint(1, 1)}) Click(pane, p, shift);
  EXPECT_EQ(m.TriangleCount(), 0) << "the three points of an existing triangle remove it";
  EXPECT_EQ(f.FlupCount(), 1);
  EXPECT_EQ(m.SelectedAngleCount(), 0);
  // A hovered candidate (s0, s1, s2) and a Shift-click on another point A: (s0, s1, A).
  Move(pane, QPoint(150, 80));
  ASSERT_EQ(m.SelectedAngleCount(), 3);
  const std::vector<int32_t> c = Selection(m);
  int32_t a = 0;
  while (std::find(c.begin(), c.end(), a) != c.end()) ++a;
  const TPoint pa = m.Source1().Angles()[size_t(a)];
  Click(pane, QPoint(std::max(pa.X, 1), std::max(pa.Y, 1)), shift);  // QTest moves (0, 0)
  ASSERT_EQ(m.TriangleCount(), 1);
  EXPECT_EQ(m.GetTriangleIndex(TTrianglePerIndex{c[0], c[1], a}), 0);
}

TEST_F(EditModesTest, DoubleClickOnATriangleRemovesAndTheSecondClickAddsItBack) {
  TForm1& f = Form();
  TMorphing& m = NetMorphing(*this, f);
  TPaintBox* pane = f.PaintBoxSrc1;
  Move(pane, QPoint(150, 80));
  Click(pane, QPoint(150, 80));
  ASSERT_EQ(m.TriangleCount(), 1);
  DoubleClick(pane, QPoint(150, 80));
  EXPECT_EQ(m.TriangleCount(), 1);
  // Without the toggles of the clicks the double click alone removes the triangle under it.
  f.SetEditMode(mm_Net);
  Press(pane, QPoint(150, 80));
  QTest::mouseDClick(pane, Qt::LeftButton, {}, QPoint(150, 80));
  EXPECT_EQ(m.TriangleCount(), 0);
}

TEST_F(EditModesTest, ImageModeDragMovesAndShiftDragResizesTheRectangle) {
  TMorphing& m = PicturesMorphing(mm_ImgSel);
  TPaintBox* pane = Form().PaintBoxSrc1;
  TMorphSource& s = m.Source1();
  m.setRectWidth(s, 200);
  m.setRectOrigin(s, TPoint{20, 20});
  ASSERT_EQ(s.RectWidth(), 200);
  const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
  struct Step {
    QPoint to;
    int32_t width;
  } steps[] = {{QPoint(90, 103), 210}, {QPoint(87, 93), 220}, {QPoint(97, 93), 210}};
  Press(pane, QPoint(100, 100), shift);
  for (const Step& st : steps) {
    Move(pane, st.to, Qt::LeftButton, shift);
    EXPECT_EQ(s.RectWidth(), st.width) << st.to.x() << "," << st.to.y();
  }
  Release(pane, QPoint(97, 93), shift);
  // The picture follows the mouse and stops at the top-left corner of the picture.
  Press(pane, QPoint(100, 100));
  Move(pane, QPoint(105, 103), Qt::LeftButton);
  const TPoint o = s.RectOrigin();
  EXPECT_LT(o.X, 20);
  EXPECT_LT(o.Y, 20);
  Move(pane, QPoint(300, 290), Qt::LeftButton);
  EXPECT_EQ(s.RectOrigin(), (TPoint{0, 0}));
  Release(pane, QPoint(300, 290));
  // Moves without the button change nothing.
  Move(pane, QPoint(10, 10));
  EXPECT_EQ(s.RectOrigin(), (TPoint{0, 0}));
}

TEST_F(EditModesTest, KeyTable) {
  TForm1& f = ShownForm();
  TMorphing& m = NetMorphing(*this, f);
  f.SetEditMode(mm_ImgSel);
  QTest::keyClick(&f, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(m.MorphMode(), mm_Points) << "Ctrl+Space leads from the image mode to the points";
  QTest::keyClick(&f, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(m.MorphMode(), mm_Net);
  QTest::keyClick(&f, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(m.MorphMode(), mm_Points);
  QTest::keyClick(&f, Qt::Key_Space, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(m.MorphMode(), mm_Points) << "other combinations are ignored";

  f.SetEditMode(mm_Net);
  m.Select3Points({0, 1, 4});
  QTest::keyClick(&f, Qt::Key_Return);
  EXPECT_EQ(m.TriangleCount(), 1) << "Enter adds the selected triangle";
  m.Select3Points({0, 1, 4});
  QTest::keyClick(&f, Qt::Key_Escape);
  EXPECT_EQ(m.SelectedAngleCount(), 0);
  EXPECT_TRUE(f.Stopped());

  // Space in the net mode adds the point under the mouse to the selection.
  Move(f.PaintBoxSrc1, QPoint(101, 21), Qt::NoButton, Qt::ShiftModifier);
  QTest::keyClick(&f, Qt::Key_Space);
  EXPECT_EQ(Selection(m), (std::vector<int32_t>{4}));

  f.SetZoom(1000);
  QTest::keyClick(&f, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(f.Zoom(), 833) << "Ctrl+Minus of the main keyboard is \"kleiner\"";
  EXPECT_FALSE(f.AutoZoom());
}

TEST_F(EditModesTest, ModeHelpShowsWhileTheMouseIsOnTheHelpIcon) {
  TForm1& f = ShownForm();
  f.SetEditMode(mm_Net);
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(f.Image1, &enter);
  EXPECT_TRUE(f.Memo2->isVisible());
  EXPECT_TRUE(f.Memo2->toPlainText().startsWith("Modus: Dreiecke festlegen:\n\n"));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(f.Image1, &leave);
  EXPECT_FALSE(f.Memo2->isVisible());
}

TEST_F(EditModesTest, SwitchingModesMovesCtrlSpaceAndMarksTheMode) {
  TForm1& f = Form();
  const QKeySequence ctrlSpace(Qt::CTRL | Qt::Key_Space);
  f.SetEditMode(mm_Points);
  EXPECT_EQ(f.ActionModeNet->shortcut(), ctrlSpace);
  EXPECT_TRUE(f.MenuModePoints->shortcut().isEmpty());
  EXPECT_TRUE(f.ActionModePoints->isChecked());
  f.SetEditMode(mm_ImgSel);
  EXPECT_EQ(f.MenuModePoints->shortcut(), ctrlSpace);
  EXPECT_TRUE(f.ActionModeNet->shortcut().isEmpty());
  EXPECT_TRUE(f.ActionModeImage->isChecked());
  // The tool button's command of the points mode also chooses the morph preview.
  f.SpeedButtonBlend->setChecked(true);
  f.ActionModePoints->trigger();
  EXPECT_TRUE(f.SpeedButtonMorph->isChecked());
  f.SpeedButtonBlend->setChecked(true);
  f.MenuModePoints->trigger();
  EXPECT_TRUE(f.SpeedButtonBlend->isChecked()) << "the menu entry only switches the mode";
}

}  // namespace
}  // namespace qv
