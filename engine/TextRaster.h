// Text for the raster surface: a line of text as monochrome ink, reproducible pixel for pixel.
// Glyphs come from a TrueType font rendered without anti-aliasing, or from the built-in font
// when the font file cannot be read.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "RasterSpan.h"

namespace qv {

class TTextRaster {
 public:
  // Heights above this are drawn at this height.
  static constexpr int32_t MaxHeight = 4096;

  // fontFile empty or not a readable font: the built-in font.
  explicit TTextRaster(const std::string& fontFile);
  ~TTextRaster();
  TTextRaster(const TTextRaster&) = delete;
  TTextRaster& operator=(const TTextRaster&) = delete;

  // DejaVuSans from the system's font folders, else the built-in font; made at first use.
  static TTextRaster& Default();

  bool Builtin() const { return !FFace; }

  // The ink of text (UTF-8, else Windows-1252) in a line height pixels high whose top-left
  // corner is (x, y): the font is scaled so that its ascent and descent together fill the
  // height, and nothing is drawn outside rows y .. y + height - 1 (a negative height counts
  // as its absolute value). Control characters take no room; a character the font lacks
  // shows as the font's box. Clipped to a w x h target.
  void Render(int32_t x, int32_t y, int32_t height, const std::string& text, int32_t w, int32_t h,
              TSpanSink& sink);

 private:
  struct TFace;
  std::unique_ptr<TFace> FFace;
  std::mutex FLock;
};

}  // namespace qv
