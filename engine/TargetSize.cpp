// The target size of a morphing: changing it reallocates the pixel buffers and scales the points.
#include "Dialogs.h"
#include "Morph.h"
#include "MorphError.h"

namespace qv {

namespace {
// The largest target frame a morphing accepts, in each direction.
constexpr int32_t kMaxTargetSide = 16384;
}  // namespace

void TMorphing::setTargetImageSize(int32_t aWidth, int32_t aHeight) {
  std::string message;
  const int32_t oldW = FTargetBmp->Width(), oldH = FTargetBmp->Height();
  const bool changed = aWidth != oldW || aHeight != oldH;
  if (changed) {
    FreePixBuffers();
    FModified = true;
  }
  try {
    if (aWidth <= 0 || aHeight <= 0 || aWidth > kMaxTargetSide || aHeight > kMaxTargetSide)
      throw EMorphError("Unzulässige Bildgröße");
    FTargetBmp->SetSize(aWidth, aHeight);
    FSource1->ScalePoints(aWidth, aHeight, oldH, oldW);
    FSource2->ScalePoints(aWidth, aHeight, oldH, oldW);
  } catch (const EMorphError&) {
    message = "Unzulässige Bildgröße";
  }
  if (!message.empty()) {
    Dialogs().ShowMessage(message, TMessagePlacement::Screen);
    return;
  }
  const int32_t W = Width(), H = Height();
  FSource1->UpdateSrcRect(W, H);
  FSource2->UpdateSrcRect(W, H);
  if (changed || !FTargetPix) {
    const size_t words = size_t(W) * size_t(H);
    try {
      FSource1->AllocSourcePix(words * 4);
      FSource2->AllocSourcePix(words * 4);
      FTargetPix = FTargetBmp->Pixels32();
    } catch (const EMorphError&) {
      FreePixBuffers();
      Dialogs().ShowMessage("Unzulässige Bildgröße", TMessagePlacement::Screen);
      return;
    }
    UpdateSourcePixBuffers();
    FHeight = H;
    FWidth = W;
  }
}

void TMorphSource::ScalePoints(int32_t newW, int32_t newH, int32_t oldH, int32_t oldW) {
  // Without an old size there is nothing to scale from (MulDiv by 0 would give -1).
  if ((newW != oldW || newH != oldH) && oldW > 0 && oldH > 0) {
    for (TPoint& p : FAngles) p = TPoint{MulDiv(p.X, newW, oldW), MulDiv(p.Y, newH, oldH)};
  }
  UpdateSrcRect(newW, newH);
  FOwner->UpdateSourcePixBuffers();
}

}  // namespace qv
