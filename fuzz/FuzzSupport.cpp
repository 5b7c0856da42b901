#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace qv::fuzz {

namespace {

class TScratch {
 public:
  TScratch() {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) base = "/tmp";
    FPath = (base / ("quorvel-fuzz-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(FPath, ec);
    FPath += "/";
  }
  ~TScratch() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
  }
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

}  // namespace

void UseSilentDialogs() {
  static TSilentDialogs dialogs;
  static bool installed = false;
  if (!installed) {
    SetDialogs(&dialogs);
    installed = true;
  }
}

const std::string& ScratchFolder() {
  static TScratch scratch;
  return scratch.Path();
}

std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = ScratchFolder() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write the scratch file %s\n", path.c_str());
    std::abort();
  }
  return path;
}

// Where TouchBytes leaves its sum, so that the reads are not optimised away.
volatile uint32_t gTouched = 0;

void TouchBytes(const uint8_t* data, size_t size) {
  uint32_t sum = 0;
  for (size_t i = 0; i < size; ++i) sum = sum * 31 + data[i];
  gTouched = sum;
}

}  // namespace qv::fuzz

#include "Bitmap.h"
#include "PictureIo.h"

namespace qv::fuzz {

namespace {
[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "decoded picture broken: %s\n", what);
  std::abort();
}
}  // namespace

void CheckDecodedPicture(const TBitmap& bitmap, const std::vector<uint8_t>* mask) {
  const int64_t w = bitmap.Width(), h = bitmap.Height();
  if (w <= 0 || h <= 0) Broken("empty picture without error");
  if (w > MaxPictureDimension || h > MaxPictureDimension || w * h > MaxPicturePixels)
    Broken("picture above the size limits");
  if (!bitmap.Bits()) Broken("no pixel memory");
  TouchBytes(bitmap.Bits(), bitmap.ImageSize());
  if (mask && !mask->empty() && int64_t(mask->size()) != w * h) Broken("mask of the wrong size");
}

}  // namespace qv::fuzz
