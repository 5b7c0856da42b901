// Assigning a picture file to a source: decoding by extension, the placeholder of a missing
// file, and saving what frame synthesis samples.
#include <filesystem>
#include <new>

#include "Canvas.h"
#include "Dialogs.h"
#include "Morph.h"
#include "MorphError.h"
#include "BmpFile.h"
#include "PictureFile.h"
#include "PictureIo.h"

namespace qv {

namespace {

void DrawMissingPlaceholder(const std::string& fileName, TBitmap& bitmap, TMorphSource& source) {
  const int32_t W = std::max(source.Owner().Width(), 1), H = std::max(source.Owner().Height(), 1);
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(W, H);
  TCanvas& c = bitmap.Canvas();
  c.SetBrushStyle(bsSolid);
  c.SetBrushColor(clWhite);
  c.FillRect(Rect(0, 0, W, H));
  source.SrcRect().SetSize(W, H);
  source.ClampRectOrigin(0, 0);
  c.SetFontHeight(12);
  c.TextOut(0, 0, fileName + " nicht verfügbar");
}

}  // namespace

void LoadPicture(const std::string& fileName, TBitmap& bitmap, TMorphSource& source) {
  std::error_code ec;
  if (!std::filesystem::exists(fileName, ec)) {
    DrawMissingPlaceholder(fileName, bitmap, source);
    return;
  }
  if (!IsSourcePicture(fileName)) {
    // A format that cannot serve as a source picture: say so and keep the previous picture.
    Dialogs().ShowInformation(PictureFormatText(fileName));
    return;
  }
  std::string error;
  try {
    DecodePicture(fileName, bitmap);
    return;
  } catch (const EMorphError& e) {
    error = e.what();
  } catch (const std::bad_alloc&) {
    // Buffers of the libraries themselves that the system refused.
    error = PictureTooLargeText(fileName);
  }
  Dialogs().ShowInformation(error);
  bitmap.SetSize(300, 300);
  bitmap.Canvas().SetBrushStyle(bsSolid);
  bitmap.Canvas().SetBrushColor(clWhite);
  bitmap.Canvas().FillRect(Rect(0, 0, 300, 300));
}

void TMorphSource::SaveImageToFile(const std::string& fn) {
  TBitmap bmp(pf32bit);
  bmp.SetSize(FResultWidth, FResultHeight);
  if (FSourcePix) bmp.WritePixels32(FSourcePix.get());
  SaveBmpFile(fn, bmp);
}

}  // namespace qv
