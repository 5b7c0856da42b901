#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

#include "Bitmap.h"
#include "JpegExif.h"
#include "JpegFile.h"
#include "PictureFile.h"
#include "PictureIo.h"
#include "PictureTestSupport.h"
#include "ProgramVersion.h"

namespace qv::test {

namespace {

TBitmap Decode(const TBytes& file) {
  TBitmap b;
  DecodeJpeg(file.data(), file.size(), "bild.jpg", b);
  return b;
}

// Largest channel difference between the bitmap and the block pattern of MakePatternJpeg,
// sampled away from block edges.
int PatternError(const TBitmap& b) {
  int worst = 0;
  for (int32_t y = 3; y < b.Height(); y += 8)
    for (int32_t x = 3; x < b.Width(); x += 8)
      worst = std::max(worst, ColorDistance(b.GetPixel(x, y), PatternColor(x / 8, y / 8)));
  return worst;
}

// Output of a command line (for exiftool).
std::string RunCommand(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  std::array<char, 256> buffer;
  while (pipe && fgets(buffer.data(), int(buffer.size()), pipe.get())) out += buffer.data();
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

// The first quantisation values of the first table (zig-zag order) of a JPEG file.
std::vector<int> FirstQuantValues(const TBytes& file) {
  for (size_t i = 2; i + 8 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == 0xDB) return {file[i + 5], file[i + 6], file[i + 7]};
  return {};
}

}  // namespace

TEST(JpegRead, ColourGrayAndProgressiveFilesBecome24BitRgb) {
  for (bool progressive : {false, true}) {
    const TBitmap b = Decode(MakePatternJpeg(64, 40, progressive));
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.Width(), 64);
    EXPECT_EQ(b.Height(), 40);
    EXPECT_LE(PatternError(b), 12) << "progressive " << progressive;
  }
  TBytes gray(16 * 8);
  for (size_t i = 0; i < gray.size(); ++i) gray[i] = i < 64 ? 40 : 200;  // upper half dark
  const TBitmap g = Decode(MakeJpeg(16, 8, TJpegKind::Gray, gray));
  EXPECT_EQ(g.PixelFormat(), pf24bit);
  EXPECT_LE(ColorDistance(g.GetPixel(2, 1), RGB(40, 40, 40)), 3);
  EXPECT_LE(ColorDistance(g.GetPixel(13, 6), RGB(200, 200, 200)), 3);
}

TEST(JpegRead, AdobeCmykAndYcckBecomeRgb) {
  // Inverted CMYK as Adobe files store it: red is C=255 M=0 Y=0 K=255, blue C=0 M=0 Y=255
  // K=255, a dark gray C=M=Y=255 K=64.
  const std::array<std::array<uint8_t, 4>, 3> stripes = {
      {{255, 0, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 64}}};
  TBytes samples;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 16; ++x) {
      const auto& s = stripes[y / 8];
      samples.insert(samples.end(), s.begin(), s.end());
    }
  for (TJpegKind kind : {TJpegKind::AdobeCmyk, TJpegKind::AdobeYcck}) {
    const TBitmap b = Decode(MakeJpeg(16, 24, kind, samples, false, 95));
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_LE(ColorDistance(b.GetPixel(8, 3), RGB(255, 0, 0)), 6);
    EXPECT_LE(ColorDistance(b.GetPixel(8, 11), RGB(0, 0, 255)), 6);
    EXPECT_LE(ColorDistance(b.GetPixel(8, 19), RGB(64, 64, 64)), 6);
  }
}

TEST(JpegRead, BrokenFilesRaiseTheirTexts) {
  const TBytes good = MakePatternJpeg(32, 32);
  TBytes huge = good;
  // The frame header (SOF0) holds height and width after its length and precision.
  for (size_t i = 2; i + 9 < huge.size(); ++i)
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = 0x75;  // height 30000
      huge[i + 6] = 0x30;
      huge[i + 7] = 0x75;  // width 30000
      huge[i + 8] = 0x30;
      break;
    }
  TBytes garbage(good.size());
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = uint8_t(i * 7);
  struct Case {
    const char* what;
    TBytes file;
    std::string expected;
  } cases[] = {
      {"empty", {}, PictureDamagedText("bild.jpg")},
      {"garbage", garbage, PictureDamagedText("bild.jpg")},
      {"cut in the header", TBytes(good.begin(), good.begin() + 100),
       PictureDamagedText("bild.jpg")},
      {"cut in the data", TBytes(good.begin(), good.end() - 40), PictureDamagedText("bild.jpg")},
      {"huge dimensions", huge, PictureTooLargeText("bild.jpg")},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf([&] { Decode(c.file); }), c.expected) << c.what;
}

