// The icon decoder of the background pictures on arbitrary bytes: the best image with its
// transparency mask, or EMorphError.
#include <vector>

#include "Bitmap.h"
#include "FuzzSupport.h"
#include "IcoFile.h"
#include "MorphError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::TBitmap bitmap;
  std::vector<uint8_t> mask;
  try {
    qv::DecodeIco(data, size, "fuzz.ico", bitmap, mask);
  } catch (const qv::EMorphError&) {
    return 0;
  }
  qv::fuzz::CheckDecodedPicture(bitmap, &mask);
  return 0;
}
