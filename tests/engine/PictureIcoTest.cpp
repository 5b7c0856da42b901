#include <gtest/gtest.h>

#include "Bitmap.h"
#include "IcoFile.h"
#include "Picture.h"
#include "PictureIo.h"
#include "PictureTestSupport.h"

namespace qv::test {

namespace {

constexpr TColor kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
constexpr TColor kGray = RGB(128, 128, 128);

// A w x h icon image of 8 bits, all pixels colour 1 (green) but the left column colour 2
// (blue), with an AND mask making the top row transparent.
TIconImage Indexed8(int w, int h) {
  TDibLayout s;
  s.Width = w;
  s.Height = 2 * h;
  s.BitCount = 8;
  s.Palette = {kRed, kGreen, kBlue};
  s.ColorsUsed = 3;
  std::vector<std::vector<uint32_t>> rows(size_t(h), std::vector<uint32_t>(size_t(w), 1));
  for (auto& r : rows) r[0] = 2;
  s.Bits = PackRows(8, rows);
  std::vector<std::vector<uint32_t>> mask(size_t(h), std::vector<uint32_t>(size_t(w), 0));
  mask.back().assign(size_t(w), 1);  // the last row of the file is the top row
  const TBytes maskBits = PackRows(1, mask);
  s.Bits.insert(s.Bits.end(), maskBits.begin(), maskBits.end());
  return {w, h, 8, MakeDib(s)};
}

// A w x h 32-bit image: red, alpha 255 except the right column (alpha 0), no AND mask.
TIconImage Alpha32(int w, int h) {
  TDibLayout s;
  s.Width = w;
  s.Height = 2 * h;
  s.BitCount = 32;
  std::vector<std::vector<uint32_t>> rows(size_t(h), std::vector<uint32_t>(size_t(w), 0xFFFF0000));
  for (auto& r : rows) r.back() = 0x00FF0000;
  s.Bits = PackRows(32, rows);
  return {w, h, 32, MakeDib(s)};
}

void DecodeIcon(const TBytes& file, TBitmap& b, std::vector<uint8_t>& mask) {
  DecodeIco(file.data(), file.size(), "bild.ico", b, mask);
}

}  // namespace

TEST(IcoRead, LargestImageWinsAndItsAlphaBecomesTheMask) {
  TBitmap b;
  std::vector<uint8_t> mask;
  DecodeIcon(MakeIco({Indexed8(4, 4), Alpha32(6, 5), Indexed8(6, 5)}), b, mask);
  ASSERT_EQ(b.Width(), 6) << "the 6 x 5 image of 32 bits beats the one of 8 bits";
  ASSERT_EQ(b.Height(), 5);
  EXPECT_EQ(b.GetPixel(0, 0), kRed);
  ASSERT_EQ(mask.size(), 30u);
  EXPECT_EQ(mask[0], 255);
  EXPECT_EQ(mask[5], 0) << "right column transparent";
  EXPECT_EQ(mask[29], 0);
}

TEST(IcoRead, AndMaskOfAnIndexedImage) {
  TBitmap b;
  std::vector<uint8_t> mask;
  DecodeIcon(MakeIco({Indexed8(3, 2)}), b, mask);
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(b.GetPixel(0, 1), kBlue);
  EXPECT_EQ(b.GetPixel(2, 1), kGreen);
  EXPECT_EQ(mask, (std::vector<uint8_t>{0, 0, 0, 255, 255, 255}));
}

TEST(IcoRead, PngImageInside) {
  TBitmap b;
  std::vector<uint8_t> mask;
  std::vector<uint32_t> pixels(256 * 256, 0xFF808080);
  pixels[0] = 0;
  DecodeIcon(MakeIco({Indexed8(16, 16), {256, 256, 32, MakeRgbaPng(256, 256, pixels)}}), b, mask);
  ASSERT_EQ(b.Width(), 256);
  EXPECT_EQ(b.GetPixel(5, 5), kGray);
  ASSERT_EQ(mask.size(), size_t(256 * 256));
  EXPECT_EQ(mask[0], 0);
  EXPECT_EQ(mask[1], 255);
}

TEST(IcoRead, BrokenFilesAreDamaged) {
  const TBytes good = MakeIco({Indexed8(4, 4)});
  TBytes noMask = good;
  noMask.resize(good.size() - 16);  // 8-bit image without its AND mask
  PutLE32(&noMask[6 + 8], GetLE32(&good[6 + 8]) - 16);
  TBytes offsetPast = good;
  PutLE32(&offsetPast[6 + 12], uint32_t(good.size()));
  TBytes manyEntries = good;
  PutLE16(&manyEntries[4], 400);
  TBytes cursorTypeBad = good;
  PutLE16(&cursorTypeBad[2], 3);
  for (const TBytes& file : {TBytes{}, noMask, offsetPast, manyEntries, cursorTypeBad,
                             TBytes(good.begin(), good.begin() + 30)}) {
    TBitmap b;
    std::vector<uint8_t> mask;
    EXPECT_EQ(ErrorOf([&] { DecodeIcon(file, b, mask); }), PictureDamagedText("bild.ico"))
        << file.size() << " bytes";
  }
}

class PictureObject : public TPictureTest {};

TEST_F(PictureObject, DrawsAtNaturalSizeLeavingTransparentPixels) {
  TPicture picture;
  EXPECT_TRUE(picture.Empty());
  picture.LoadFromFile(Write("logo.ICO", MakeIco({Indexed8(3, 2)})));
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Height(), 2);

