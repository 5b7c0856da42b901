// Damaged files of every format: cut at every length and with random bytes changed, each
// decoder either decodes or raises EMorphError, never anything else (and under the sanitizers
// never reads outside the data).
#include <gtest/gtest.h>
#include <png.h>

#include <random>

#include "Bitmap.h"
#include "BmpFile.h"
#include "GifFile.h"
#include "IcoFile.h"
#include "JpegFile.h"
#include "MorphError.h"
#include "PictureTestSupport.h"
#include "PngFile.h"

namespace qv::test {

namespace {

using TDecoder = void (*)(const TBytes&);

void Bmp(const TBytes& f) {
  TBitmap b;
  DecodeBmp(f.data(), f.size(), "f", b);
}
void Jpeg(const TBytes& f) {
  TBitmap b;
  DecodeJpeg(f.data(), f.size(), "f", b);
}
void Gif(const TBytes& f) {
  TBitmap b;
  DecodeGif(f.data(), f.size(), "f", b);
}
void Png(const TBytes& f) {
  TBitmap b;
  DecodePng(f.data(), f.size(), "f", b);
}
void Ico(const TBytes& f) {
  TBitmap b;
  std::vector<uint8_t> mask;
  DecodeIco(f.data(), f.size(), "f", b, mask);
}

struct TSample {
  const char* Name;
  TDecoder Decode;
  TBytes File;
};

std::vector<TSample> Samples() {
  TDibLayout indexed;
  indexed.Width = 5;
  indexed.Height = 3;
  indexed.BitCount = 4;
  indexed.Palette = {RGB(1, 2, 3), RGB(200, 0, 0), RGB(0, 200, 0)};
  indexed.ColorsUsed = 3;
  indexed.Bits = PackRows(4, {{0, 1, 2, 1, 0}, {2, 2, 1, 1, 0}, {1, 0, 0, 2, 2}});
  TDibLayout rle = indexed;
  rle.BitCount = 8;
  rle.Compression = 1;
  rle.Bits = {2, 1, 0, 3, 2, 0, 1, 0, 0, 0, 0, 2, 1, 1, 2, 2, 0, 1};
  TDibLayout fields;
  fields.HeaderSize = 124;
  fields.Width = 3;
  fields.Height = -2;
  fields.BitCount = 16;
  fields.Compression = 3;
  fields.Masks = {0xF800, 0x07E0, 0x001F};
  fields.Bits = PackRows(16, {{1, 2, 3}, {0xFFFF, 0x1234, 0}});
  TDibLayout icon = indexed;
  icon.Height = 6;
  const TBytes andMask = PackRows(1, {{1, 0, 0, 0, 1}, {0, 0, 0, 0, 0}, {0, 1, 1, 1, 0}});
  icon.Bits.insert(icon.Bits.end(), andMask.begin(), andMask.end());

  TGifFrame frame;
  frame.Left = 1;
  frame.Width = 6;
  frame.Height = 9;
  frame.Interlace = true;
  frame.Transparent = 1;
  for (int i = 0; i < 54; ++i) frame.Indexes.push_back(uint8_t(i * 7 % 4));
  std::vector<uint32_t> rgba(7 * 5);
  for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = uint32_t(i * 0x01030507u);
  TPngLayout palette;
  palette.Width = 5;
  palette.Height = 4;
  palette.ColorType = PNG_COLOR_TYPE_PALETTE;
  palette.BitDepth = 2;
  palette.Interlace = true;
  palette.Palette = {RGB(1, 2, 3), RGB(9, 8, 7), RGB(200, 100, 0), RGB(5, 5, 5)};
  palette.Transparency = {0, 128};
  palette.Rows.assign(4, TBytes{0x1B, 0xE4});

  return {
      {"bmp 4 bits", Bmp, MakeBmp(indexed)},
      {"bmp rle8", Bmp, MakeBmp(rle)},
      {"bmp bit fields", Bmp, MakeBmp(fields)},
      {"jpeg", Jpeg, MakePatternJpeg(24, 16)},
      {"jpeg progressive", Jpeg, MakePatternJpeg(24, 16, true)},
      {"gif", Gif,
       MakeGif(8, 9, {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 9, 0), RGB(7, 7, 7)}, {frame})},
      {"png rgba", Png, MakeRgbaPng(7, 5, rgba)},
      {"png palette", Png, MakePng(palette)},
      {"ico", Ico, MakeIco({{5, 3, 4, MakeDib(icon)}, {7, 5, 32, MakeRgbaPng(7, 5, rgba)}})},
  };
}

// Answers false when the decoder raised anything but EMorphError.
bool DecodesOrReports(TDecoder decode, const TBytes& file) {
  try {
    decode(file);
  } catch (const EMorphError&) {
  } catch (...) {
    return false;
  }
  return true;
}

}  // namespace

TEST(PictureRobustness, SamplesDecode) {
  for (const TSample& s : Samples()) EXPECT_NO_THROW(s.Decode(s.File)) << s.Name;
}

TEST(PictureRobustness, EveryCutIsReportedAsDamage) {
  for (const TSample& s : Samples())
    for (size_t n = 0; n < s.File.size(); ++n) {
      const TBytes cut(s.File.begin(), s.File.begin() + n);
      // A GIF whose image data is complete but whose trailer is missing is still whole.
      if (std::string(s.Name) == "gif" && n + 1 == s.File.size()) continue;
      EXPECT_FALSE(ErrorOf([&] { s.Decode(cut); }).empty()) << s.Name << ", " << n << " bytes";
    }
}

TEST(PictureRobustness, ChangedBytesNeverEscapeAsAnythingButEMorphError) {
  std::mt19937 random(20240611);
  for (const TSample& s : Samples()) {
    for (int round = 0; round < 400; ++round) {
      TBytes file = s.File;
      const int changes = 1 + int(random() % 4);
      for (int i = 0; i < changes; ++i) {
        const size_t at = random() % file.size();
        file[at] =
            random() % 3 == 0 ? uint8_t(random()) : uint8_t(file[at] ^ (1u << (random() % 8)));
      }
      ASSERT_TRUE(DecodesOrReports(s.Decode, file)) << s.Name << ", round " << round;
    }
  }
}

}  // namespace qv::test
