// The common ground of the picture file formats: the largest picture the decoders accept, the
// texts of their errors and the reading and writing of a picture file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace qv {

// Largest width or height of a decoded picture, and the largest number of its pixels.
constexpr int32_t MaxPictureDimension = 16384;
constexpr int64_t MaxPicturePixels = int64_t(1) << 28;
// Largest picture file that is read into memory.
constexpr size_t MaxPictureFileBytes = size_t(1) << 31;

// The error texts of the picture files; each names the file.
std::string PictureNotFoundText(const std::string& fileName);
std::string PictureUnreadableText(const std::string& fileName);
std::string PictureDamagedText(const std::string& fileName);
std::string PictureFormatText(const std::string& fileName);
std::string PictureTooLargeText(const std::string& fileName);
std::string PictureWriteText(const std::string& fileName);

// Raises the damaged text unless width and height are positive, and the too-large text when
// they exceed MaxPictureDimension or MaxPicturePixels.
void CheckPictureSize(const std::string& fileName, int64_t width, int64_t height);

// The whole file. A missing file raises PictureNotFoundText, any other failure (a folder, no
// permission, a file above MaxPictureFileBytes) PictureUnreadableText.
std::vector<uint8_t> ReadPictureFile(const std::string& fileName);

// Writes the given pieces one after the other as the whole file, replacing an existing one.
// A failure raises PictureWriteText and leaves no partial file behind.
struct TFilePiece {
  const void* Data;
  size_t Size;
};
void WritePictureFile(const std::string& fileName, std::initializer_list<TFilePiece> pieces);

// Little-endian numbers of the binary picture formats; the caller has checked the bounds.
inline uint16_t GetLE16(const uint8_t* p) {
  return uint16_t(p[0] | (p[1] << 8));
}
inline uint32_t GetLE32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline void PutLE16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void PutLE32(uint8_t* p, uint32_t v) {
  PutLE16(p, uint16_t(v));
  PutLE16(p + 2, uint16_t(v >> 16));
}

}  // namespace qv
