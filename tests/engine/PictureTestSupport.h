// Shared ground of the picture file tests: a scratch folder, picture files written directly
// with libjpeg, giflib and libpng, and a builder for hand-made BMP variants.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Types.h"

namespace qv::test {

using TBytes = std::vector<uint8_t>;

// A fresh folder per test, removed afterwards.
class TPictureTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return (FDir / name).string(); }
  std::string Write(const std::string& name, const TBytes& bytes) const;

  std::filesystem::path FDir;
};

void WriteBytes(const std::string& path, const TBytes& bytes);
TBytes ReadBytes(const std::string& path);

// The text of the EMorphError that f raises; fails the test when it raises none.
std::string ErrorOf(const std::function<void()>& f);

// A colourful test pattern with a different colour in (nearly) every pixel.
TColor PatternColor(int32_t x, int32_t y);
TBitmap PatternBitmap(int32_t w, int32_t h, TPixelFormat pf = pf24bit);
// Largest difference of one channel between two colours.
int ColorDistance(TColor a, TColor b);

// JPEG files written with libjpeg. Samples: 3 bytes (RGB) per pixel, 1 (gray) or 4 (CMYK as
// an Adobe file stores it: inverted), rows from the top.
enum class TJpegKind { Rgb, Gray, AdobeCmyk, AdobeYcck };
TBytes MakeJpeg(int32_t w, int32_t h, TJpegKind kind, const TBytes& samples,
                bool progressive = false, int quality = 90);
// An RGB JPEG of the pattern.
TBytes MakePatternJpeg(int32_t w, int32_t h, bool progressive = false);

// GIF files written with giflib.
struct TGifFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Interlace = false;
  std::vector<TColor> LocalColors;  // empty: the global table
  int Transparent = -1;
  TBytes Indexes;  // Width * Height, rows from the top
};
TBytes MakeGif(int screenW, int screenH, const std::vector<TColor>& globalColors,
               const std::vector<TGifFrame>& frames);

// PNG files written with libpng's own writer. rows: the raw samples of each row from the top.
struct TPngLayout {
  int32_t Width = 0, Height = 0;
  int ColorType = 0;  // PNG_COLOR_TYPE_...
  int BitDepth = 8;
  bool Interlace = false;
  std::vector<TColor> Palette;
  TBytes Transparency;  // tRNS: alpha per palette entry
  std::vector<TBytes> Rows;
};
TBytes MakePng(const TPngLayout& layout);
// An RGBA PNG, pixels 0xAABBGGRR from the top.
TBytes MakeRgbaPng(int32_t w, int32_t h, const std::vector<uint32_t>& pixels);

// Device-independent bitmaps built field by field.
struct TDibLayout {
  uint32_t HeaderSize = 40;
  int32_t Width = 0, Height = 0;
  uint16_t BitCount = 24;
  uint32_t Compression = 0;
  uint32_t ColorsUsed = 0;
  std::vector<uint32_t> Masks;  // in the header from 52 bytes on, else after it
  std::vector<TColor> Palette;  // 4 bytes each (3 with the 12-byte core header)
  TBytes Bits;
};
TBytes MakeDib(const TDibLayout& layout);
// With file header; offBits 0 writes the true offset of the bits.
TBytes MakeBmp(const TDibLayout& layout, uint32_t offBits = 0);
// Rows of values of bpp bits each, packed and padded to four bytes, in the order given.
TBytes PackRows(int bpp, const std::vector<std::vector<uint32_t>>& rows);

// Icon file of the given images (each a DIB or a PNG file) with their directory entries.
struct TIconImage {
  int Width = 0, Height = 0, BitCount = 0;
  TBytes Data;
};
TBytes MakeIco(const std::vector<TIconImage>& images);

}  // namespace qv::test
