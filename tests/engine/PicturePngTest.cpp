#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include "Bitmap.h"
#include "PictureIo.h"
#include "PictureTestSupport.h"
#include "PngFile.h"

namespace qv::test {

namespace {

constexpr TColor kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
constexpr TColor kWhite = RGB(255, 255, 255);

TBitmap Decode(const TBytes& file) {
  TBitmap b;
  DecodePng(file.data(), file.size(), "bild.png", b);
  return b;
}

TPngLayout PngOf(int32_t w, int32_t h, int colorType, int depth, std::vector<TBytes> rows) {
  TPngLayout s;
  s.Width = w;
  s.Height = h;
  s.ColorType = colorType;
  s.BitDepth = depth;
  s.Rows = std::move(rows);
  return s;
}

}  // namespace

TEST(PngRead, EveryColourTypeBecomes24BitsOnWhite) {
  TPngLayout palette = PngOf(3, 1, PNG_COLOR_TYPE_PALETTE, 4, {{0x01, 0x20}});  // 0 1 2
  palette.Palette = {kRed, kGreen, kBlue};
  palette.Transparency = {255, 0};  // entry 1 transparent
  TPngLayout interlaced =
      PngOf(3, 2, PNG_COLOR_TYPE_RGB, 8,
           {{255, 0, 0, 0, 255, 0, 0, 0, 255}, {0, 0, 255, 0, 255, 0, 255, 0, 0}});
  interlaced.Interlace = true;
  struct Case {
    const char* what;
    TPngLayout layout;
    std::vector<TColor> topRow;
  } cases[] = {
      {"rgb", PngOf(2, 1, PNG_COLOR_TYPE_RGB, 8, {{255, 0, 0, 0, 0, 255}}), {kRed, kBlue}},
      {"rgba",
       PngOf(3, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {{255, 0, 0, 255, 0, 0, 255, 0, 1, 2, 3, 0}}),
       {kRed, kWhite, kWhite}},
      {"rgb 16",
       PngOf(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x80, 0x80, 0, 0, 0xFF, 0xFF}}),
       {RGB(128, 0, 255)}},
      {"gray", PngOf(2, 1, PNG_COLOR_TYPE_GRAY, 8, {{0, 100}}), {RGB(0, 0, 0), RGB(100, 100, 100)}},
      {"gray 1 bit", PngOf(3, 1, PNG_COLOR_TYPE_GRAY, 1, {{0xA0}}), {kWhite, RGB(0, 0, 0), kWhite}},
      {"gray alpha 16", PngOf(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {{0x12, 0x34, 0, 0}}), {kWhite}},
      {"palette with tRNS", palette, {kRed, kWhite, kBlue}},
      {"interlaced", interlaced, {kRed, kGreen, kBlue}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TBitmap b = Decode(MakePng(c.layout));
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    ASSERT_EQ(b.Width(), int32_t(c.topRow.size()));
    ASSERT_EQ(b.Height(), c.layout.Height);
    for (size_t x = 0; x < c.topRow.size(); ++x) EXPECT_EQ(b.GetPixel(int32_t(x), 0), c.topRow[x]);
  }
  EXPECT_EQ(Decode(MakePng(interlaced)).GetPixel(0, 1), kBlue) << "second row of Adam7";
}

TEST(PngRead, SemiTransparentPixelsAreBlendedWithWhite) {
  const TBitmap b = Decode(MakeRgbaPng(1, 1, {0x80000000}));  // black at half opacity
  const TColor c = b.GetPixel(0, 0);
  EXPECT_GT(GetRValue(c), 60);
  EXPECT_LT(GetRValue(c), 200);
  EXPECT_EQ(GetRValue(c), GetBValue(c));
}

TEST(PngRead, MaskVariantKeepsColoursAndThresholdsAlpha) {
  std::vector<uint8_t> mask;
  TBitmap b;
  const TBytes file = MakeRgbaPng(3, 1, {0xFF0000FF, 0x7F00FF00, 0x80FF0000});
  DecodePngWithMask(file.data(), file.size(), "icon.png", b, mask);
  EXPECT_EQ(b.GetPixel(1, 0), kGreen) << "not composited";
  EXPECT_EQ(mask, (std::vector<uint8_t>{255, 0, 255}));
  const TBytes opaque = MakeRgbaPng(2, 1, {0xFF0000FF, 0xFF00FF00});
  DecodePngWithMask(opaque.data(), opaque.size(), "icon.png", b, mask);
  EXPECT_TRUE(mask.empty());
}

TEST(PngRead, BrokenFilesRaiseTheirTexts) {
  const TBytes good = MakePng(PngOf(2, 2, PNG_COLOR_TYPE_RGB, 8, {TBytes(6, 9), TBytes(6, 200)}));
  TBytes badCrc = good;
  badCrc[good.size() - 20] ^= 0x55;  // inside IDAT
  // IHDR with 20000 x 20000 and a correct checksum.
  TBytes huge = good;
  const uint8_t side[4] = {0, 0, 0x4E, 0x20};
  std::copy(side, side + 4, huge.begin() + 16);
  std::copy(side, side + 4, huge.begin() + 20);
  const uLong crc = crc32(0, &huge[12], 17);
  const uint8_t crcBytes[4] = {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8),
                               uint8_t(crc)};
  std::copy(crcBytes, crcBytes + 4, huge.begin() + 29);
  struct Case {
    const char* what;
    TBytes file;
    std::string expected;
  } cases[] = {
      {"empty", {}, PictureDamagedText("bild.png")},
      {"signature only", TBytes(good.begin(), good.begin() + 8), PictureDamagedText("bild.png")},
      {"cut in the data", TBytes(good.begin(), good.end() - 16), PictureDamagedText("bild.png")},
      {"checksum", badCrc, PictureDamagedText("bild.png")},
      {"huge", huge, PictureTooLargeText("bild.png")},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf([&] { Decode(c.file); }), c.expected) << c.what;
}

}  // namespace qv::test
