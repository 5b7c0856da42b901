#include "BmpFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "Bitmap.h"
#include "MorphError.h"
#include "PictureIo.h"

namespace qv {

namespace {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kOs2ShortHeaderSize = 16;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kOs2HeaderSize = 64;

// One colour channel of a bit-field pixel, scaled to 0 .. 255.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;

  explicit TChannel(uint32_t mask = 0) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Max = mask >> Shift;
  }
  uint8_t Get(uint32_t pixel) const {
    if (Max == 0) return 0;
    uint32_t v = (pixel & Mask) >> Shift;
    return uint8_t((uint64_t(v) * 255 + Max / 2) / Max);
  }
};

struct TDibHeader {
  int32_t Width = 0;
  int32_t Height = 0;
  bool TopDown = false;
  uint16_t BitCount = 0;
  uint32_t Compression = BI_RGB;
  bool Core = false;
  uint32_t ColorsUsed = 0;
  size_t TableOffset = 0;  // colour table, after the header and the masks that follow it
  TChannel Red, Green, Blue, Alpha;
};

struct TBgr {
  uint8_t B = 0, G = 0, R = 0;
};

// Reads one device-independent bitmap held in memory; every size taken from the data is
// checked against the bytes present before it is used.
class TDibReader {
 public:
  TDibReader(const uint8_t* data, size_t size, const std::string& fileName)
      : FData(data), FSize(size), FFileName(fileName) {}

  // bitsOffset 0: the bits follow the colour table. Answers the offset after the bits.
  size_t Decode(size_t bitsOffset, int heightDivisor, TBitmap& bitmap, std::vector<uint8_t>* alpha);

 private:
  [[noreturn]] void Damaged() const { throw EMorphError(PictureDamagedText(FFileName)); }
  [[noreturn]] void Unusable() const { throw EMorphError(PictureFormatText(FFileName)); }
  uint16_t U16(size_t at) const;
  uint32_t U32(size_t at) const;

  void ReadHeader(int heightDivisor);
  void CheckCompression() const;
  void ReadMasks();
  void ReadColorTable(size_t bitsOffset);
  TBgr PaletteColor(uint32_t index) const;
  size_t RowStride() const { return (size_t(FHeader.Width) * FHeader.BitCount + 31) / 32 * 4; }

  size_t DecodeRows(size_t bitsOffset, TBitmap& bitmap, std::vector<uint8_t>* alpha) const;
  void DecodeIndexedRow(const uint8_t* src, uint8_t* dst) const;
  void DecodeDirectRow(const uint8_t* src, uint8_t* dst, uint8_t* alpha) const;
  size_t DecodeRle(size_t bitsOffset, TBitmap& bitmap) const;

  const uint8_t* FData;
  size_t FSize;
  const std::string& FFileName;
  TDibHeader FHeader;
  std::array<TBgr, 256> FPalette{};
  uint32_t FPaletteCount = 0;
};

uint16_t TDibReader::U16(size_t at) const {
  if (at > FSize || FSize - at < 2) Damaged();
  return GetLE16(FData + at);
}

uint32_t TDibReader::U32(size_t at) const {
  if (at > FSize || FSize - at < 4) Damaged();
  return GetLE32(FData + at);
}

void TDibReader::ReadHeader(int heightDivisor) {
  const uint32_t headerSize = U32(0);
  if (headerSize > FSize) Damaged();
  TDibHeader& h = FHeader;
  int64_t height;
  if (headerSize == kCoreHeaderSize) {
    h.Core = true;
    h.Width = U16(4);
    height = U16(6);
    h.BitCount = U16(10);
  } else if (headerSize == kOs2ShortHeaderSize || headerSize >= kInfoHeaderSize) {
    h.Width = int32_t(U32(4));
    height = int32_t(U32(8));
    h.BitCount = U16(14);
    if (headerSize >= kInfoHeaderSize) {
      h.Compression = U32(16);
      h.ColorsUsed = U32(32);
    }
    // OS/2 2.x numbers Huffman 1D and RLE24 where Windows has its bit fields and JPEG.
    if (headerSize == kOs2HeaderSize && h.Compression >= BI_BITFIELDS) Unusable();
  } else {
    Damaged();
  }
  h.TopDown = height < 0;
  height = (height < 0 ? -height : height) / heightDivisor;
  CheckPictureSize(FFileName, h.Width, height);
  h.Height = int32_t(height);
  h.TableOffset = headerSize;
  CheckCompression();
  ReadMasks();
}

