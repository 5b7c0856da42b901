#include "PictureTestSupport.h"

// clang-format off
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <gif_lib.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "MorphError.h"
#include "PictureIo.h"

namespace qv::test {

void TPictureTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  FDir =
      std::filesystem::temp_directory_path() / ("qv-pictures-" + std::to_string(::getpid()) + "-" +
                                                info->test_suite_name() + "-" + info->name());
  std::filesystem::remove_all(FDir);
  std::filesystem::create_directories(FDir);
}

void TPictureTest::TearDown() {
  std::error_code ec;
  std::filesystem::remove_all(FDir, ec);
}

std::string TPictureTest::Write(const std::string& name, const TBytes& bytes) const {
  const std::string path = Path(name);
  WriteBytes(path, bytes);
  return path;
}

void WriteBytes(const std::string& path, const TBytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

TBytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EMorphError& e) {
    return e.what();
  }
  ADD_FAILURE() << "no EMorphError raised";
  return {};
}

TColor PatternColor(int32_t x, int32_t y) {
  return RGB(uint8_t(x * 37 + y * 3), uint8_t(y * 41 + 7), uint8_t((x ^ y) * 23 + 100));
}

TBitmap PatternBitmap(int32_t w, int32_t h, TPixelFormat pf) {
  TBitmap b(pf);
  b.SetSize(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, PatternColor(x, y));
  return b;
}

int ColorDistance(TColor a, TColor b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

// ---- JPEG ----

namespace {

struct TTestJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

void TestJpegErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<TTestJpegError*>(cinfo->err)->Jump, 1);
}

bool CompressTestJpeg(jpeg_compress_struct* c, int32_t w, int32_t h, TJpegKind kind,
                      const TBytes& samples, bool progressive, int quality) {
  c->image_width = JDIMENSION(w);
  c->image_height = JDIMENSION(h);
  c->input_components = kind == TJpegKind::Rgb ? 3 : kind == TJpegKind::Gray ? 1 : 4;
  c->in_color_space = kind == TJpegKind::Rgb    ? JCS_RGB
                      : kind == TJpegKind::Gray ? JCS_GRAYSCALE
                                                : JCS_CMYK;
  jpeg_set_defaults(c);
  if (kind == TJpegKind::AdobeYcck) jpeg_set_colorspace(c, JCS_YCCK);
  jpeg_set_quality(c, quality, TRUE);
  if (progressive) jpeg_simple_progression(c);
  jpeg_start_compress(c, TRUE);
  const size_t stride = size_t(w) * c->input_components;
  while (c->next_scanline < c->image_height) {
    JSAMPROW row = const_cast<uint8_t*>(samples.data()) + c->next_scanline * stride;
    jpeg_write_scanlines(c, &row, 1);
  }
  jpeg_finish_compress(c);
  return true;
}

}  // namespace

TBytes MakeJpeg(int32_t w, int32_t h, TJpegKind kind, const TBytes& samples, bool progressive,
                int quality) {
  jpeg_compress_struct c{};
  TTestJpegError error;
  c.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = TestJpegErrorExit;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  TBytes result;
  if (setjmp(error.Jump) == 0) {
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, &buffer, &size);
    CompressTestJpeg(&c, w, h, kind, samples, progressive, quality);
    result.assign(buffer, buffer + size);
  } else {
    ADD_FAILURE() << "libjpeg failed to write the test file";
  }
  jpeg_destroy_compress(&c);
  std::free(buffer);
  return result;
}

TBytes MakePatternJpeg(int32_t w, int32_t h, bool progressive) {
  TBytes samples;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const TColor c = PatternColor(x / 8, y / 8);  // blocks: little JPEG loss
      samples.insert(samples.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  return MakeJpeg(w, h, TJpegKind::Rgb, samples, progressive);
}

// ---- GIF ----

namespace {

int WriteGifBytes(GifFileType* gif, const GifByteType* data, int count) {
  auto* out = static_cast<TBytes*>(gif->UserData);
  out->insert(out->end(), data, data + count);
  return count;
}

ColorMapObject* MakeColorMap(const std::vector<TColor>& colors) {
  if (colors.empty()) return nullptr;
  std::vector<GifColorType> entries;
  for (TColor c : colors) entries.push_back({GetRValue(c), GetGValue(c), GetBValue(c)});
  return GifMakeMapObject(int(entries.size()), entries.data());
}

void PutGifFrame(GifFileType* gif, const TGifFrame& f) {
  if (f.Transparent >= 0) {
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = f.Transparent;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
  }
  ColorMapObject* local = MakeColorMap(f.LocalColors);
  EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, f.Interlace, local);
  GifFreeMapObject(local);
  std::vector<int> order;
  if (f.Interlace) {
    for (int pass = 0; pass < 4; ++pass)
      for (int y = "\0\4\2\1"[pass]; y < f.Height; y += "\10\10\4\2"[pass]) order.push_back(y);
  } else {
    for (int y = 0; y < f.Height; ++y) order.push_back(y);
  }
  for (int y : order) {
    TBytes line(f.Indexes.begin() + y * f.Width, f.Indexes.begin() + (y + 1) * f.Width);
    EGifPutLine(gif, line.data(), f.Width);
  }
}

}  // namespace