  TBitmap target(pf24bit);
  target.SetSize(6, 4);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 6; ++x) target.SetPixel(x, y, kGray);
  picture.Draw(target.Canvas(), 2, 1);
  EXPECT_EQ(target.GetPixel(2, 1), kGray) << "transparent top row";
  EXPECT_EQ(target.GetPixel(2, 2), kBlue);
  EXPECT_EQ(target.GetPixel(4, 2), kGreen);
  EXPECT_EQ(target.GetPixel(5, 2), kGray) << "natural size, not stretched";
  EXPECT_EQ(target.GetPixel(2, 3), kGray);
}

TEST_F(PictureObject, OpaquePicturesDrawEveryPixel) {
  TPicture picture;
  TDibLayout s;
  s.Width = 2;
  s.Height = 1;
  s.Bits = PackRows(24, {{0x0000FF, 0xFF0000}});
  picture.LoadFromFile(Write("bg.bmp", MakeBmp(s)));
  EXPECT_TRUE(picture.Mask().empty());
  TBitmap target(pf32bit);
  target.SetSize(2, 1);
  picture.Draw(target.Canvas(), 0, 0);
  EXPECT_EQ(target.GetPixel(0, 0), kBlue);
  EXPECT_EQ(target.GetPixel(1, 0), kRed);
}

TEST_F(PictureObject, FailedLoadKeepsThePictureAndNamesTheFile) {
  TPicture picture;
  picture.LoadFromFile(Write("a.ico", MakeIco({Indexed8(3, 2)})));
  const std::string missing = Path("missing.png");
  const std::string metafile = Write("drawing.emf", TBytes(100, 1));
  const std::string broken = Write("broken.gif", TBytes(10, 1));
  EXPECT_EQ(ErrorOf([&] { picture.LoadFromFile(missing); }), PictureNotFoundText(missing));
  EXPECT_EQ(ErrorOf([&] { picture.LoadFromFile(metafile); }), PictureFormatText(metafile));
  EXPECT_EQ(ErrorOf([&] { picture.LoadFromFile(broken); }), PictureDamagedText(broken));
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Mask().size(), 6u);
  picture.Clear();
  EXPECT_TRUE(picture.Empty());
}

}  // namespace qv::test