void TDibReader::CheckCompression() const {
  const uint16_t bits = FHeader.BitCount;
  switch (FHeader.Compression) {
    case BI_RGB:
      if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 &&
          bits != 32)
        Unusable();
      break;
    case BI_RLE8:
    case BI_RLE4:
      if (bits != (FHeader.Compression == BI_RLE8 ? 8 : 4) || FHeader.TopDown) Damaged();
      break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
      if (bits != 16 && bits != 32) Damaged();
      break;
    default:  // JPEG or PNG inside a BMP, or an unknown method
      Unusable();
  }
}

void TDibReader::ReadMasks() {
  TDibHeader& h = FHeader;
  if (h.Compression == BI_BITFIELDS || h.Compression == BI_ALPHABITFIELDS) {
    const bool withAlpha = h.Compression == BI_ALPHABITFIELDS;
    // The masks belong to the header from the V2 header on; after a 40-byte header they follow.
    const size_t at = kInfoHeaderSize;
    const size_t inHeader = (h.TableOffset - kInfoHeaderSize) / 4;
    const size_t count = withAlpha ? 4 : 3;
    h.TableOffset = std::max(h.TableOffset, kInfoHeaderSize + 4 * count);
    h.Red = TChannel(U32(at));
    h.Green = TChannel(U32(at + 4));
    h.Blue = TChannel(U32(at + 8));
    if (withAlpha || inHeader >= 4) h.Alpha = TChannel(U32(at + 12));
  } else if (h.BitCount == 16) {
    h.Red = TChannel(0x7C00);
    h.Green = TChannel(0x03E0);
    h.Blue = TChannel(0x001F);
  } else if (h.BitCount == 32) {
    h.Red = TChannel(0x00FF0000);
    h.Green = TChannel(0x0000FF00);
    h.Blue = TChannel(0x000000FF);
    h.Alpha = TChannel(0xFF000000);
  }
}

void TDibReader::ReadColorTable(size_t bitsOffset) {
  const TDibHeader& h = FHeader;
  if (h.BitCount > 8) return;
  const size_t entry = h.Core ? 3 : 4;
  const uint32_t full = 1u << h.BitCount;
  size_t count = (h.ColorsUsed == 0 || h.ColorsUsed > full) ? full : h.ColorsUsed;
  // In a file, a table reaching into the bits is cut to the entries before them; without a
  // bits offset (icons) the bits follow the whole table, which must be present.
  const size_t end = bitsOffset != 0 ? bitsOffset : FSize;
  if (end > FSize || end < h.TableOffset) Damaged();
  const size_t available = end - h.TableOffset;
  if (bitsOffset != 0)
    count = std::min(count, available / entry);
  else if (available / entry < count)
    Damaged();
  if (count == 0) Damaged();
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = FData + h.TableOffset + i * entry;
    FPalette[i] = TBgr{p[0], p[1], p[2]};
  }
  FPaletteCount = uint32_t(count);
}

TBgr TDibReader::PaletteColor(uint32_t index) const {
  if (index >= FPaletteCount) Damaged();
  return FPalette[index];
}

