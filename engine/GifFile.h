// GIF files through giflib: the first image of the file, placed on its logical screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

class TBitmap;

// Decodes the first image of a GIF file held in memory into a 24-bit bitmap of the logical
// screen's size (enlarged where the image reaches past it). Transparent pixels and the parts
// of the screen the image leaves free are white. A damaged or truncated file, or a pixel
// without a colour in the colour table, raises EMorphError naming fileName; the bitmap's
// content is then undefined.
void DecodeGif(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap);

}  // namespace qv