TEST(JpegWrite, PlainFileHasJfifHeaderAndReadsBack) {
  TBitmap picture(pf32bit);
  picture.SetSize(48, 32);
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 48; ++x) picture.SetPixel(x, y, PatternColor(x / 8, y / 8));
  const std::vector<uint8_t> jpeg = EncodeJpeg("x.jpg", picture, 95);
  ASSERT_GT(jpeg.size(), 20u);
  EXPECT_EQ(jpeg[2], 0xFF);
  EXPECT_EQ(jpeg[3], 0xE0) << "APP0 (JFIF) follows the start of image";
  const TBitmap back = Decode(jpeg);
  EXPECT_EQ(back.Width(), 48);
  EXPECT_LE(PatternError(back), 8);
}

TEST(ExifThumbnail, FitsWithin160By120KeepingTheAspectRatio) {
  struct Case {
    int32_t w, h;
    TPoint expected;
  } cases[] =
      {
          {400, 300, {160, 120}}, {1000, 200, {160, 32}}, {300, 400, {90, 120}},
          {100, 50, {100, 50}},   {161, 1, {160, 1}},     {1, 1000, {1, 120}},
          {170, 121, {160, 114}},  // 121 * 160 / 170 = 113.9
      };
  for (const Case& c : cases)
    EXPECT_EQ(ExifThumbnailSize(c.w, c.h), c.expected) << c.w << " x " << c.h;
}

class JpegExifTest : public TPictureTest {
 protected:
  std::string Exif(const std::string& file, const std::string& tag) const {
    return RunCommand("exiftool -s3 -n -" + tag + " '" + file + "' 2>&1");
  }
  // Size of the embedded thumbnail, decoded by our own reader.
  TPoint ThumbnailSize(const std::string& file) const {
    const std::string thumb = Path("thumb.jpg");
    RunCommand("exiftool -b -ThumbnailImage '" + file + "' > '" + thumb + "'");
    const TBytes bytes = ReadBytes(thumb);
    if (bytes.empty()) return {};
    const TBitmap t = Decode(bytes);
    return {t.Width(), t.Height()};
  }
};

TEST_F(JpegExifTest, FrameExportCarriesOrientationSoftwareAndThumbnail) {
  struct Case {
    const char* name;
    int32_t w, h;
    TPoint thumb;
  } cases[] = {{"frame.JPG", 400, 300, {160, 120}}, {"wide.jpeg", 1000, 200, {160, 32}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = Path(c.name);
    ASSERT_TRUE(SaveFramePicture(file, PatternBitmap(c.w, c.h, pf32bit)));
    const TBytes bytes = ReadBytes(file);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes[3], 0xE1) << "the EXIF block follows the start of image";
    EXPECT_EQ(Exif(file, "Orientation"), "1");
    EXPECT_EQ(Exif(file, "Software"), "Zunt Quorvel " + GetProgramVersion());
    EXPECT_EQ(ThumbnailSize(file), c.thumb);
    EXPECT_EQ(FirstQuantValues(bytes), (std::vector<int>{2, 1, 1})) << "quality 95";
    const TBitmap back = Decode(bytes);
    EXPECT_EQ(back.Width(), c.w);
    EXPECT_EQ(back.Height(), c.h);
  }
}

TEST(ProgramVersion, FourNumbersJoinedByDots) {
  const std::string v = GetProgramVersion();
  int parts[4] = {-1, -1, -1, -1};
  char tail = 0;
  EXPECT_EQ(
      std::sscanf(v.c_str(), "%d.%d.%d.%d%c", &parts[0], &parts[1], &parts[2], &parts[3], &tail), 4)
      << v;
  for (int p : parts) EXPECT_GE(p, 0);
}

}  // namespace qv::test