size_t TDibReader::Decode(size_t bitsOffset, int heightDivisor, TBitmap& bitmap,
                          std::vector<uint8_t>* alpha) {
  ReadHeader(heightDivisor);
  const TDibHeader& h = FHeader;
  if (bitsOffset != 0 && bitsOffset < h.TableOffset) Damaged();
  ReadColorTable(bitsOffset);
  if (bitsOffset == 0) {
    const size_t entry = h.Core ? 3 : 4;
    bitsOffset = h.TableOffset + size_t(FPaletteCount) * entry;
  }
  if (bitsOffset > FSize) Damaged();
  const bool rle = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
  if (!rle && (FSize - bitsOffset) / RowStride() < size_t(h.Height)) Damaged();
  bitmap.SetPixelFormat(h.BitCount == 24 ? pf24bit : h.BitCount == 32 ? pf32bit : pf24bit);
  bitmap.SetSize(h.Width, h.Height);
  if (alpha) alpha->clear();
  if (rle) return DecodeRle(bitsOffset, bitmap);
  return DecodeRows(bitsOffset, bitmap, alpha);
}

size_t TDibReader::DecodeRows(size_t bitsOffset, TBitmap& bitmap,
                              std::vector<uint8_t>* alpha) const {
  const TDibHeader& h = FHeader;
  const size_t stride = RowStride();
  const bool withAlpha = alpha && h.BitCount == 32;
  if (withAlpha) alpha->assign(size_t(h.Width) * h.Height, 0);
  for (int32_t y = 0; y < h.Height; ++y) {
    const size_t fileRow = h.TopDown ? size_t(y) : size_t(h.Height - 1 - y);
    const uint8_t* src = FData + bitsOffset + fileRow * stride;
    uint8_t* dst = bitmap.ScanLine(y);
    if (h.BitCount <= 8)
      DecodeIndexedRow(src, dst);
    else
      DecodeDirectRow(src, dst, withAlpha ? alpha->data() + size_t(y) * h.Width : nullptr);
  }
  return bitsOffset + stride * size_t(h.Height);
}

void TDibReader::DecodeIndexedRow(const uint8_t* src, uint8_t* dst) const {
  const int bits = FHeader.BitCount;
  const uint32_t valueMask = (1u << bits) - 1;
  for (int32_t x = 0; x < FHeader.Width; ++x, dst += 3) {
    const size_t bit = size_t(x) * bits;
    const uint32_t index = (src[bit / 8] >> (8 - bits - bit % 8)) & valueMask;
    const TBgr c = PaletteColor(index);
    dst[0] = c.B;
    dst[1] = c.G;
    dst[2] = c.R;
  }
}

void TDibReader::DecodeDirectRow(const uint8_t* src, uint8_t* dst, uint8_t* alpha) const {
  const TDibHeader& h = FHeader;
  if (h.BitCount == 24) {
    std::memcpy(dst, src, size_t(h.Width) * 3);
    return;
  }
  if (h.BitCount == 32 && h.Compression == BI_RGB) {
    for (int32_t x = 0; x < h.Width; ++x, dst += 4, src += 4) {
      std::memcpy(dst, src, 3);
      dst[3] = 0;
      if (alpha) alpha[x] = src[3];
    }
    return;
  }
  const size_t out = h.BitCount == 32 ? 4 : 3;
  for (int32_t x = 0; x < h.Width; ++x, dst += out) {
    const uint32_t pixel =
        h.BitCount == 32 ? GetLE32(src + 4 * size_t(x)) : GetLE16(src + 2 * size_t(x));
    dst[0] = h.Blue.Get(pixel);
    dst[1] = h.Green.Get(pixel);
    dst[2] = h.Red.Get(pixel);
    if (alpha) alpha[x] = h.Alpha.Get(pixel);
  }
}

