// JPEG files through libjpeg: decoding source and background pictures, encoding frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TBitmap;

// Decodes a JPEG file held in memory into a 24-bit bitmap; grayscale, CMYK and YCCK pictures
// become RGB. A damaged, truncated or unsupported file raises EMorphError naming fileName;
// the bitmap's content is then undefined.
void DecodeJpeg(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap);

// Encodes a 24- or 32-bit bitmap as a baseline JPEG with the given quality (1 .. 100). With
// an APP1 block (an EXIF block starting with "Exif\0\0", at most 65533 bytes) the stream
// starts with that block and has no JFIF header; otherwise it has a JFIF header. A failure
// raises EMorphError with the write error of fileName.
std::vector<uint8_t> EncodeJpeg(const std::string& fileName, const TBitmap& bitmap, int quality,
                                const std::vector<uint8_t>* app1 = nullptr);

// Writes the bitmap as a plain JPEG file (JFIF, no EXIF block).
void SaveJpegFile(const std::string& fileName, const TBitmap& bitmap, int quality);

}  // namespace qv
