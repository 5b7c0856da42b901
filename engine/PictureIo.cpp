#include "PictureIo.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "MorphError.h"

namespace qv {

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

std::string FileText(const std::string& lead, const std::string& fileName,
                     const std::string& tail) {
  return lead + "\r" + fileName + "\r" + tail;
}

}  // namespace

std::string PictureNotFoundText(const std::string& fileName) {
  return FileText("Die Bilddatei", fileName, "wurde nicht gefunden.");
}

std::string PictureUnreadableText(const std::string& fileName) {
  return FileText("Die Bilddatei", fileName, "kann nicht gelesen werden.");
}

std::string PictureDamagedText(const std::string& fileName) {
  return FileText("Die Bilddatei", fileName, "ist beschädigt oder unvollständig.");
}

std::string PictureFormatText(const std::string& fileName) {
  return FileText("Das Format der Datei", fileName, "kann nicht als Bild verwendet werden.");
}

std::string PictureTooLargeText(const std::string& fileName) {
  return FileText("Das Bild in der Datei", fileName,
                  "ist zu groß (höchstens " + std::to_string(MaxPictureDimension) + " x " +
                      std::to_string(MaxPictureDimension) + " Bildpunkte).");
}

std::string PictureWriteText(const std::string& fileName) {
  return FileText("Die Bilddatei", fileName, "kann nicht geschrieben werden.");
}

void CheckPictureSize(const std::string& fileName, int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) throw EMorphError(PictureDamagedText(fileName));
  if (width > MaxPictureDimension || height > MaxPictureDimension ||
      width * height > MaxPicturePixels)
    throw EMorphError(PictureTooLargeText(fileName));
}

std::vector<uint8_t> ReadPictureFile(const std::string& fileName) {
  TFileHandle f(std::fopen(fileName.c_str(), "rb"));
  if (!f) {
    if (errno == ENOENT || errno == ENOTDIR) throw EMorphError(PictureNotFoundText(fileName));
    throw EMorphError(PictureUnreadableText(fileName));
  }
  std::vector<uint8_t> data;
  if (std::fseek(f.get(), 0, SEEK_END) == 0) {
    long size = std::ftell(f.get());
    if (size > 0 && size_t(size) <= MaxPictureFileBytes) data.reserve(size_t(size));
    std::rewind(f.get());
  }
  uint8_t chunk[65536];
  for (;;) {
    size_t n = std::fread(chunk, 1, sizeof chunk, f.get());
    if (n > 0) {
      if (data.size() + n > MaxPictureFileBytes) throw EMorphError(PictureUnreadableText(fileName));
      data.insert(data.end(), chunk, chunk + n);
    }
    if (n < sizeof chunk) break;
  }
  if (std::ferror(f.get())) throw EMorphError(PictureUnreadableText(fileName));
  return data;
}

void WritePictureFile(const std::string& fileName, std::initializer_list<TFilePiece> pieces) {
  TFileHandle f(std::fopen(fileName.c_str(), "wb"));
  if (!f) throw EMorphError(PictureWriteText(fileName));
  bool ok = true;
  for (const TFilePiece& piece : pieces)
    if (ok && piece.Size > 0) ok = std::fwrite(piece.Data, 1, piece.Size, f.get()) == piece.Size;
  ok = std::fclose(f.release()) == 0 && ok;
  if (!ok) {
    // Only what the failed write left as a regular file goes; never a device or the like.
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode))
      std::remove(fileName.c_str());
    throw EMorphError(PictureWriteText(fileName));
  }
}

}  // namespace qv