// RLE8 and RLE4: runs and literal groups, bottom row first. A run past the end of a row, a
// move past the bitmap or data ending before the end-of-bitmap code is damage. Pixels the
// codes skip take colour 0 of the table.
size_t TDibReader::DecodeRle(size_t bitsOffset, TBitmap& bitmap) const {
  const TDibHeader& h = FHeader;
  const bool four = h.Compression == BI_RLE4;
  std::vector<uint8_t> indexes(size_t(h.Width) * h.Height, 0);
  size_t at = bitsOffset;
  int64_t x = 0, y = 0;
  auto put = [&](int64_t count, auto indexAt) {
    if (y >= h.Height || count > h.Width - x) Damaged();
    uint8_t* row = indexes.data() + size_t(y) * h.Width;
    for (int64_t i = 0; i < count; ++i) row[x + i] = indexAt(i);
    x += count;
  };
  for (;;) {
    if (FSize - at < 2) Damaged();
    const uint8_t n = FData[at], c = FData[at + 1];
    at += 2;
    if (n > 0) {
      put(n, [&](int64_t i) { return four ? uint8_t(i % 2 ? c & 15 : c >> 4) : c; });
    } else if (c == 0) {
      x = 0;
      ++y;
    } else if (c == 1) {
      break;
    } else if (c == 2) {
      if (FSize - at < 2) Damaged();
      x += FData[at];
      y += FData[at + 1];
      at += 2;
      if (x > h.Width || y > h.Height) Damaged();
    } else {
      const size_t bytes = four ? (size_t(c) + 1) / 2 : c;
      const size_t padded = (bytes + 1) & ~size_t(1);
      if (FSize - at < padded) Damaged();
      const uint8_t* lit = FData + at;
      put(c, [&](int64_t i) {
        return four ? uint8_t(i % 2 ? lit[i / 2] & 15 : lit[i / 2] >> 4) : lit[i];
      });
      at += padded;
    }
  }
  for (int32_t row = 0; row < h.Height; ++row) {
    const uint8_t* src = indexes.data() + size_t(row) * h.Width;
    uint8_t* dst = bitmap.ScanLine(h.Height - 1 - row);
    for (int32_t i = 0; i < h.Width; ++i, dst += 3) {
      const TBgr color = PaletteColor(src[i]);
      dst[0] = color.B;
      dst[1] = color.G;
      dst[2] = color.R;
    }
  }
  return at;
}

}  // namespace

void DecodeBmp(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap) {
  if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
    throw EMorphError(PictureDamagedText(fileName));
  const uint32_t offBits = GetLE32(data + 10);
  if (offBits != 0 && offBits < kFileHeaderSize) throw EMorphError(PictureDamagedText(fileName));
  TDibReader reader(data + kFileHeaderSize, size - kFileHeaderSize, fileName);
  reader.Decode(offBits == 0 ? 0 : offBits - kFileHeaderSize, 1, bitmap, nullptr);
}

size_t DecodeIconDib(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap,
                     std::vector<uint8_t>& alpha) {
  TDibReader reader(data, size, fileName);
  return reader.Decode(0, 2, bitmap, &alpha);
}

void SaveBmpFile(const std::string& fileName, const TBitmap& bitmap) {
  uint8_t headers[kFileHeaderSize + kInfoHeaderSize] = {};
  const uint32_t imageSize = uint32_t(bitmap.ImageSize());
  headers[0] = 'B';
  headers[1] = 'M';
  PutLE32(headers + 2, uint32_t(sizeof headers) + imageSize);
  PutLE32(headers + 10, uint32_t(sizeof headers));
  uint8_t* info = headers + kFileHeaderSize;
  PutLE32(info, uint32_t(kInfoHeaderSize));
  PutLE32(info + 4, uint32_t(bitmap.Width()));
  PutLE32(info + 8, uint32_t(bitmap.Height()));
  PutLE16(info + 12, 1);
  PutLE16(info + 14, uint16_t(bitmap.PixelFormat()));
  PutLE32(info + 16, BI_RGB);
  PutLE32(info + 20, imageSize);
  WritePictureFile(fileName, {{headers, sizeof headers}, {bitmap.Bits(), imageSize}});
}

}  // namespace qv
