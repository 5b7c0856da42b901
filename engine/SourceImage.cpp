// The image rectangle of a source: placed in the picture, cut out 1:1 and resampled to the
// target size into the source's pixel buffer.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "Canvas.h"
#include "Morph.h"
#include "MorphError.h"

namespace qv {

void TMorphSource::SetSourceImageName(const std::string& value) {
  FOwner->FModified = true;
  FSourceImageName = value;
  LoadPicture(value, *FSrcImg, *this);
  FRectOrigin = {0, 0};
  ApplyRectWidth(FSrcImg->Width());
  UpdateSrcRect(FOwner->Width(), FOwner->Height());
  FOwner->UpdateSourcePixBuffers();
  FLoaded = true;
}

void TMorphSource::ApplyRectWidth(int32_t w) {
  w = std::max(w, 10);
  w = std::min(w, FSrcImg->Width());
  if (FResultWidth <= 0 || FResultHeight <= 0) return;
  int32_t h = MulDiv(w, FResultHeight, FResultWidth);
  if (h > FSrcImg->Height()) {
    h = FSrcImg->Height();
    w = MulDiv(h, FResultWidth, FResultHeight);
  }
  // A rectangle the raster cannot hold (only from absurd sizes) keeps the old one.
  try {
    FSrcRect->SetSize(std::max(w, 0), std::max(h, 0));
  } catch (const EMorphError&) {
  }
  ClampRectOrigin(FRectOrigin.X, FRectOrigin.Y);
}

void TMorphSource::ClampRectOrigin(int32_t x, int32_t y) {
  // A rectangle larger than the picture (kept from an earlier picture while no target size
  // was set) starts at the picture's corner rather than before it.
  x = std::max(0, std::min(x, FSrcImg->Width() - FSrcRect->Width()));
  y = std::max(0, std::min(y, FSrcImg->Height() - FSrcRect->Height()));
  FRectOrigin = {x, y};
}

void TMorphSource::SetResultSize(int32_t W, int32_t H) {
  if (W == FResultWidth && H == FResultHeight) return;
  FResultWidth = W;
  FResultHeight = H;
  ApplyRectWidth(RectWidth());
  FTriangleMask->SetSize(std::max(W, 0), std::max(H, 0));
  FIndexMask.reset();
  FIndexMask = AllocPixBuffer(size_t(std::max(W, 0)) * size_t(std::max(H, 0)));
}

void TMorphSource::UpdateSrcRect(int32_t W, int32_t H) {
  SetResultSize(W, H);
  TCanvas& c = FSrcRect->Canvas();
  c.SetBrushStyle(bsSolid);
  c.SetBrushColor(clWhite);
  const int32_t rw = FSrcRect->Width(), rh = FSrcRect->Height();
  c.FillRect(Rect(0, 0, rw, rh));
  c.CopyRect(Rect(0, 0, rw, rh), *FSrcImg,
             Rect(FRectOrigin.X, FRectOrigin.Y, FRectOrigin.X + rw, FRectOrigin.Y + rh));
}

void TMorphSource::AllocSourcePix(size_t bytes) { FSourcePix = AllocPixBuffer(bytes / 4); }

void TMorphSource::FreeSourcePix() { FSourcePix.reset(); }

void TMorphSource::ChangeSourceImageName(const std::string& newFn) { FSourceImageName = newFn; }

void TMorphSource::CopySourcePicture(const std::string& dir) {
  const size_t slash = FSourceImageName.find_last_of('/');
  const std::string name =
      slash == std::string::npos ? FSourceImageName : FSourceImageName.substr(slash + 1);
  const std::string newName = dir + name;
  std::error_code ec;
  if (std::filesystem::equivalent(FSourceImageName, newName, ec)) {
    FSourceImageName = newName;
    return;
  }
  ec.clear();
  std::filesystem::copy_file(FSourceImageName, newName,
                             std::filesystem::copy_options::overwrite_existing, ec);
  if (!ec) FSourceImageName = newName;
}

void TMorphing::setRectOrigin(TMorphSource& Source, TPoint pt) {
  FModified = true;
  Source.ClampRectOrigin(pt.X, pt.Y);
  Source.UpdateSrcRect(Width(), Height());
  UpdateSourcePixBuffers();
}

void TMorphing::setRectWidth(TMorphSource& Source, int32_t w) {
  FModified = true;
  Source.ApplyRectWidth(w);
  Source.UpdateSrcRect(Width(), Height());
  UpdateSourcePixBuffers();
}

void TMorphing::UpdateSourcePixBuffers() {
  if (!FSource1->FSourcePix) return;
  const int32_t W = Width(), H = Height();
  for (TMorphSource* s : {FSource1.get(), FSource2.get()}) {
    if (!s->FSourcePix) continue;
    FTargetBmp->Canvas().StretchDraw(Rect(0, 0, W, H), *s->FSrcRect);
    FTargetBmp->ReadPixels32(s->FSourcePix.get());
  }
}

}  // namespace qv
