// Text on the raster surface, with the system font and with the built-in font.
#include <gtest/gtest.h>

#include <climits>

#include "Bitmap.h"
#include "BitmapCanvas.h"
#include "RasterSupport.h"
#include "TextRaster.h"

namespace qv {
namespace {

using test::FilledBitmap;
using test::TCoverage;

struct TInkBox {
  int Count = 0;
  int32_t Left = INT_MAX, Top = INT_MAX, Right = -1, Bottom = -1;  // inclusive
};

TInkBox InkOf(const TCoverage& cov) {
  TInkBox box;
  for (int32_t y = 0; y < cov.Height(); ++y)
    for (int32_t x = 0; x < cov.Width(); ++x) {
      EXPECT_LE(cov.At(x, y), 1);
      if (!cov.At(x, y)) continue;
      ++box.Count;
      box.Left = std::min(box.Left, x);
      box.Right = std::max(box.Right, x);
      box.Top = std::min(box.Top, y);
      box.Bottom = std::max(box.Bottom, y);
    }
  return box;
}

TCoverage Rendered(TTextRaster& raster, int32_t x, int32_t y, int32_t height,
                   const std::string& text, int32_t w = 200, int32_t h = 60) {
  TCoverage cov(w, h);
  raster.Render(x, y, height, text, w, h, cov);
  return cov;
}

TEST(RasterText, SystemFontIsFound) {
  EXPECT_FALSE(TTextRaster::Default().Builtin());
}

TEST(RasterText, TextOutDrawsBlackInkWithinItsLine) {
  TBitmap b = FilledBitmap(160, 30, clWhite);
  b.Canvas().SetFontHeight(12);
  b.Canvas().TextOut(2, 5, "bild.jpg nicht verfügbar");
  int black = 0;
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 160; ++x) {
      const TColor c = b.GetPixel(x, y);
      ASSERT_TRUE(c == clWhite || c == clBlack) << x << "," << y;
      if (c != clBlack) continue;
      ++black;
      EXPECT_TRUE(y >= 5 && y < 17 && x >= 2) << x << "," << y;
    }
  EXPECT_GT(black, 60);
}

class RasterFonts : public ::testing::TestWithParam<bool> {
 protected:
  TTextRaster& Raster() {
    static TTextRaster builtin("/nonexistent/NoSuchFont.ttf");
    return GetParam() ? builtin : TTextRaster::Default();
  }
};

TEST_P(RasterFonts, InkStaysInTheLineAndScalesWithTheHeight) {
  const TInkBox small = InkOf(Rendered(Raster(), 3, 4, 12, "Äpfel, Größe"));
  const TInkBox large = InkOf(Rendered(Raster(), 3, 4, 36, "Äpfel, Größe"));
  ASSERT_GT(small.Count, 20);
  EXPECT_GE(small.Top, 4);
  EXPECT_LE(small.Bottom, 15);
  EXPECT_GE(small.Left, 3);
  EXPECT_LE(large.Bottom, 39);
  EXPECT_GT(large.Bottom - large.Top, 2 * (small.Bottom - small.Top));
  EXPECT_GT(large.Right - large.Left, 2 * (small.Right - small.Left));
}

TEST_P(RasterFonts, UmlautsAreDrawnAndLegacyBytesDecoded) {
  const TInkBox u = InkOf(Rendered(Raster(), 0, 0, 20, "u"));
  const TInkBox ue = InkOf(Rendered(Raster(), 0, 0, 20, "ü"));
  EXPECT_LT(ue.Top, u.Top);
  EXPECT_GT(ue.Count, u.Count);
  // Text that is not UTF-8 is read as Windows-1252: the byte 0xFC is "ü" as well.
  const TInkBox legacy = InkOf(Rendered(Raster(), 0, 0, 20, "\xFC"));
  EXPECT_EQ(legacy.Count, ue.Count);
  EXPECT_EQ(legacy.Top, ue.Top);
  // A character without a glyph still shows something.
  EXPECT_GT(InkOf(Rendered(Raster(), 0, 0, 20, "\xE2\x98\x83")).Count, 0);
}

TEST_P(RasterFonts, ClipsAtEveryEdgeAndToleratesOddArguments) {
  const std::string text = "Morphing ÄÖÜ äöü ß";
  EXPECT_GT(InkOf(Rendered(Raster(), -7, -5, 16, text, 40, 12)).Count, 0);
  EXPECT_GT(InkOf(Rendered(Raster(), 30, 6, 16, text, 40, 12)).Count, 0);
  EXPECT_EQ(InkOf(Rendered(Raster(), 40, 0, 16, text, 40, 12)).Count, 0);
  EXPECT_EQ(InkOf(Rendered(Raster(), 0, 12, 16, text, 40, 12)).Count, 0);
  EXPECT_EQ(InkOf(Rendered(Raster(), 0, 0, 0, text, 40, 12)).Count, 0);
  EXPECT_GT(InkOf(Rendered(Raster(), 0, 0, -12, text, 40, 12)).Count, 0);
  Rendered(Raster(), INT_MIN, INT_MIN, INT_MAX, text, 40, 12);
  Rendered(Raster(), INT_MAX, INT_MAX, INT_MIN, text, 40, 12);
  Rendered(Raster(), -3, 0, 100000, "x", 40, 12);
  EXPECT_EQ(InkOf(Rendered(Raster(), 0, 0, 12, "\r\n\t", 40, 12)).Count, 0);
}

INSTANTIATE_TEST_SUITE_P(Raster, RasterFonts, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Builtin" : "System"; });

}  // namespace
}  // namespace qv
