// Moving pixels: drawing, stretching and copying bitmaps, and the pixel-buffer transfers.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Bitmap.h"
#include "BitmapCanvas.h"
#include "RasterSupport.h"

namespace qv {
namespace {

using test::CoordinateBitmap;
using test::FilledBitmap;

constexpr TColor kBack = RGB(1, 2, 3);

// The colour of source pixel (sx, sy) of a coordinate bitmap, or the background.
TColor SourceOrBack(const TBitmap& src, int64_t sx, int64_t sy) {
  if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) return kBack;
  return src.GetPixel(int32_t(sx), int32_t(sy));
}

void ExpectFourthBytesZero(const TBitmap& b) {
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) ASSERT_EQ(b.ScanLine(y)[x * 4 + 3], 0) << x << "," << y;
}

TEST(RasterDraw, CopiesUnscaledAndClippedBetweenFormats) {
  struct Case {
    TPixelFormat from, to;
    int32_t x, y;
  } cases[] = {{pf24bit, pf32bit, -3, 2},
               {pf32bit, pf24bit, 4, -5},
               {pf24bit, pf24bit, 9, 6},
               {pf32bit, pf32bit, -100000, 0},
               {pf24bit, pf32bit, 2147483000, 1}};
  for (const Case& c : cases) {
    const TBitmap src = CoordinateBitmap(7, 9, c.from);
    TBitmap dst = FilledBitmap(13, 11, kBack, c.to);
    dst.Canvas().Draw(c.x, c.y, src);
    for (int32_t y = 0; y < 11; ++y)
      for (int32_t x = 0; x < 13; ++x)
        ASSERT_EQ(dst.GetPixel(x, y), SourceOrBack(src, int64_t(x) - c.x, int64_t(y) - c.y))
            << x << "," << y << " at " << c.x << "," << c.y;
    if (c.to == pf32bit) ExpectFourthBytesZero(dst);
  }
}

// Converting rows between the formats, of every length around the four pixels converted at a
// time and at every start: each pixel converted, the fourth byte 0, nothing beside the run.
TEST(RasterDraw, ConvertsRowsOfEveryLengthBetweenFormats) {
  for (TPixelFormat from : {pf32bit, pf24bit})
    for (int32_t w = 1; w <= 11; ++w)
      for (int32_t at = -2; at <= 2; ++at) {
        const TPixelFormat to = from == pf32bit ? pf24bit : pf32bit;
        const TBitmap src = CoordinateBitmap(w, 3, from);
        TBitmap dst = FilledBitmap(w + 4, 3, kBack, to);
        dst.Canvas().Draw(at, 0, src);
        for (int32_t y = 0; y < 3; ++y)
          for (int32_t x = 0; x < w + 4; ++x)
            ASSERT_EQ(dst.GetPixel(x, y), SourceOrBack(src, int64_t(x) - at, y))
                << w << " wide at " << at << ": " << x << "," << y;
        if (to == pf32bit) ExpectFourthBytesZero(dst);
      }
}

TEST(RasterDraw, MaskSelectsSourcePixels) {
  const TBitmap src = CoordinateBitmap(5, 4, pf24bit);
  std::vector<uint8_t> mask(5 * 4);
  for (size_t i = 0; i < mask.size(); ++i) mask[i] = (i % 3 == 0) ? 0 : uint8_t(i);
  TBitmap dst = FilledBitmap(8, 8, kBack);
  dst.Canvas().Draw(-1, 3, src, mask.data());
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) {
      const int32_t sx = x + 1, sy = y - 3;
      const bool inside = sx < 5 && sy >= 0 && sy < 4;
      const bool chosen = inside && mask[size_t(sy) * 5 + sx] != 0;
      EXPECT_EQ(dst.GetPixel(x, y), chosen ? src.GetPixel(sx, sy) : kBack) << x << "," << y;
    }
}

TEST(RasterStretchDraw, SamplesByTheNearestRule) {
  struct Case {
    int32_t sw, sh;
    TRect dest;
    TPixelFormat from, to;
  } cases[] = {
      {5, 4, Rect(0, 0, 40, 30), pf24bit, pf32bit},      // enlarge
      {100, 90, Rect(3, 2, 16, 9), pf32bit, pf32bit},    // reduce
      {1, 20, Rect(5, 5, 25, 15), pf24bit, pf24bit},     // one column
      {20, 1, Rect(0, 7, 40, 8), pf32bit, pf24bit},      // one row
      {10, 10, Rect(-7, -3, 23, 17), pf24bit, pf32bit},  // partly outside, top-left
      {9, 6, Rect(30, 20, 61, 47), pf32bit, pf32bit},    // partly outside, bottom-right
      {40, 30, Rect(0, 0, 40, 30), pf24bit, pf32bit},    // same size: 1:1
      {7, 3, Rect(-100000, -50, 100000, 50), pf24bit, pf32bit},
  };
  for (const Case& c : cases) {
    const TBitmap src = CoordinateBitmap(c.sw, c.sh, c.from);
    TBitmap dst = FilledBitmap(40, 30, kBack, c.to);
    dst.Canvas().StretchDraw(c.dest, src);
    const int64_t dw = c.dest.Width(), dh = c.dest.Height();
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 40; ++x) {
        const int64_t rx = x - c.dest.Left, ry = y - c.dest.Top;
        const bool inside = rx >= 0 && rx < dw && ry >= 0 && ry < dh;
        const TColor expected = inside ? SourceOrBack(src, rx * c.sw / dw, ry * c.sh / dh) : kBack;
        ASSERT_EQ(dst.GetPixel(x, y), expected)
            << x << "," << y << " for " << c.sw << "x" << c.sh << " into " << dw << "x" << dh;
      }
    if (c.to == pf32bit) ExpectFourthBytesZero(dst);
  }
}

