#include "DibFormat.h"

namespace qv {

namespace {

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

void PutDibHeader(uint8_t* dst, const TDibInfo& info) {
  Put32(dst, uint32_t(DibHeaderSize));
  Put32(dst + 4, uint32_t(info.Width));
  Put32(dst + 8, uint32_t(info.Height));
  Put16(dst + 12, 1);  // biPlanes
  Put16(dst + 14, info.BitCount);
  Put32(dst + 16, info.Compression);
  Put32(dst + 20, info.SizeImage);
  for (size_t i = 24; i < DibHeaderSize; ++i) dst[i] = 0;  // resolution and colour counts
}

std::vector<uint8_t> DibHeaderBlock(const TDibInfo& info, const std::vector<uint8_t>& extra) {
  std::vector<uint8_t> block(DibHeaderSize);
  PutDibHeader(block.data(), info);
  if (info.Compression != 0) Put32(block.data(), uint32_t(DibHeaderSize + extra.size()));
  block.insert(block.end(), extra.begin(), extra.end());
  return block;
}

bool ReadDibHeader(const uint8_t* dib, size_t size, TDibInfo& info) {
  if (!dib || size < DibHeaderSize) return false;
  info.Width = int32_t(Get32(dib + 4));
  info.Height = int32_t(Get32(dib + 8));
  info.BitCount = uint16_t(dib[14] | (dib[15] << 8));
  info.Compression = Get32(dib + 16);
  info.SizeImage = Get32(dib + 20);
  return true;
}

}  // namespace qv
