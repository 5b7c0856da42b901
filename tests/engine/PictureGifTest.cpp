#include <gtest/gtest.h>

#include "Bitmap.h"
#include "GifFile.h"
#include "PictureIo.h"
#include "PictureTestSupport.h"

namespace qv::test {

namespace {

constexpr TColor kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
constexpr TColor kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
const std::vector<TColor> kColors = {kRed, kGreen, kBlue, kBlack};

TBitmap Decode(const TBytes& file) {
  TBitmap b;
  DecodeGif(file.data(), file.size(), "bild.gif", b);
  return b;
}

TGifFrame Frame(int left, int top, int w, int h, TBytes indexes) {
  TGifFrame f;
  f.Left = left;
  f.Top = top;
  f.Width = w;
  f.Height = h;
  f.Indexes = std::move(indexes);
  return f;
}

}  // namespace

TEST(GifRead, FirstImageOnItsScreenWithTransparencyWhite) {
  TGifFrame first = Frame(2, 1, 3, 2, {0, 1, 2, 3, 0, 1});
  first.Transparent = 3;
  // A second image of an animation covers everything; only the first one counts.
  const TGifFrame second = Frame(0, 0, 6, 4, TBytes(24, 2));
  const TBitmap b = Decode(MakeGif(6, 4, kColors, {first, second}));
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  ASSERT_EQ(b.Width(), 6);
  ASSERT_EQ(b.Height(), 4);
  const TColor expected[4][6] = {
      {kWhite, kWhite, kWhite, kWhite, kWhite, kWhite},
      {kWhite, kWhite, kRed, kGreen, kBlue, kWhite},
      {kWhite, kWhite, kWhite, kRed, kGreen, kWhite},  // index 3 is transparent
      {kWhite, kWhite, kWhite, kWhite, kWhite, kWhite},
  };
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(b.GetPixel(x, y), expected[y][x]) << x << ", " << y;
}

TEST(GifRead, InterlacedRowsLocalColoursAndImagesPastTheScreen) {
  TBytes rows;
  for (int y = 0; y < 10; ++y) rows.insert(rows.end(), 2, uint8_t(y % 4));
  TGifFrame f = Frame(0, 0, 2, 10, rows);
  f.Interlace = true;
  f.LocalColors = {kBlack, kBlue, kGreen, kRed};          // the reverse of the global table
  const TBitmap b = Decode(MakeGif(1, 1, kColors, {f}));  // screen smaller than the image
  ASSERT_EQ(b.Width(), 2);
  ASSERT_EQ(b.Height(), 10);
  for (int y = 0; y < 10; ++y) EXPECT_EQ(b.GetPixel(1, y), f.LocalColors[y % 4]) << "row " << y;
}

TEST(GifRead, BrokenFilesRaiseTheirTexts) {
  const TBytes good = MakeGif(4, 4, kColors, {Frame(0, 0, 4, 4, TBytes(16, 3))});
  // Drop the last two entries of the global table (size field 1 -> 0): index 3 loses its colour.
  TBytes shortTable = good;
  shortTable[10] = uint8_t((shortTable[10] & ~7) | 0);
  shortTable.erase(shortTable.begin() + 13 + 6, shortTable.begin() + 13 + 12);
  TBytes hugeScreen = MakeGif(4, 4, kColors, {Frame(0, 0, 4, 4, TBytes(16, 3))});
  PutLE16(&hugeScreen[6], 30000);
  PutLE16(&hugeScreen[8], 30000);
  struct Case {
    const char* what;
    TBytes file;
    std::string expected;
  } cases[] = {
      {"empty", {}, PictureDamagedText("bild.gif")},
      {"no GIF", TBytes(40, 'x'), PictureDamagedText("bild.gif")},
      {"no image", MakeGif(4, 4, kColors, {}), PictureDamagedText("bild.gif")},
      {"cut in the data", TBytes(good.begin(), good.end() - 5), PictureDamagedText("bild.gif")},
      {"index without colour", shortTable, PictureDamagedText("bild.gif")},
      {"no colour table", MakeGif(4, 4, {}, {Frame(0, 0, 4, 4, TBytes(16, 0))}),
       PictureDamagedText("bild.gif")},
      {"huge screen", hugeScreen, PictureTooLargeText("bild.gif")},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf([&] { Decode(c.file); }), c.expected) << c.what;
}

}  // namespace qv::test
