#include <QAction>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>

#include "EditorFixture.h"
#include "Overlay.h"
#include "QtCanvas.h"

namespace qv {
namespace {

using PanesTest = EditorTest;

TEST_F(PanesTest, ThreePanesShareThePanelWidthAndTheTrackBarStandsUnderTheTarget) {
  TForm1& f = Form();
  f.SetAutoZoom(false);
  f.PanelImages->resize(601, 300);
  f.PanelBottom->resize(601, 77);
  f.PanelImagesResize();
  EXPECT_EQ(f.ScrollBoxSrc1->geometry(), QRect(0, 0, 200, 300));
  EXPECT_EQ(f.ScrollBoxSrc2->geometry(), QRect(200, 0, 200, 300));
  EXPECT_EQ(f.ScrollBoxTarget->geometry(), QRect(400, 0, 200, 300));
  EXPECT_EQ(f.TrackBar1->width(), 200);
  EXPECT_EQ(f.TrackBar1->x(), 401) << "right-aligned: one column stays empty under the panes";
}

TEST_F(PanesTest, FitZoomLeavesTheFrameOfTheTargetBox) {
  TForm1& f = Form();
  PicturesMorphing(mm_ImgSel);
  f.PanelImages->resize(3 * 204, 154);
  f.SetAutoZoom(true);
  f.PanelImagesResize();
  EXPECT_EQ(f.GetFitZoom(), 500);
  EXPECT_EQ(f.Zoom(), 500);
  EXPECT_EQ(f.Morphing().CurrentZoom(), 500);
  for (TPaintBox* box : {f.PaintBoxSrc1, f.PaintBoxSrc2, f.PaintBoxTarget})
    EXPECT_EQ(box->size(), QSize(200, 150));
  // An explicit zoom turns the automatic zoom off; a resize then keeps the zoom.
  f.ActionZoomNormal->trigger();
  EXPECT_FALSE(f.AutoZoom());
  f.PanelImages->resize(3 * 304, 254);
  f.PanelImagesResize();
  EXPECT_EQ(f.Zoom(), 1000);
}

TEST_F(PanesTest, ZoomStepsByTheFactor1Point2) {
  TForm1& f = Form();
  PicturesMorphing(mm_ImgSel);
  std::vector<int32_t> smaller;
  for (int i = 0; i < 10; ++i) {
    f.ActionZoomOut->trigger();
    smaller.push_back(f.Zoom());
  }
  EXPECT_EQ(smaller, (std::vector<int32_t>{833, 694, 578, 482, 402, 335, 279, 233, 194, 194}));
  EXPECT_TRUE(f.ActionZoomOut->isChecked());
  f.ActionZoomNormal->trigger();
  std::vector<int32_t> larger;
  for (int i = 0; i < 5; ++i) {
    f.ActionZoomIn->trigger();
    larger.push_back(f.Zoom());
  }
  EXPECT_EQ(larger, (std::vector<int32_t>{1200, 1440, 1728, 2074, 2489}));
  EXPECT_EQ(f.PaintBoxSrc1->size(), QSize(MulDiv(400, 2489, 1000), MulDiv(300, 2489, 1000)));
  f.SetZoom(201);
  f.ActionZoomOut->trigger();
  EXPECT_EQ(f.Zoom(), 168);
  f.SetZoom(200);
  f.ActionZoomOut->trigger();
  EXPECT_EQ(f.Zoom(), 200);
}

TEST_F(PanesTest, ZoomAutomaticTogglesBetweenFitAndNormal) {
  TForm1& f = Form();
  PicturesMorphing(mm_ImgSel);
  f.PanelImages->resize(3 * 204, 154);
  f.PanelImagesResize();
  f.ActionZoomAuto->trigger();  // unchecked -> checked: fit
  EXPECT_TRUE(f.AutoZoom());
  EXPECT_EQ(f.Zoom(), 500);
  f.ActionZoomAuto->trigger();  // checked -> unchecked: 100 %
  EXPECT_FALSE(f.AutoZoom());
  EXPECT_EQ(f.Zoom(), 1000);
}

TEST_F(PanesTest, ScreenAndImageCoordinatesFollowTheWidthRatio) {
  TForm1& f = Form();
  PicturesMorphing(mm_Points);
  EXPECT_EQ(f.ScreenToImagePoint(QPoint(133, 77)), (TPoint{133, 77}));
  struct Case {
    int32_t zoom, tolerance;
  } cases[] = {{1000, 4}, {500, 8}, {2000, 2}};
  for (const Case& c : cases) {
    f.SetZoom(c.zoom);
    EXPECT_EQ(f.ScreenToImageLength(4), c.tolerance) << c.zoom;
  }
  f.SetZoom(500);
  EXPECT_EQ(f.ScreenToImagePoint(QPoint(67, 39)), (TPoint{134, 78}));
}

TEST_F(PanesTest, ScrollingOnePaneScrollsAll) {
  TForm1& f = ShownForm();
  PicturesMorphing(mm_ImgSel);
  f.SetZoom(3000);
  QApplication::processEvents();
  f.ScrollBoxSrc2->horizontalScrollBar()->setValue(120);
  f.ScrollBoxSrc2->verticalScrollBar()->setValue(60);
  for (QScrollArea* box : {f.ScrollBoxSrc1, f.ScrollBoxTarget}) {
    EXPECT_EQ(box->horizontalScrollBar()->value(), 120);
    EXPECT_EQ(box->verticalScrollBar()->value(), 60);
  }
}

TEST_F(PanesTest, PointSizeCommandsSetStoreAndCheck) {
  TForm1& f = Form();
  const std::pair<QAction*, int32_t> cases[] = {
      {f.ActionPointsBig, 4}, {f.ActionPointsSmall, 2}, {f.ActionPointsMiddle, 3}};
  for (const auto& [action, size] : cases) {
    action->trigger();
    EXPECT_EQ(PointSize(), size);
    EXPECT_TRUE(action->isChecked());
    EXPECT_EQ(GetUserSettings()->readInteger("Opt", "PointSize", 0), size);
  }
}

TEST_F(PanesTest, GridColourDialogStartsWithTheColourChosenLast) {
  // Records the colour each dialog starts with.
  struct TRecording : TScriptedDialogs {
    std::vector<TColor> Starts;
    bool ChooseColor(TColor& c) override {
      Starts.push_back(c);
      return TScriptedDialogs::ChooseColor(c);
    }
  } dialogs;
  TForm1& f = Form();
  PicturesMorphing(mm_Net);
  f.Morphing().SetModified(false);
  dialogs.QueueColor(true, RGB(200, 0, 0));
  dialogs.QueueColor(false, 0);
  f.ActionGridColor->trigger();
  EXPECT_EQ(f.Morphing().GridColor(), RGB(200, 0, 0));
  EXPECT_TRUE(f.Morphing().Modified());
  f.Morphing().SetGridColor(RGB(1, 2, 3));
  f.ActionGridColor->trigger();  // cancelled
  EXPECT_EQ(f.Morphing().GridColor(), RGB(1, 2, 3));
  EXPECT_EQ(dialogs.Starts, (std::vector<TColor>{clBlack, RGB(200, 0, 0)}));
}

// The pixels of a pane as it paints itself.
QImage PaneImage(QWidget* pane) {
  return pane->grab().toImage();
}

TEST_F(PanesTest, PanesWithoutPicturesAreWhite) {
  TForm1& f = ShownForm();
  f.Morphing().NewProject("", 400, 300);
  f.SetAutoZoom(false);
  f.SetZoom(500);
  for (QWidget* pane : {f.PaintBoxSrc1, f.PaintBoxTarget}) {
    QImage img = PaneImage(pane);
    ASSERT_EQ(img.size(), QSize(200, 150));
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(199, 149), qRgb(255, 255, 255));
  }
}

TEST_F(PanesTest, TargetPaneShowsTheCrossDissolveStretchedPlainly) {
  TForm1& f = ShownForm();
  TMorphing& m = PicturesMorphing(mm_ImgSel);
  f.SpeedButtonBlend->click();
  f.TrackBar1->setValue(0);
  QImage img = PaneImage(f.PaintBoxTarget);
  // At position 0 the first picture shows with every byte scaled by 255/256.
  const QImage src = BitmapToImage(m.Source1().SrcRect());
  ASSERT_FALSE(src.isNull());
  int checked = 0;
  for (int y = 10; y < 300; y += 37)
    for (int x = 10; x < 400; x += 41) {
      const uint32_t pix = m.Source1().SourcePix()[size_t(299 - y) * 400 + size_t(x)];
      const QRgb expected = qRgb(((pix >> 16) & 0xFF) * 255 / 256, ((pix >> 8) & 0xFF) * 255 / 256,
                                 (pix & 0xFF) * 255 / 256);
      EXPECT_EQ(img.pixel(x, y), expected) << x << "," << y;
      ++checked;
    }
  EXPECT_GT(checked, 50);
}

}  // namespace
}  // namespace qv