TEST(RasterStretchDraw, EmptyOrInvertedAreasChangeNothing) {
  const TBitmap src = CoordinateBitmap(4, 4, pf32bit);
  const TBitmap none(pf32bit);
  TBitmap dst = FilledBitmap(10, 10, kBack);
  const TBitmap before = dst;
  dst.Canvas().StretchDraw(Rect(8, 0, 2, 10), src);
  dst.Canvas().StretchDraw(Rect(0, 0, 0, 10), src);
  dst.Canvas().StretchDraw(Rect(0, 0, 10, 10), none);
  dst.Canvas().Draw(0, 0, none);
  dst.Canvas().CopyRect(Rect(0, 0, 4, 4), src, Rect(4, 0, 0, 4));
  EXPECT_EQ(std::memcmp(dst.Bits(), before.Bits(), dst.ImageSize()), 0);
  TBitmap empty(pf24bit);
  empty.Canvas().StretchDraw(Rect(0, 0, 5, 5), src);
  empty.Canvas().CopyRect(Rect(0, 0, 5, 5), src, Rect(0, 0, 5, 5));
  EXPECT_TRUE(empty.Empty());
}

TEST(RasterCopyRect, CopiesOneToOneClippedOnBothSides) {
  struct Case {
    TRect dest, source;
  } cases[] = {
      {Rect(2, 1, 8, 6), Rect(3, 2, 9, 7)},      // inside both
      {Rect(-3, -2, 5, 4), Rect(0, 0, 8, 6)},    // destination reaches past the top-left
      {Rect(6, 5, 14, 12), Rect(-4, -3, 4, 4)},  // source reaches past its top-left
      {Rect(0, 0, 12, 10), Rect(4, 5, 16, 15)},  // source reaches past its bottom-right
  };
  for (const Case& c : cases) {
    const TBitmap src = CoordinateBitmap(11, 9, pf24bit);
    TBitmap dst = FilledBitmap(12, 10, kBack);
    dst.Canvas().CopyRect(c.dest, src, c.source);
    for (int32_t y = 0; y < 10; ++y)
      for (int32_t x = 0; x < 12; ++x) {
        const bool inDest =
            x >= c.dest.Left && x < c.dest.Right && y >= c.dest.Top && y < c.dest.Bottom;
        const TColor expected = inDest ? SourceOrBack(src, x - c.dest.Left + c.source.Left,
                                                      y - c.dest.Top + c.source.Top)
                                       : kBack;
        ASSERT_EQ(dst.GetPixel(x, y), expected) << x << "," << y;
      }
  }
}

TEST(RasterCopyRect, OverlappingCopyWithinOneBitmapReadsTheOldPixels) {
  TBitmap b = CoordinateBitmap(10, 10, pf32bit);
  const TBitmap before = b;
  b.Canvas().CopyRect(Rect(2, 3, 9, 10), b, Rect(0, 0, 7, 7));
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 10; ++x) {
      const bool moved = x >= 2 && x < 9 && y >= 3;
      EXPECT_EQ(b.GetPixel(x, y), moved ? before.GetPixel(x - 2, y - 3) : before.GetPixel(x, y));
    }
}

TEST(RasterPixels, BuffersAreBottomUpAndRoundTripExactly) {
  for (TPixelFormat pf : {pf24bit, pf32bit}) {
    const TBitmap b = CoordinateBitmap(5, 3, pf);  // odd width: 24-bit rows are padded
    std::vector<uint32_t> words(15);
    b.ReadPixels32(words.data());
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 5; ++x)
        EXPECT_EQ(words[size_t(2 - y) * 5 + x], SwapRedBlue(b.GetPixel(x, y)));
    std::vector<uint8_t> rows(size_t(TBitmap::RowBytesFor(5, pf24bit)) * 3, 0xEE);
    b.ReadPixels24(rows.data());
    for (int32_t row = 0; row < 3; ++row) {
      const uint8_t* r = rows.data() + size_t(row) * 16;
      for (int32_t x = 0; x < 5; ++x) {
        EXPECT_EQ(r[x * 3 + 0], 0x5A);
        EXPECT_EQ(r[x * 3 + 1], 2 - row);
        EXPECT_EQ(r[x * 3 + 2], x);
      }
      EXPECT_EQ(r[15], 0);  // padding
    }
    // Writing back into either format gives the same pixels; a set fourth byte is dropped.
    for (uint32_t& w : words) w |= 0xAB000000u;
    for (TPixelFormat target : {pf24bit, pf32bit}) {
      TBitmap copy(target);
      copy.SetSize(5, 3);
      copy.WritePixels32(words.data());
      for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(copy.GetPixel(x, y), b.GetPixel(x, y));
      if (target == pf32bit) ExpectFourthBytesZero(copy);
    }
  }
}

}  // namespace
}  // namespace qv
