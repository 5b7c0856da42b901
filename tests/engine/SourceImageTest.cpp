// Source images: picture files decoded by extension, the placeholder of a missing file, the
// messages of unusable and broken files, the image rectangle and its resampling, and the
// file operations of a source.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "BmpFile.h"
#include "Morph.h"
#include "PictureIo.h"
#include "PictureTestSupport.h"
#include "ScriptedDialogs.h"

namespace qv::test {
namespace {

using TKind = TScriptedDialogs::TKind;

// The checksum of PNG chunks (ISO 3309 CRC-32).
uint32_t Crc32(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return ~c;
}

void PutBE32(TBytes& b, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(uint8_t(v >> shift));
}

void PutChunk(TBytes& file, const char* type, const TBytes& data) {
  PutBE32(file, uint32_t(data.size()));
  TBytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  file.insert(file.end(), body.begin(), body.end());
  PutBE32(file, Crc32(body.data(), body.size()));
}

// A PNG file with correct checksums whose header claims w x h RGB pixels, with a few bytes of
// image data only.
TBytes ForgedPng(uint32_t w, uint32_t h) {
  TBytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  TBytes ihdr;
  PutBE32(ihdr, w);
  PutBE32(ihdr, h);
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  PutChunk(file, "IHDR", ihdr);
  PutChunk(file, "IDAT", {0x78, 0x9C, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01});
  PutChunk(file, "IEND", {});
  return file;
}

class SourceImage : public TPictureTest {
 protected:
  void SetUp() override {
    TPictureTest::SetUp();
    m.NewProject("", 400, 300);
  }
  std::string PatternFile(const std::string& name, int32_t w, int32_t h) {
    const std::string path = Path(name);
    SaveBmpFile(path, PatternBitmap(w, h));
    return path;
  }
  TMorphSource& S() { return m.Source1(); }
  TScriptedDialogs dialogs;
  TMorphing m;
};

TEST_F(SourceImage, RectangleWidthHeightAndOriginFollowTheFrame) {
  S().SetSourceImageName(PatternFile("a.bmp", 1000, 500));
  EXPECT_TRUE(S().Loaded());
  EXPECT_TRUE(m.Modified());
  // 1000 wide would be 750 high: the height is the picture's, the width MulDiv(500, 400, 300).
  EXPECT_EQ(S().RectWidth(), 667);
  EXPECT_EQ(S().RectHeight(), 500);
  EXPECT_EQ(S().RectOrigin(), (TPoint{0, 0}));

  struct Step {
    int32_t width;  // 0: keep
    TPoint origin;
    int32_t w, h;
    TPoint clamped;
  } steps[] = {
      {0, {900, -20}, 667, 500, {333, 0}},
      {5, {995, 495}, 10, 8, {990, 492}},  // 10 x 7.5 rounds to 8
      {2000, {-1, 7}, 667, 500, {0, 0}},
      {401, {1, 1}, 401, 301, {1, 1}},     // 300.75
      {402, {599, 199}, 402, 302, {598, 198}},  // 301.5 rounds away from zero
  };
  for (const Step& s : steps) {
    if (s.width) m.setRectWidth(S(), s.width);
    m.setRectOrigin(S(), s.origin);
    EXPECT_EQ(S().RectWidth(), s.w) << s.width;
    EXPECT_EQ(S().RectHeight(), s.h) << s.width;
    EXPECT_EQ(S().RectOrigin(), s.clamped) << s.width;
    EXPECT_EQ(S().SrcRect().Width(), s.w);
  }
}

TEST_F(SourceImage, NarrowPictureKeepsItsWidth) {
  S().SetSourceImageName(PatternFile("schmal.bmp", 6, 40));
  EXPECT_EQ(S().RectWidth(), 6);
  EXPECT_EQ(S().RectHeight(), 5);  // 4.5
}

TEST_F(SourceImage, PixelBufferIsTheRectangleStretchedByTheNearestRule) {
  S().SetSourceImageName(PatternFile("a.bmp", 1000, 500));
  m.setRectOrigin(S(), {200, 0});
  const uint32_t* pix = S().SourcePix();
  ASSERT_NE(pix, nullptr);
  for (int32_t y = 0; y < 300; ++y)
    for (int32_t x = 0; x < 400; ++x)
      ASSERT_EQ(pix[size_t(299 - y) * 400 + x],
                SwapRedBlue(PatternColor(200 + x * 667 / 400, y * 500 / 300)))
          << x << "," << y;

  // What frame synthesis samples is what SaveImageToFile writes.
  const std::string out = Path("ausschnitt.bmp");
  S().SaveImageToFile(out);
  const TBytes bytes = ReadBytes(out);
  TBitmap saved;
  DecodeBmp(bytes.data(), bytes.size(), out, saved);
  ASSERT_EQ(saved.Width(), 400);
  ASSERT_EQ(saved.Height(), 300);
  ASSERT_EQ(saved.PixelFormat(), pf32bit);
  EXPECT_EQ(std::memcmp(saved.Bits(), pix, 400 * 300 * 4), 0);
}

TEST_F(SourceImage, ExtensionsAreMatchedCaseBlindAndPngIsDecoded) {
  const std::vector<TColor> colors = {RGB(0, 200, 0), RGB(0, 0, 0)};
  TGifFrame frame;
  frame.Width = 12;
  frame.Height = 9;
  frame.Indexes = TBytes(12 * 9, 0);
  struct Case {
    std::string name;
    TBytes file;
    int32_t w, h;
    TColor topLeft;
    int tolerance;
  } cases[] = {
      {"bild.jpg", MakePatternJpeg(16, 24), 16, 24, PatternColor(0, 0), 12},
      {"BILD.JPEG", MakePatternJpeg(32, 8), 32, 8, PatternColor(0, 0), 12},
      {"Bild.Gif", MakeGif(12, 9, colors, {frame}), 12, 9, RGB(0, 200, 0), 0},
      {"bild.png", MakeRgbaPng(20, 10, std::vector<uint32_t>(200, 0xFF00FF00)), 20, 10,
       RGB(0, 255, 0), 0},
      {"bild.Bmp", {}, 30, 30, PatternColor(0, 0), 0},
  };
  for (Case& c : cases) {
    const std::string path =
        c.file.empty() ? PatternFile(c.name, c.w, c.h) : Write(c.name, c.file);
    S().SetSourceImageName(path);
    EXPECT_EQ(S().SrcImg().Width(), c.w) << c.name;
    EXPECT_EQ(S().SrcImg().Height(), c.h) << c.name;
    EXPECT_LE(ColorDistance(S().SrcImg().GetPixel(0, 0), c.topLeft), c.tolerance) << c.name;
    EXPECT_EQ(S().SourceImageName(), path);
  }
  EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(SourceImage, MissingFileShowsAPlaceholderNamingIt) {
  const std::string missing = Path("fehlt.jpg");
  S().SetSourceImageName(missing);
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_TRUE(S().Loaded());
  EXPECT_EQ(S().SourceImageName(), missing);
  const TBitmap& img = S().SrcImg();
  ASSERT_EQ(img.Width(), 400);
  ASSERT_EQ(img.Height(), 300);
  EXPECT_EQ(img.PixelFormat(), pf32bit);
  EXPECT_EQ(S().RectWidth(), 400);
  EXPECT_EQ(S().RectHeight(), 300);
  EXPECT_EQ(S().RectOrigin(), (TPoint{0, 0}));
  int ink = 0;
  for (int32_t y = 0; y < 300; ++y)
    for (int32_t x = 0; x < 400; ++x) {
      const TColor c = img.GetPixel(x, y);
      if (y >= 12) {
        ASSERT_EQ(c, clWhite) << x << "," << y;
      }
      if (c != clWhite) ++ink;
    }
  EXPECT_GT(ink, 100) << "the text is drawn in the top line";
}

TEST_F(SourceImage, UnusableFormatsSaySoAndKeepThePreviousPicture) {
  S().SetSourceImageName(PatternFile("vorher.bmp", 50, 40));
  const std::vector<uint32_t> pixels(16 * 16, 0xFF0000FF);
  const std::string files[] = {
      Write("logo.ico", MakeIco({{16, 16, 32, MakeRgbaPng(16, 16, pixels)}})),
      Write("plan.emf", TBytes(100, 1)),
      Write("plan.WMF", TBytes(100, 1)),
      Write("notiz.txt", {'a', 'b'}),
      Write("ohne", MakePatternJpeg(8, 8)),
  };
  for (const std::string& f : files) {
    dialogs.ClearShown();
    S().SetSourceImageName(f);
    EXPECT_EQ(dialogs.Texts(TKind::Information), std::vector<std::string>{PictureFormatText(f)});
    EXPECT_EQ(S().SrcImg().Width(), 50) << f;
    EXPECT_EQ(S().SrcImg().GetPixel(7, 9), PatternColor(7, 9)) << f;
  }
}

TEST_F(SourceImage, BrokenFilesShowTheDecodersTextAndAWhitePicture) {
  const TBytes jpeg = MakePatternJpeg(64, 64);
  TDibLayout bmp;
  bmp.Width = 20;
  bmp.Height = 20;
  bmp.Bits = TBytes(20 * 60, 0x40);
  const TBytes wholeBmp = MakeBmp(bmp);
  TDibLayout huge;
  huge.Width = 100000;
  huge.Height = 100000;
  TGifFrame frame;
  frame.Width = frame.Height = 2;
  frame.Indexes = TBytes(4, 0);
  struct Case {
    std::string name;
    TBytes file;
    bool tooLarge;
  } cases[] = {
      {"cut.jpg", TBytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2), false},
      {"leer.bmp", {}, false},
      {"cut.bmp", TBytes(wholeBmp.begin(), wholeBmp.end() - 100), false},
      {"riesig.bmp", MakeBmp(huge), true},
      {"riesig.gif", MakeGif(30000, 10, {RGB(1, 2, 3), RGB(4, 5, 6)}, {frame}), true},
      {"riesig.png", ForgedPng(100000, 100000), true},
      // Within the largest size, but the image data could never hold it.
      {"luftig.png", ForgedPng(16000, 16000), false},
      {"text.png", {'n', 'i', 'c', 'h', 't', 's'}, false},
  };
  for (const Case& c : cases) {
    S().SetSourceImageName(PatternFile("vorher.bmp", 50, 40));
    dialogs.ClearShown();
    const std::string path = Write(c.name, c.file);
    S().SetSourceImageName(path);
    const std::string expected = c.tooLarge ? PictureTooLargeText(path) : PictureDamagedText(path);
    EXPECT_EQ(dialogs.Texts(TKind::Information), std::vector<std::string>{expected}) << c.name;
    EXPECT_TRUE(S().Loaded());
    EXPECT_EQ(S().SourceImageName(), path);
    ASSERT_EQ(S().SrcImg().Width(), 300) << c.name;
    ASSERT_EQ(S().SrcImg().Height(), 300) << c.name;
    for (TPoint p : {TPoint{0, 0}, TPoint{299, 299}, TPoint{150, 20}})
      EXPECT_EQ(S().SrcImg().GetPixel(p.X, p.Y), clWhite) << c.name;
  }
}

TEST_F(SourceImage, CopyAndRenameThePictureFile) {
  const std::string original = PatternFile("a.bmp", 30, 20);
  S().SetSourceImageName(original);
  m.SetModified(false);
  const std::string dir = Path("kopie") + "/";
  std::filesystem::create_directories(dir);
  S().CopySourcePicture(dir);
  EXPECT_EQ(S().SourceImageName(), dir + "a.bmp");
  EXPECT_EQ(ReadBytes(dir + "a.bmp"), ReadBytes(original));
  EXPECT_FALSE(m.Modified());

  // A failed copy keeps the name and reports nothing.
  S().CopySourcePicture(Path("fehlt") + "/");
  EXPECT_EQ(S().SourceImageName(), dir + "a.bmp");
  EXPECT_TRUE(dialogs.Shown().empty());

  S().ChangeSourceImageName(Path("neu.bmp"));
  EXPECT_EQ(S().SourceImageName(), Path("neu.bmp"));
  EXPECT_EQ(S().SrcImg().Width(), 30) << "nothing loaded";
  EXPECT_FALSE(m.Modified());
}

}  // namespace
}  // namespace qv::test
