#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "Bitmap.h"
#include "QtCanvas.h"

namespace qv {
namespace {

constexpr QRgb kWhite = 0xffffffffu;

// A white image painted through a TQtCanvas.
template <typename Paint>
QImage PaintOnWhite(int w, int h, Paint paint) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  TQtCanvas canvas(painter);
  paint(canvas);
  painter.end();
  return img;
}

// A bitmap whose every pixel has its own colour.
TBitmap Numbered(int w, int h, TPixelFormat pf) {
  TBitmap b(pf);
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, RGB(uint8_t(10 + 40 * x), uint8_t(20 + 50 * y), 7));
  return b;
}

QRgb QtPixelOf(const TBitmap& b, int x, int y) {
  TColor c = b.GetPixel(x, y);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

TEST(QtCanvas, RectangleLeavesOutRightAndBottomLines) {
  QImage img = PaintOnWhite(10, 10, [](TCanvas& c) {
    c.SetPenColor(RGB(255, 0, 0));
    c.SetBrushColor(RGB(0, 0, 255));
    c.Rectangle(2, 2, 7, 6);
  });
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      QRgb expected = kWhite;
      if (x >= 2 && x <= 6 && y >= 2 && y <= 5)
        expected = (x == 2 || x == 6 || y == 2 || y == 5) ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
      EXPECT_EQ(img.pixel(x, y), expected) << x << "," << y;
    }
}

TEST(QtCanvas, ClearBrushRectangleIsAnOutlineOnly) {
  QImage img = PaintOnWhite(8, 8, [](TCanvas& c) {
    c.SetBrushStyle(bsClear);
    c.Rectangle(1, 1, 6, 6);
  });
  EXPECT_EQ(img.pixel(1, 1), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(3, 3), kWhite);
  EXPECT_EQ(img.pixel(5, 5), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(6, 6), kWhite);
}

TEST(QtCanvas, LineLeavesOutItsEndPixel) {
  QImage img = PaintOnWhite(10, 4, [](TCanvas& c) {
    c.Line(1, 1, 2, 1);  // the single pixel (1, 1)
    c.Line(0, 3, 6, 3);
  });
  EXPECT_EQ(img.pixel(1, 1), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(2, 1), kWhite);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(img.pixel(x, 3), qRgb(0, 0, 0)) << x;
  EXPECT_EQ(img.pixel(6, 3), kWhite);
}

TEST(QtCanvas, HatchedBrushIsTransparentForwardDiagonal) {
  QImage img = PaintOnWhite(16, 16, [](TCanvas& c) {
    c.SetBrushColor(RGB(0, 0, 0));
    c.SetBrushStyle(bsBDiagonal);
    c.FillRect(Rect(0, 0, 16, 16));
  });
  int black = 0;
  for (int y = 1; y < 16; ++y)
    for (int x = 0; x < 15; ++x)
      if (img.pixel(x, y) == qRgb(0, 0, 0)) {
        ++black;
        EXPECT_EQ(img.pixel(x + 1, y - 1), qRgb(0, 0, 0)) << "lines run bottom-left to top-right";
      }
  EXPECT_GT(black, 16);
  EXPECT_LT(black, 16 * 16 / 2) << "the background between the lines stays";
}

TEST(QtCanvas, PolygonFillsAndOutlines) {
  QImage img = PaintOnWhite(12, 12, [](TCanvas& c) {
    c.SetPenColor(RGB(255, 0, 0));
    c.SetBrushColor(RGB(0, 255, 0));
    TPoint pts[] = {{1, 1}, {10, 1}, {1, 10}};
    c.Polygon(pts, 3);
  });
  EXPECT_EQ(img.pixel(1, 1), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(10, 1), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(1, 10), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(3, 3), qRgb(0, 255, 0));
  EXPECT_EQ(img.pixel(9, 9), kWhite);
}

TEST(QtCanvas, StretchDrawIsExactNearestNeighbourFromTheTopRow) {
  for (TPixelFormat pf : {pf24bit, pf32bit}) {
    TBitmap src = Numbered(3, 2, pf);
    QImage img = PaintOnWhite(9, 7, [&](TCanvas& c) { c.StretchDraw(Rect(1, 1, 8, 6), src); });
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x) {
        QRgb expected = kWhite;
        if (x >= 1 && x < 8 && y >= 1 && y < 6)
          expected = QtPixelOf(src, (x - 1) * 3 / 7, (y - 1) * 2 / 5);
        EXPECT_EQ(img.pixel(x, y), expected) << int(pf) << " bpp at " << x << "," << y;
      }
  }
}

