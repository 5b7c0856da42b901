#include "PictureFile.h"

#include "Bitmap.h"
#include "BmpFile.h"
#include "GifFile.h"
#include "IcoFile.h"
#include "JpegExif.h"
#include "JpegFile.h"
#include "MorphError.h"
#include "PictureIo.h"
#include "PngFile.h"

namespace qv {

std::string PictureExtension(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  const size_t slash = fileName.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return {};
  std::string ext = fileName.substr(dot);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return ext;
}

TPictureKind PictureKindOf(const std::string& fileName) {
  const std::string ext = PictureExtension(fileName);
  if (ext == ".BMP") return pk_Bmp;
  if (ext == ".JPG" || ext == ".JPEG") return pk_Jpeg;
  if (ext == ".GIF") return pk_Gif;
  if (ext == ".PNG") return pk_Png;
  if (ext == ".ICO") return pk_Icon;
  if (ext == ".EMF" || ext == ".WMF") return pk_Metafile;
  return pk_none;
}

bool IsSourcePicture(const std::string& fileName) {
  const TPictureKind kind = PictureKindOf(fileName);
  return kind == pk_Bmp || kind == pk_Jpeg || kind == pk_Gif || kind == pk_Png;
}

bool IsBackgroundPicture(const std::string& fileName) {
  const TPictureKind kind = PictureKindOf(fileName);
  return IsSourcePicture(fileName) || kind == pk_Icon;
}

void DecodeBackgroundPicture(const std::string& fileName, TBitmap& bitmap,
                             std::vector<uint8_t>& mask) {
  const TPictureKind kind = PictureKindOf(fileName);
  if (kind == pk_none || kind == pk_Metafile) throw EMorphError(PictureFormatText(fileName));
  const std::vector<uint8_t> data = ReadPictureFile(fileName);
  mask.clear();
  switch (kind) {
    case pk_Bmp:
      return DecodeBmp(data.data(), data.size(), fileName, bitmap);
    case pk_Jpeg:
      return DecodeJpeg(data.data(), data.size(), fileName, bitmap);
    case pk_Gif:
      return DecodeGif(data.data(), data.size(), fileName, bitmap);
    case pk_Png:
      return DecodePng(data.data(), data.size(), fileName, bitmap);
    case pk_Icon:
      return DecodeIco(data.data(), data.size(), fileName, bitmap, mask);
    default:
      throw EMorphError(PictureFormatText(fileName));
  }
}

void DecodePicture(const std::string& fileName, TBitmap& bitmap) {
  if (PictureKindOf(fileName) == pk_Icon) throw EMorphError(PictureFormatText(fileName));
  std::vector<uint8_t> mask;
  DecodeBackgroundPicture(fileName, bitmap, mask);
}

bool SaveFramePicture(const std::string& fileName, const TBitmap& frame) {
  const TPictureKind kind = PictureKindOf(fileName);
  if (kind == pk_Bmp) {
    SaveBmpFile(fileName, frame);
    return true;
  }
  if (kind == pk_Jpeg) {
    SaveJpegWithExif(fileName, frame, FrameJpegQuality);
    return true;
  }
  return false;
}

}  // namespace qv
