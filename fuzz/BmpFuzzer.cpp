// The BMP decoder of the source and background pictures on arbitrary bytes: it decodes or raises EMorphError.
#include "Bitmap.h"
#include "BmpFile.h"
#include "FuzzSupport.h"
#include "MorphError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::TBitmap bitmap;
  try {
    qv::DecodeBmp(data, size, "fuzz.bmp", bitmap);
  } catch (const qv::EMorphError&) {
    return 0;
  }
  qv::fuzz::CheckDecodedPicture(bitmap);
  return 0;
}
