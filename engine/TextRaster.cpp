#include "TextRaster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "BuiltinFont.h"
#include "TextDecode.h"

#ifndef QUORVEL_FONT_DIRS
#define QUORVEL_FONT_DIRS "/usr/share/fonts/truetype/dejavu"
#endif

namespace qv {

struct TTextRaster::TFace {
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
  ~TFace() {
    if (Face) FT_Done_Face(Face);
    if (Library) FT_Done_FreeType(Library);
  }
};

namespace {

constexpr const char* kFontFileName = "DejaVuSans.ttf";

// Ink may go to rows Top .. Bottom - 1 and columns 0 .. Width - 1.
struct TInkClip {
  int64_t Top, Bottom, Width;
};

bool IsControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// The runs of ink in one row of count pixels starting at (x0, y); ink(i) tells pixel i.
template <typename TInk>
void EmitInkRow(int64_t x0, int64_t y, int64_t count, TInk ink, const TInkClip& clip,
                TSpanSink& sink) {
  if (y < clip.Top || y >= clip.Bottom) return;
  int64_t i = std::max<int64_t>(0, -x0);
  const int64_t end = std::min<int64_t>(count, clip.Width - x0);
  while (i < end) {
    if (!ink(i)) {
      ++i;
      continue;
    }
    int64_t j = i + 1;
    while (j < end && ink(j)) ++j;
    sink.Span(int32_t(y), int32_t(x0 + i), int32_t(x0 + j));
    i = j;
  }
}

void EmitGlyphBitmap(const FT_Bitmap& bm, int64_t left, int64_t top, const TInkClip& clip,
                     TSpanSink& sink) {
  for (unsigned r = 0; r < bm.rows; ++r) {
    const uint8_t* row = bm.pitch >= 0 ? bm.buffer + size_t(r) * size_t(bm.pitch)
                                       : bm.buffer + size_t(bm.rows - 1 - r) * size_t(-bm.pitch);
    if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
      EmitInkRow(
          left, top + r, bm.width,
          [row](int64_t i) { return ((row[i >> 3] >> (7 - (i & 7))) & 1) != 0; }, clip, sink);
    else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
      EmitInkRow(
          left, top + r, bm.width, [row](int64_t i) { return row[i] >= 128; }, clip, sink);
  }
}

// Hinted monochrome glyphs on the font's own advances; false when the font cannot take the
// size.
bool RenderTrueType(FT_Face face, int64_t x, int64_t y, int32_t height, const std::u32string& text,
                    const TInkClip& clip, TSpanSink& sink) {
  FT_Size_RequestRec request{};
  request.type = FT_SIZE_REQUEST_TYPE_REAL_DIM;
  request.height = FT_Long(height) * 64;
  if (FT_Request_Size(face, &request) != 0) return false;
  const int64_t baseline = y + ((face->size->metrics.ascender + 32) >> 6);
  int64_t pen = x * 64;
  for (char32_t c : text) {
    if (IsControl(c)) continue;
    if ((pen >> 6) >= clip.Width) break;
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, c), FT_LOAD_TARGET_MONO) != 0 &&
        FT_Load_Glyph(face, 0, FT_LOAD_TARGET_MONO) != 0)
      continue;
    FT_GlyphSlot glyph = face->glyph;
    if (FT_Render_Glyph(glyph, FT_RENDER_MODE_MONO) == 0)
      EmitGlyphBitmap(glyph->bitmap, (pen >> 6) + glyph->bitmap_left, baseline - glyph->bitmap_top,
                      clip, sink);
    pen += glyph->advance.x;
  }
  return true;
}

// The built-in cells scaled to the height, columns and rows picked by the nearest rule.
void RenderBuiltin(int64_t x, int64_t y, int32_t height, const std::u32string& text,
                   const TInkClip& clip, TSpanSink& sink) {
  using namespace BuiltinFont;
  const int64_t cellW =
      std::max<int64_t>(1, (int64_t(CellWidth) * height + CellHeight / 2) / CellHeight);
  int64_t pen = x;
  for (char32_t c : text) {
    if (IsControl(c)) continue;
    if (pen >= clip.Width) break;
    if (pen + cellW > 0) {
      const auto glyph = Glyph(c);
      for (int64_t py = clip.Top - y; py < clip.Bottom - y; ++py) {
        const uint8_t bits = glyph[size_t(py * CellHeight / height)];
        EmitInkRow(
            pen, y + py, cellW,
            [bits, cellW](int64_t i) {
              const int64_t col = i * CellWidth / cellW;
              return col < 5 && ((bits >> (4 - col)) & 1) != 0;
            },
            clip, sink);
      }
    }
    pen += cellW;
  }
}

std::string FindDefaultFont() {
  const std::string dirs = QUORVEL_FONT_DIRS;
  for (size_t start = 0; start <= dirs.size();) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string path = dirs.substr(start, end - start) + "/" + kFontFileName;
    std::error_code ec;
    if (end > start && std::filesystem::is_regular_file(path, ec)) return path;
    start = end + 1;
  }
  return std::string();
}

}  // namespace

TTextRaster::TTextRaster(const std::string& fontFile) {
  if (fontFile.empty()) return;
  auto face = std::make_unique<TFace>();
  if (FT_Init_FreeType(&face->Library) != 0) {
    face->Library = nullptr;
    return;
  }
  if (FT_New_Face(face->Library, fontFile.c_str(), 0, &face->Face) != 0) {
    face->Face = nullptr;
    return;
  }
  if (!FT_IS_SCALABLE(face->Face) || FT_Select_Charmap(face->Face, FT_ENCODING_UNICODE) != 0)
    return;
  FFace = std::move(face);
}

TTextRaster::~TTextRaster() = default;

TTextRaster& TTextRaster::Default() {
  static TTextRaster raster(FindDefaultFont());
  return raster;
}

void TTextRaster::Render(int32_t x, int32_t y, int32_t height, const std::string& text, int32_t w,
                         int32_t h, TSpanSink& sink) {
  const int32_t size = int32_t(std::min<int64_t>(std::abs(int64_t(height)), MaxHeight));
  if (size == 0 || w <= 0 || h <= 0 || text.empty()) return;
  const TInkClip clip{std::max<int64_t>(y, 0), std::min<int64_t>(int64_t(y) + size, h), w};
  if (clip.Top >= clip.Bottom || x >= w) return;
  const std::u32string chars = DecodeText(text);
  std::lock_guard<std::mutex> lock(FLock);
  if (FFace && RenderTrueType(FFace->Face, x, y, size, chars, clip, sink)) return;
  RenderBuiltin(x, y, size, chars, clip, sink);
}

}  // namespace qv
