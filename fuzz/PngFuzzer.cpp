// The PNG decoder of the source pictures on arbitrary bytes: it decodes or raises EMorphError.
#include "Bitmap.h"
#include "PngFile.h"
#include "FuzzSupport.h"
#include "MorphError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::TBitmap bitmap;
  try {
    qv::DecodePng(data, size, "fuzz.png", bitmap);
  } catch (const qv::EMorphError&) {
    return 0;
  }
  qv::fuzz::CheckDecodedPicture(bitmap);
  return 0;
}