TEST(QtCanvas, DrawCopiesUnscaledClippedAndMasked) {
  TBitmap src = Numbered(3, 3, pf24bit);
  const uint8_t mask[9] = {1, 1, 1, 1, 0, 1, 1, 1, 1};
  QImage img = PaintOnWhite(4, 4, [&](TCanvas& c) {
    c.Draw(-1, -1, src);      // only the lower right 2 x 2 lands
    c.Draw(2, 2, src, mask);  // its masked centre would land on (3, 3)
  });
  EXPECT_EQ(img.pixel(0, 0), QtPixelOf(src, 1, 1));
  EXPECT_EQ(img.pixel(1, 1), QtPixelOf(src, 2, 2));
  EXPECT_EQ(img.pixel(2, 2), QtPixelOf(src, 0, 0));
  EXPECT_EQ(img.pixel(3, 3), kWhite) << "masked out";
  QImage masked = PaintOnWhite(3, 3, [&](TCanvas& c) { c.Draw(0, 0, src, mask); });
  EXPECT_EQ(masked.pixel(1, 1), kWhite);
  EXPECT_EQ(masked.pixel(2, 1), QtPixelOf(src, 2, 1));
}

TEST(QtCanvas, CopyRectClipsTheSourceArea) {
  TBitmap src = Numbered(4, 4, pf32bit);
  QImage img = PaintOnWhite(6, 6, [&](TCanvas& c) {
    c.CopyRect(Rect(0, 0, 4, 4), src, Rect(2, 2, 6, 6));  // only 2 x 2 of the source exist
  });
  EXPECT_EQ(img.pixel(0, 0), QtPixelOf(src, 2, 2));
  EXPECT_EQ(img.pixel(1, 1), QtPixelOf(src, 3, 3));
  EXPECT_EQ(img.pixel(2, 2), kWhite);
  EXPECT_EQ(img.pixel(2, 0), kWhite);
}

TEST(QtCanvas, LinearStretchAveragesWhenReducingAndInterpolatesWhenEnlarging) {
  TBitmap stripes(pf24bit);
  stripes.SetSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) stripes.SetPixel(x, y, x % 2 ? clWhite : clBlack);
  QImage reduced = PaintOnWhite(4, 4, [&](TCanvas& c) {
    static_cast<TQtCanvas&>(c).LinearStretchDraw(Rect(0, 0, 4, 4), stripes);
  });
  for (int x = 0; x < 4; ++x) EXPECT_NEAR(qRed(reduced.pixel(x, 2)), 128, 8) << x;

  TBitmap two(pf32bit);
  two.SetSize(2, 1);
  two.SetPixel(0, 0, clBlack);
  two.SetPixel(1, 0, clWhite);
  QImage enlarged = PaintOnWhite(16, 2, [&](TCanvas& c) {
    static_cast<TQtCanvas&>(c).LinearStretchDraw(Rect(0, 0, 16, 2), two);
  });
  int previous = -1, between = 0;
  for (int x = 0; x < 16; ++x) {
    int v = qRed(enlarged.pixel(x, 0));
    EXPECT_GE(v, previous) << "a ramp from black to white";
    if (v > 10 && v < 245) ++between;
    previous = v;
  }
  EXPECT_GE(between, 4);
}

// The panes keep the pictures they drew lately: whatever was drawn before, the pane shows the
// bitmap as it is now (one pixel changed, three pictures in turn, enlarged and reduced).
TEST(QtCanvas, LinearStretchDrawShowsTheBitmapAsItIsNow) {
  std::vector<TBitmap> pictures = {Numbered(6, 4, pf32bit), Numbered(6, 4, pf24bit),
                                   Numbered(5, 4, pf32bit)};
  auto draw = [](const TBitmap& b, int w, int h) {
    return PaintOnWhite(w, h, [&](TCanvas& c) {
      static_cast<TQtCanvas&>(c).LinearStretchDraw(Rect(0, 0, w, h), b);
    });
  };
  auto expected = [](const TBitmap& b, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    if (w < b.Width()) {
      painter.drawImage(QPoint(0, 0), BitmapToImage(b).scaled(w, h, Qt::IgnoreAspectRatio,
                                                              Qt::SmoothTransformation));
    } else {
      painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
      painter.drawImage(QRect(0, 0, w, h), BitmapToImage(b));
    }
    painter.end();
    return img;
  };
  for (int round = 0; round < 3; ++round)
    for (size_t i = 0; i < pictures.size(); ++i) {
      for (QSize size : {QSize(3, 2), QSize(4, 3), QSize(12, 8)})
        EXPECT_EQ(draw(pictures[i], size.width(), size.height()),
                  expected(pictures[i], size.width(), size.height()))
            << round << " " << i << " " << size.width();
      pictures[i].SetPixel(int(round + i) % 5, 1, RGB(255, uint8_t(60 * round), 0));
      EXPECT_EQ(draw(pictures[i], 4, 3), expected(pictures[i], 4, 3)) << round << " " << i;
    }
}

// Both pixel formats, with widths that end inside and after a group of four pixels.
TEST(QtCanvas, BitmapToImageIsTopDownAndOpaque) {
  for (TPixelFormat pf : {pf32bit, pf24bit})
    for (int w : {2, 4, 7, 9}) {
      TBitmap src = Numbered(w, 3, pf);
      QImage img = BitmapToImage(src);
      ASSERT_EQ(img.size(), QSize(w, 3));
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < w; ++x) {
          EXPECT_EQ(img.pixel(x, y), QtPixelOf(src, x, y)) << w << " " << x << " " << y;
          EXPECT_EQ(qAlpha(img.pixel(x, y)), 255);
        }
    }
}

}  // namespace
}  // namespace qv