TBytes MakeGif(int screenW, int screenH, const std::vector<TColor>& globalColors,
               const std::vector<TGifFrame>& frames) {
  TBytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteGifBytes, &error);
  EXPECT_NE(gif, nullptr);
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = MakeColorMap(globalColors);
  EGifPutScreenDesc(gif, screenW, screenH, 8, 0, global);
  GifFreeMapObject(global);
  for (const TGifFrame& f : frames) PutGifFrame(gif, f);
  EXPECT_EQ(EGifCloseFile(gif, &error), GIF_OK);
  return out;
}

// ---- PNG ----

namespace {

void WritePngBytes(png_structp png, png_bytep data, size_t size) {
  auto* out = static_cast<TBytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

void FlushPng(png_structp) {}

}  // namespace

TBytes MakePng(const TPngLayout& layout) {
  TBytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng failed to write the test file";
    return {};
  }
  png_set_write_fn(png, &out, WritePngBytes, FlushPng);
  png_set_IHDR(png, info, png_uint_32(layout.Width), png_uint_32(layout.Height), layout.BitDepth,
               layout.ColorType, layout.Interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (TColor c : layout.Palette) palette.push_back({GetRValue(c), GetGValue(c), GetBValue(c)});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
  if (!layout.Transparency.empty())
    png_set_tRNS(png, info, layout.Transparency.data(), int(layout.Transparency.size()), nullptr);
  std::vector<png_bytep> rows;
  for (const TBytes& r : layout.Rows) rows.push_back(const_cast<png_bytep>(r.data()));
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

TBytes MakeRgbaPng(int32_t w, int32_t h, const std::vector<uint32_t>& pixels) {
  TPngLayout layout;
  layout.Width = w;
  layout.Height = h;
  layout.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
  for (int32_t y = 0; y < h; ++y) {
    TBytes row;
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t p = pixels[size_t(y) * w + x];
      row.insert(row.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16), uint8_t(p >> 24)});
    }
    layout.Rows.push_back(row);
  }
  return MakePng(layout);
}

// ---- BMP ----

TBytes MakeDib(const TDibLayout& s) {
  TBytes d(s.HeaderSize, 0);
  PutLE32(d.data(), s.HeaderSize);
  if (s.HeaderSize == 12) {
    PutLE16(&d[4], uint16_t(s.Width));
    PutLE16(&d[6], uint16_t(s.Height));
    PutLE16(&d[8], 1);
    PutLE16(&d[10], s.BitCount);
  } else {
    PutLE32(&d[4], uint32_t(s.Width));
    PutLE32(&d[8], uint32_t(s.Height));
    PutLE16(&d[12], 1);
    PutLE16(&d[14], s.BitCount);
    if (s.HeaderSize >= 40) {
      PutLE32(&d[16], s.Compression);
      PutLE32(&d[20], uint32_t(s.Bits.size()));
      PutLE32(&d[32], s.ColorsUsed);
    }
  }
  for (size_t i = 0; i < s.Masks.size(); ++i) {
    if (40 + 4 * i + 4 <= s.HeaderSize)
      PutLE32(&d[40 + 4 * i], s.Masks[i]);
    else
      d.insert(d.end(), {uint8_t(s.Masks[i]), uint8_t(s.Masks[i] >> 8), uint8_t(s.Masks[i] >> 16),
                         uint8_t(s.Masks[i] >> 24)});
  }
  for (TColor c : s.Palette) {
    d.insert(d.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
    if (s.HeaderSize != 12) d.push_back(0);
  }
  d.insert(d.end(), s.Bits.begin(), s.Bits.end());
  return d;
}

TBytes MakeBmp(const TDibLayout& layout, uint32_t offBits) {
  const TBytes dib = MakeDib(layout);
  TBytes f(14, 0);
  f[0] = 'B';
  f[1] = 'M';
  PutLE32(&f[2], uint32_t(14 + dib.size()));
  PutLE32(&f[10], offBits ? offBits : uint32_t(14 + dib.size() - layout.Bits.size()));
  f.insert(f.end(), dib.begin(), dib.end());
  return f;
}

TBytes PackRows(int bpp, const std::vector<std::vector<uint32_t>>& rows) {
  TBytes out;
  for (const auto& row : rows) {
    TBytes packed((row.size() * bpp + 31) / 32 * 4, 0);
    for (size_t x = 0; x < row.size(); ++x) {
      if (bpp < 8) {
        const size_t bit = x * bpp;
        packed[bit / 8] |= uint8_t(row[x] << (8 - bpp - bit % 8));
      } else {
        for (int b = 0; b < bpp / 8; ++b) packed[x * (bpp / 8) + b] = uint8_t(row[x] >> (8 * b));
      }
    }
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return out;
}

// ---- ICO ----

TBytes MakeIco(const std::vector<TIconImage>& images) {
  TBytes f(6, 0);
  PutLE16(&f[2], 1);
  PutLE16(&f[4], uint16_t(images.size()));
  size_t offset = 6 + 16 * images.size();
  for (const TIconImage& im : images) {
    TBytes e(16, 0);
    e[0] = uint8_t(im.Width >= 256 ? 0 : im.Width);
    e[1] = uint8_t(im.Height >= 256 ? 0 : im.Height);
    PutLE16(&e[4], 1);
    PutLE16(&e[6], uint16_t(im.BitCount));
    PutLE32(&e[8], uint32_t(im.Data.size()));
    PutLE32(&e[12], uint32_t(offset));
    offset += im.Data.size();
    f.insert(f.end(), e.begin(), e.end());
  }
  for (const TIconImage& im : images) f.insert(f.end(), im.Data.begin(), im.Data.end());
  return f;
}

}  // namespace qv::test
