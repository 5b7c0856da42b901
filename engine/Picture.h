// The picture object of a background: a decoded picture file (BMP, JPEG, GIF, PNG or icon)
// with the transparency of an icon, drawn at its natural size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class TBitmap;
class TCanvas;

class TPicture {
 public:
  TPicture();
  ~TPicture();
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  // Loads the file by its extension (DecodeBackgroundPicture). A missing or unreadable file, a
  // format that cannot be used (metafiles, unknown extensions) or a damaged file raises
  // EMorphError naming the file and leaves the picture as it was.
  void LoadFromFile(const std::string& fileName);
  void Clear();

  int32_t Width() const;
  int32_t Height() const;
  bool Empty() const;
  const TBitmap& Bitmap() const { return *FBitmap; }
  // One byte per pixel, rows from the top, 0 where the picture is transparent; empty for an
  // opaque picture.
  const std::vector<uint8_t>& Mask() const { return FMask; }

  // Draws the picture unscaled with its top-left corner at (x, y); transparent pixels leave
  // the canvas unchanged. An empty picture draws nothing.
  void Draw(TCanvas& canvas, int32_t x, int32_t y) const;

 private:
  std::unique_ptr<TBitmap> FBitmap;
  std::vector<uint8_t> FMask;
};

}  // namespace qv
