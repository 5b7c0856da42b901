// The editor with the bundled example, rendered on the offscreen platform. With
// QUORVEL_SCREENSHOT set to a file name the picture is written there (docs/screenshot.png
// for the README).
#include <QImage>
#include <QPixmap>
#include <QToolButton>
#include <cstdlib>

#include "EditorFixture.h"

namespace qv {
namespace {

using ScreenshotTest = EditorTest;

// Share of the pixels of an area that are not white, and how many have the given colour.
struct TCount {
  double NotWhite = 0;
  int Colour = 0;
};
TCount Count(const QImage& img, const QRect& area, QRgb colour) {
  TCount c;
  int notWhite = 0, all = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = img.pixel(x, y) | 0xff000000u;
      ++all;
      if (p != 0xffffffffu) ++notWhite;
      if (p == (colour | 0xff000000u)) ++c.Colour;
    }
  c.NotWhite = all ? double(notWhite) / all : 0;
  return c;
}

QRect AreaIn(const QWidget* pane, const QWidget* window) {
  return QRect(pane->mapTo(window, QPoint(0, 0)), pane->size()) &
         QRect(QPoint(0, 0), window->size());
}

TEST_F(ScreenshotTest, TheExampleShowsPicturesAndTheGrid) {
  TForm1& f = ShownForm({QString::fromStdString(ExampleFile("example.qvp"))});
  f.resize(1100, 520);
  f.SpeedButtonGrid->setChecked(true);
  f.ApplicationIdle();  // the status text, as when the event queue runs empty
  QApplication::processEvents();
  ASSERT_EQ(f.Morphing().TriangleCount(), 34);
  const QImage shot = f.grab().toImage();
  const TColor grid = f.Morphing().GridColor();
  const QRgb gridRgb = qRgb(GetRValue(grid), GetGValue(grid), GetBValue(grid));
  for (const QWidget* pane :
       {static_cast<QWidget*>(f.PaintBoxSrc1), static_cast<QWidget*>(f.PaintBoxSrc2),
        static_cast<QWidget*>(f.PaintBoxTarget)}) {
    const QRect area = AreaIn(pane, &f);
    ASSERT_GT(area.width(), 100) << pane->objectName().toStdString();
    const TCount c = Count(shot, area, gridRgb);
    EXPECT_GT(c.NotWhite, 0.5) << pane->objectName().toStdString() << " shows its picture";
    EXPECT_GT(c.Colour, area.width()) << pane->objectName().toStdString() << " shows the grid";
  }
  if (const char* out = std::getenv("QUORVEL_SCREENSHOT")) {
    EXPECT_TRUE(shot.save(out));
  }
}

}  // namespace
}  // namespace qv
