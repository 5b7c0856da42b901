#include "PngFile.h"

#include <png.h>

#include <algorithm>
#include <cstring>

#include "Bitmap.h"
#include "MorphError.h"
#include "PictureIo.h"

namespace qv {

namespace {

// libpng's simplified reader keeps its error handling (setjmp/longjmp) inside the library and
// answers 0 on any failure; the image is freed on every path.
struct TPngImage {
  png_image Image;
  TPngImage() {
    std::memset(&Image, 0, sizeof Image);
    Image.version = PNG_IMAGE_VERSION;
  }
  ~TPngImage() { png_image_free(&Image); }
};

uint32_t GetBE32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Deflate turns at most 258 bytes into 2 bits: no image data expands by more than this.
constexpr uint64_t kMaxDeflateRatio = 1032;

// libpng's simplified reader stops after the image data; a file is whole only with its IEND
// chunk. Walks the chunks (length, type, data, checksum) within the data, and answers false
// as well when the image data present cannot hold the rows of the header's size (a cut or
// forged file would otherwise make the picture's memory be taken before libpng fails).
bool IsWholeFile(const uint8_t* data, size_t size) {
  constexpr size_t kSignature = 8, kChunkFrame = 12, kHeaderEnd = 8 + 8 + 13;
  if (size < kHeaderEnd) return false;
  const uint64_t width = GetBE32(data + 16), height = GetBE32(data + 20);
  const unsigned depth = data[24], colorType = data[25];
  const unsigned channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
  // Every row: a filter byte and its samples (interlaced files only add to that).
  const uint64_t rawBytes = height * (1 + (width * channels * depth + 7) / 8);
  uint64_t imageData = 0;
  size_t at = kSignature;
  while (at <= size && size - at >= kChunkFrame) {
    const uint32_t length = GetBE32(data + at);
    if (std::memcmp(data + at + 4, "IEND", 4) == 0)
      return rawBytes <= kMaxDeflateRatio * (imageData + 16);
    if (length > size - at - kChunkFrame) return false;
    if (std::memcmp(data + at + 4, "IDAT", 4) == 0) imageData += length;
    at += kChunkFrame + length;
  }
  return false;
}

void BeginRead(TPngImage& png, const uint8_t* data, size_t size, const std::string& fileName) {
  if (!png_image_begin_read_from_memory(&png.Image, data, size))
    throw EMorphError(PictureDamagedText(fileName));
  CheckPictureSize(fileName, png.Image.width, png.Image.height);
  if (!IsWholeFile(data, size)) throw EMorphError(PictureDamagedText(fileName));
  // 16-bit samples without gamma information are sRGB like 8-bit ones, not linear.
  png.Image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
}

}  // namespace

void DecodePng(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap) {
  TPngImage png;
  BeginRead(png, data, size, fileName);
  png.Image.format = PNG_FORMAT_BGR;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(int32_t(png.Image.width), int32_t(png.Image.height));
  const png_color white = {255, 255, 255};
  // Negative stride: the bottom row comes first in memory, as in the bitmap.
  if (!png_image_finish_read(&png.Image, &white, bitmap.Bits(), -bitmap.RowBytes(), nullptr))
    throw EMorphError(PictureDamagedText(fileName));
}

void DecodePngWithMask(const uint8_t* data, size_t size, const std::string& fileName,
                       TBitmap& bitmap, std::vector<uint8_t>& mask) {
  TPngImage png;
  BeginRead(png, data, size, fileName);
  png.Image.format = PNG_FORMAT_BGRA;
  const int32_t w = int32_t(png.Image.width), h = int32_t(png.Image.height);
  std::vector<uint8_t> pixels(size_t(w) * h * 4);
  if (!png_image_finish_read(&png.Image, nullptr, pixels.data(), 0, nullptr))
    throw EMorphError(PictureDamagedText(fileName));
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(w, h);
  mask.assign(size_t(w) * h, 0);
  bool transparent = false;
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* src = pixels.data() + size_t(y) * w * 4;
    uint8_t* dst = bitmap.ScanLine(y);
    uint8_t* m = mask.data() + size_t(y) * w;
    for (int32_t x = 0; x < w; ++x, src += 4, dst += 3) {
      std::memcpy(dst, src, 3);
      m[x] = src[3] >= 128 ? 255 : 0;
      transparent = transparent || m[x] == 0;
    }
  }
  if (!transparent) mask.clear();
}

}  // namespace qv
