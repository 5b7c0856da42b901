#include "Picture.h"

#include "Bitmap.h"
#include "Canvas.h"
#include "PictureFile.h"

namespace qv {

TPicture::TPicture() : FBitmap(std::make_unique<TBitmap>()) {}

TPicture::~TPicture() = default;

void TPicture::LoadFromFile(const std::string& fileName) {
  auto bitmap = std::make_unique<TBitmap>();
  std::vector<uint8_t> mask;
  DecodeBackgroundPicture(fileName, *bitmap, mask);
  FBitmap = std::move(bitmap);
  FMask = std::move(mask);
}

void TPicture::Clear() {
  FBitmap = std::make_unique<TBitmap>();
  FMask.clear();
}

int32_t TPicture::Width() const {
  return FBitmap->Width();
}

int32_t TPicture::Height() const {
  return FBitmap->Height();
}

bool TPicture::Empty() const {
  return FBitmap->Empty();
}

void TPicture::Draw(TCanvas& canvas, int32_t x, int32_t y) const {
  if (Empty()) return;
  canvas.Draw(x, y, *FBitmap, FMask.empty() ? nullptr : FMask.data());
}

}  // namespace qv
