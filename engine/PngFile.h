// PNG files through libpng: every colour type and bit depth, with or without transparency.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TBitmap;

// Decodes a PNG file held in memory into a 24-bit bitmap, transparency composited onto white.
// A damaged or truncated file raises EMorphError naming fileName; the bitmap's content is
// then undefined.
void DecodePng(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap);

// The same with the transparency kept as a mask: one byte per pixel, rows from the top, 255
// where the pixel is at least half opaque, 0 elsewhere; the colours are those stored, not
// composited. A picture without transparent pixels leaves the mask empty.
void DecodePngWithMask(const uint8_t* data, size_t size, const std::string& fileName,
                       TBitmap& bitmap, std::vector<uint8_t>& mask);

}  // namespace qv
