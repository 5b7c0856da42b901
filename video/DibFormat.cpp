#include "DibFormat.h"

#include <bit>
#include <cstring>

namespace qv {

// The files are little-endian, like every machine the system runs on.
static_assert(std::endian::native == std::endian::little);

TBitmapInfoHeader DibHeader(int32_t w, int32_t h, uint16_t bitCount, uint32_t compression) {
  TBitmapInfoHeader hdr;
  hdr.biWidth = w;
  hdr.biHeight = h;
  hdr.biBitCount = bitCount;
  hdr.biCompression = compression;
  hdr.biSizeImage = DibRowBytes(w, bitCount) * uint32_t(h < 0 ? -h : h);
  return hdr;
}

void PutDibHeader(uint8_t* dst, const TBitmapInfoHeader& header) {
  std::memcpy(dst, &header, DibHeaderSize);
}

std::vector<uint8_t> DibHeaderBlock(const TBitmapInfoHeader& header,
                                    const std::vector<uint8_t>& extra) {
  TBitmapInfoHeader hdr = header;
  hdr.biSize = uint32_t(DibHeaderSize + (hdr.biCompression != 0 ? extra.size() : 0));
  std::vector<uint8_t> block(DibHeaderSize);
  PutDibHeader(block.data(), hdr);
  block.insert(block.end(), extra.begin(), extra.end());
  return block;
}

bool ReadDibHeader(const uint8_t* dib, size_t size, TBitmapInfoHeader& header) {
  if (!dib || size < DibHeaderSize) return false;
  std::memcpy(&header, dib, DibHeaderSize);
  return true;
}

}  // namespace qv
