#include <gtest/gtest.h>

#include "Bitmap.h"
#include "BmpFile.h"
#include "PictureIo.h"
#include "PictureTestSupport.h"

namespace qv::test {

namespace {

constexpr TColor kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
constexpr TColor kGray = RGB(128, 128, 128);

TBitmap Decode(const TBytes& file) {
  TBitmap b;
  DecodeBmp(file.data(), file.size(), "bild.bmp", b);
  return b;
}

std::string DecodeFailure(const TBytes& file) {
  return ErrorOf([&] { Decode(file); });
}

// Rows from the top as the test expects them to appear.
void ExpectPixels(const TBitmap& b, const std::vector<std::vector<TColor>>& rows) {
  ASSERT_EQ(b.Height(), int32_t(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y) {
    ASSERT_EQ(b.Width(), int32_t(rows[y].size()));
    for (size_t x = 0; x < rows[y].size(); ++x)
      EXPECT_EQ(b.GetPixel(int32_t(x), int32_t(y)), rows[y][x]) << "pixel " << x << ", " << y;
  }
}

// A 3 x 2 indexed picture, file rows bottom-up: top row 0 1 2, bottom row 3 0 1.
TDibLayout Indexed(int bpp, uint32_t headerSize = 40) {
  TDibLayout s;
  s.HeaderSize = headerSize;
  s.Width = 3;
  s.Height = 2;
  s.BitCount = uint16_t(bpp);
  s.Palette = {kRed, kGreen, kBlue, kGray};
  if (bpp == 1) {
    s.Palette.resize(2);
    s.Bits = PackRows(bpp, {{1, 0, 1}, {0, 1, 0}});
  } else {
    s.Bits = PackRows(bpp, {{3, 0, 1}, {0, 1, 2}});
  }
  return s;
}

}  // namespace

TEST(BmpRead, IndexedDepthsAndHeadersBecome24Bits) {
  const std::vector<std::vector<TColor>> four = {{kRed, kGreen, kBlue}, {kGray, kRed, kGreen}};
  struct Case {
    TDibLayout layout;
    std::vector<std::vector<TColor>> expected;
  } cases[] = {
      {Indexed(1), {{kRed, kGreen, kRed}, {kGreen, kRed, kGreen}}},
      {Indexed(2), four},
      {Indexed(4), four},
      {Indexed(8), four},
      {Indexed(8, 12), four},   // OS/2 core header, 3-byte colour table
      {Indexed(4, 124), four},  // V5 header
      {Indexed(8, 64), four},   // OS/2 2.x header
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("bits " + std::to_string(c.layout.BitCount) + ", header " +
                 std::to_string(c.layout.HeaderSize));
    const TBitmap b = Decode(MakeBmp(c.layout));
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    ExpectPixels(b, c.expected);
  }
}

TEST(BmpRead, ColourTableShorterThanTheDepthAllowsIsEnough) {
  TDibLayout s = Indexed(8);
  s.ColorsUsed = 4;
  ExpectPixels(Decode(MakeBmp(s)), {{kRed, kGreen, kBlue}, {kGray, kRed, kGreen}});
}

TEST(BmpRead, IndexOutsideTheColourTableIsDamage) {
  TDibLayout s = Indexed(8);
  s.ColorsUsed = 3;
  s.Palette.resize(3);  // index 3 in the bottom row has no colour
  EXPECT_EQ(DecodeFailure(MakeBmp(s)), PictureDamagedText("bild.bmp"));
}

TEST(BmpRead, SixteenBitsAsFiveFiveFiveAndAsBitFields) {
  TDibLayout s;
  s.Width = 2;
  s.Height = 1;
  s.BitCount = 16;
  s.Bits = PackRows(16, {{0x7C00, 0x0210}});  // red; green and blue at 16 of 31
  const uint8_t mid = uint8_t((16 * 255 + 15) / 31);
  ExpectPixels(Decode(MakeBmp(s)), {{kRed, RGB(0, mid, mid)}});

  s.Compression = 3;  // BI_BITFIELDS 565
  s.Masks = {0xF800, 0x07E0, 0x001F};
  s.Bits = PackRows(16, {{0x07E0, 0xF81F}});
  ExpectPixels(Decode(MakeBmp(s)), {{kGreen, RGB(255, 0, 255)}});
  s.HeaderSize = 108;  // V4 header carries the masks itself
  ExpectPixels(Decode(MakeBmp(s)), {{kGreen, RGB(255, 0, 255)}});
}

TEST(BmpRead, TwentyFourBitsKeepFormatBottomUpAndTopDown) {
  TDibLayout s;
  s.Width = 3;  // 9 bytes + 3 padding per row
  s.Height = 2;
  s.Bits = PackRows(24, {{0x0000FF, 0x00FF00, 0xFF0000}, {0x808080, 0x0000FF, 0x00FF00}});
  const TBitmap b = Decode(MakeBmp(s));
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  ExpectPixels(b, {{kGray, kBlue, kGreen}, {kBlue, kGreen, kRed}});
  s.Height = -2;
  ExpectPixels(Decode(MakeBmp(s)), {{kBlue, kGreen, kRed}, {kGray, kBlue, kGreen}});
}

TEST(BmpRead, ThirtyTwoBitsKeepFormatWithTheFourthByteCleared) {
  TDibLayout s;
  s.Width = 2;
  s.Height = 1;
  s.BitCount = 32;
  s.Bits = PackRows(32, {{0xFFFF0000, 0x800000FF}});
  TBitmap b = Decode(MakeBmp(s));
  ASSERT_EQ(b.PixelFormat(), pf32bit);
  ExpectPixels(b, {{kRed, kBlue}});
  EXPECT_EQ(b.Pixels32()[0], 0x00FF0000u);
  EXPECT_EQ(b.Pixels32()[1], 0x000000FFu);

  s.Compression = 3;  // masks in an unusual order: red lowest, blue highest
  s.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  s.Bits = PackRows(32, {{0x000000FF, 0x00FF0000}});
  b = Decode(MakeBmp(s));
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  ExpectPixels(b, {{kRed, kBlue}});
}

TEST(BmpRead, Rle8RunsLiteralsDeltaAndEndOfLine) {
  TDibLayout s;
  s.Width = 5;
  s.Height = 3;
  s.BitCount = 8;
  s.Compression = 1;
  s.Palette = {kGray, kGreen, kBlue, kRed};
  s.Bits = {
      2, 1, 0, 3, 1, 2, 3, 0,  // bottom row: run of two 1, literal 1 2 3 (padded)
      0, 0,                    // end of line
      2, 3, 0, 2, 1, 1,        // middle row: run of two 3, delta one right and one up
      2, 1, 0, 1,              // top row from x 3: run of two 1, end of bitmap
  };
  // Pixels the delta and the end of line skip take colour 0.
  ExpectPixels(Decode(MakeBmp(s)), {{kGray, kGray, kGray, kGreen, kGreen},
                                    {kRed, kRed, kGray, kGray, kGray},
                                    {kGreen, kGreen, kGreen, kBlue, kRed}});
}

TEST(BmpRead, Rle4AlternatesNibbles) {
  TDibLayout s;
  s.Width = 6;
  s.Height = 1;
  s.BitCount = 4;
  s.Compression = 2;
  s.Palette = {kRed, kGreen, kBlue, kGray};
  s.Bits = {3, 0x12, 0, 3, 0x30, 0x10, 0, 1};  // run 1 2 1, literal 3 0 1, end of bitmap
  ExpectPixels(Decode(MakeBmp(s)), {{kGreen, kBlue, kGreen, kGray, kRed, kGreen}});
}

TEST(BmpRead, DamagedAndUnusableFilesRaiseTheirTexts) {
  const std::string damaged = PictureDamagedText("bild.bmp");
  const std::string unusable = PictureFormatText("bild.bmp");
  const std::string tooLarge = PictureTooLargeText("bild.bmp");
  TDibLayout rle;
  rle.Width = 4;
  rle.Height = 2;
  rle.BitCount = 8;
  rle.Compression = 1;
  rle.Palette = {kRed};
  auto withRle = [&](TBytes bits) {
    TDibLayout s = rle;
    s.Bits = std::move(bits);
    return MakeBmp(s);
  };
  auto withSize = [](int32_t w, int32_t h) {
    TDibLayout s;
    s.Width = w;
    s.Height = h;
    return MakeBmp(s);
  };
  TDibLayout bits64 = Indexed(8);
  bits64.BitCount = 64;
  TDibLayout jpegInside = Indexed(8);
  jpegInside.Compression = 4;
  TDibLayout badHeader = Indexed(8, 20);
  const TBytes good = MakeBmp(Indexed(8));
  TBytes pastEnd = good;
  PutLE32(&pastEnd[10], uint32_t(good.size() + 1));

  struct Case {
    const char* what;
    TBytes file;
    std::string expected;
  } cases[] = {
      {"empty file", {}, damaged},
      {"no signature", TBytes(good.size(), 0), damaged},
      {"header only", TBytes(good.begin(), good.begin() + 30), damaged},
      {"rows cut off", TBytes(good.begin(), good.end() - 1), damaged},
      {"bits offset past the end", pastEnd, damaged},
      {"width 0", withSize(0, 5), damaged},
      {"height 0", withSize(5, 0), damaged},
      {"negative width", withSize(-5, 5), damaged},
      {"smallest height", withSize(5, INT32_MIN), tooLarge},
      {"too wide", withSize(MaxPictureDimension + 1, 1), tooLarge},
      {"too many pixels", withSize(MaxPictureDimension, MaxPictureDimension + 1), tooLarge},
      {"unknown header size", MakeBmp(badHeader), damaged},
      {"64 bits", MakeBmp(bits64), unusable},
      {"JPEG inside", MakeBmp(jpegInside), unusable},
      {"run past the row", withRle({5, 0, 0, 1}), damaged},
      {"literal past the row", withRle({0, 5, 0, 0, 0, 0, 0, 0, 0, 1}), damaged},
      {"delta past the bitmap", withRle({0, 2, 5, 0, 0, 1}), damaged},
      {"rows past the top", withRle({0, 0, 0, 0, 1, 0, 0, 1}), damaged},
      {"no end of bitmap", withRle({4, 0, 0, 0}), damaged},
      {"literal cut off", withRle({0, 4, 0, 0}), damaged},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeFailure(c.file), c.expected) << c.what;
}

TEST(BmpRead, EveryTruncationIsReportedNeverReadPast) {
  TDibLayout rle;
  rle.Width = 4;
  rle.Height = 2;
  rle.BitCount = 8;
  rle.Compression = 1;
  rle.Palette = {kRed, kGreen};
  rle.Bits = {4, 1, 0, 0, 0, 4, 0, 1, 1, 0, 0, 1};
  for (const TBytes& file : {MakeBmp(Indexed(4)), MakeBmp(rle)}) {
    for (size_t n = 0; n < file.size(); ++n) {
      // An exact copy in a buffer of its own size, so that ASan sees any read past it.
      const TBytes cut(file.begin(), file.begin() + n);
      EXPECT_EQ(DecodeFailure(cut), PictureDamagedText("bild.bmp")) << n << " bytes";
    }
  }
}

class BmpWrite : public TPictureTest {};

TEST_F(BmpWrite, WritesOwnFormatWithInfoHeaderAndReadsBack) {
  for (TPixelFormat pf : {pf24bit, pf32bit}) {
    const TBitmap picture = PatternBitmap(5, 3, pf);  // odd width: padded 24-bit rows
    const std::string path = Path("frame.bmp");
    SaveBmpFile(path, picture);
    const TBytes file = ReadBytes(path);
    const size_t rowBytes = pf == pf24bit ? 16 : 20;
    ASSERT_EQ(file.size(), 54 + 3 * rowBytes);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(GetLE32(&file[2]), file.size());
    EXPECT_EQ(GetLE32(&file[10]), 54u);
    EXPECT_EQ(GetLE32(&file[14]), 40u);
    EXPECT_EQ(int32_t(GetLE32(&file[22])), 3) << "bottom-up";
    EXPECT_EQ(GetLE16(&file[28]), uint16_t(pf));
    EXPECT_EQ(GetLE32(&file[30]), 0u) << "BI_RGB";
    // Bottom row first: the first pixel of the file is (0, 2).
    EXPECT_EQ(RGB(file[56], file[55], file[54]), PatternColor(0, 2));

    const TBitmap back = Decode(file);
    EXPECT_EQ(back.PixelFormat(), pf);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(back.GetPixel(x, y), PatternColor(x, y));
  }
}

TEST_F(BmpWrite, UnwritableFileRaisesWriteError) {
  const std::string path = Path("no-such-folder/frame.bmp");
  EXPECT_EQ(ErrorOf([&] { SaveBmpFile(path, PatternBitmap(2, 2)); }), PictureWriteText(path));
}

}  // namespace qv::test
