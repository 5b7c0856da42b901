// The surrounding background of a morphing and the composition of frames onto it.
#include <filesystem>

#include "Canvas.h"
#include "Morph.h"
#include "MorphError.h"
#include "Picture.h"

namespace qv {

TBackGround::TBackGround(TMorph0* aOwner) : FOwner(aOwner) {}

TBackGround::~TBackGround() = default;

void TBackGround::SetWidth(int32_t value) {
  if (value != FWidth) FOwner->FModified = true;
  FWidth = value;
}

void TBackGround::SetHeight(int32_t value) {
  if (value != FHeight) FOwner->FModified = true;
  FHeight = value;
}

void TBackGround::SetBgType(TBgType value) {
  if (value == FBgType) return;
  FOwner->FModified = true;
  FBgType = value;
}

void TBackGround::SetBGColor(TColor value) {
  if (value != FBgColor) FOwner->FModified = true;
  FBgColor = value;
}

void TBackGround::ChangeSourceImageName(const std::string& newFn) { FBGPictureName = newFn; }

void TBackGround::LoadPictureObject() {
  if (!FBgPicture) FBgPicture = std::make_unique<TPicture>();
  FBgPicture->LoadFromFile(FBGPictureName);
}

void TBackGround::AsureBGBMP() {
  if (!FBgPicture && FBgType == bg_Pict) {
    FBgPicture = std::make_unique<TPicture>();
    if (!FBGPictureName.empty())
      FBgPicture->LoadFromFile(FBGPictureName);
    else
      FillBackground(clBlack);
  }
  FOwner->FBgBmp->SetSize(std::max(FWidth, 0), std::max(FHeight, 0));
}

void TBackGround::SetBGPictureName(const std::string& value) {
  if (value == FBGPictureName) return;
  FBGPictureName = value;
  FOwner->FModified = true;
  std::error_code ec;
  const bool present = !value.empty() && std::filesystem::exists(value, ec);
  // The picture object exists before AsureBGBMP, so that the file is read once below, and a
  // missing file paints the background black instead of raising.
  if (!FBgPicture) FBgPicture = std::make_unique<TPicture>();
  AsureBGBMP();
  if (present) {
    try {
      LoadPictureObject();
      return;
    } catch (const EMorphError&) {
      // The message goes to the caller; the old picture must not stay under the new name.
      FBgPicture->Clear();
      FillBackground(clBlack);
      throw;
    }
  }
  FBgPicture->Clear();
  FillBackground(clBlack);
}

void TBackGround::FillBackground(TColor colour) {
  TBitmap& bg = *FOwner->FBgBmp;
  const TRect r = Rect(0, 0, bg.Width(), bg.Height());
  if (bg.Empty()) return;
  bg.Canvas().SetBrushStyle(bsSolid);
  bg.Canvas().SetBrushColor(colour);
  bg.Canvas().FillRect(r);
  if (auto* morphing = dynamic_cast<TMorphing*>(FOwner)) {
    TCanvas& c = morphing->TargetBmp().Canvas();
    c.SetBrushStyle(bsSolid);
    c.SetBrushColor(colour);
    c.FillRect(r);
  }
}

namespace {

// The background picture alone on black at (x, y) in bg: where the picture is smaller than
// the background or transparent, nothing of an earlier frame remains.
void DrawPictureOnBlack(TBitmap& bg, const TPicture& picture, int32_t x, int32_t y) {
  TCanvas& c = bg.Canvas();
  c.SetBrushStyle(bsSolid);
  c.SetBrushColor(clBlack);
  c.FillRect(Rect(0, 0, bg.Width(), bg.Height()));
  picture.Draw(c, x, y);
}

}  // namespace

void TMorphing::DrawPictureBackground() {
  TPicture* picture = FBackGround->BgPicture();
  if (!picture || picture->Empty()) {
    FBackGround->FillBackground(clBlack);
    return;
  }
  const int32_t dx = (Width() - FBgBmp->Width()) / 2;
  const int32_t dy = (Height() - FBgBmp->Height()) / 2;
  DrawPictureOnBlack(*FBgBmp, *picture, dx, dy);
  FTargetBmp->Canvas().Draw(0, 0, *FBgBmp);
}

void TMorphing::updateBgBmp() {
  // Only a picture background shows its picture; a colour (or video) background keeps what
  // the frame request put into BgBmp even when a picture was loaded earlier.
  TPicture* picture = FBackGround->BgPicture();
  if (FBackGround->BgType() == bg_Pict && picture && !picture->Empty())
    DrawPictureOnBlack(*FBgBmp, *picture, 0, 0);
  const int32_t W = Width(), H = Height();
  const int32_t dx = (FBgBmp->Width() - W) / 2;
  const int32_t dy = (FBgBmp->Height() - H) / 2;
  FBgBmp->Canvas().CopyRect(Rect(dx, dy, dx + W, dy + H), *FTargetBmp, Rect(0, 0, W, H));
}

}  // namespace qv
