#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "Bitmap.h"
#include "BmpFile.h"
#include "PictureFile.h"
#include "PictureIo.h"
#include "PictureTestSupport.h"

namespace qv::test {

TEST(PictureKind, ExtensionFromTheLastDotCaseBlind) {
  struct Case {
    const char* name;
    const char* extension;
    TPictureKind kind;
    bool source, background;
  } cases[] = {
      {"bild.jpg", ".JPG", pk_Jpeg, true, true},
      {"/a/BILD.JPEG", ".JPEG", pk_Jpeg, true, true},
      {"Bild.Gif", ".GIF", pk_Gif, true, true},
      {"x.tar.bmp", ".BMP", pk_Bmp, true, true},
      {"bild.png", ".PNG", pk_Png, true, true},
      {"logo.Ico", ".ICO", pk_Icon, false, true},
      {"plan.emf", ".EMF", pk_Metafile, false, false},
      {"plan.WMF", ".WMF", pk_Metafile, false, false},
      {"bild.jpg.txt", ".TXT", pk_none, false, false},
      {"ordner.jpg/bild", "", pk_none, false, false},
      {"bild", "", pk_none, false, false},
      {"bild.", ".", pk_none, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PictureExtension(c.name), c.extension) << c.name;
    EXPECT_EQ(PictureKindOf(c.name), c.kind) << c.name;
    EXPECT_EQ(IsSourcePicture(c.name), c.source) << c.name;
    EXPECT_EQ(IsBackgroundPicture(c.name), c.background) << c.name;
  }
}

TEST(PictureTexts, NameTheFileBetweenLineBreaks) {
  EXPECT_EQ(PictureDamagedText("C:/x.bmp"),
            "Die Bilddatei\rC:/x.bmp\rist beschädigt oder unvollständig.");
  EXPECT_EQ(PictureFormatText("a.emf"),
            "Das Format der Datei\ra.emf\rkann nicht als Bild verwendet werden.");
  EXPECT_EQ(PictureTooLargeText("a.gif"),
            "Das Bild in der Datei\ra.gif\rist zu groß (höchstens 16384 x 16384 Bildpunkte).");
}

class PictureFileTest : public TPictureTest {};

TEST_F(PictureFileTest, DecodesEachFormatByItsExtension) {
  TDibLayout bmp;
  bmp.Width = 2;
  bmp.Height = 2;
  bmp.BitCount = 32;
  bmp.Bits = PackRows(32, {{0xFF0000, 0xFF0000}, {0x0000FF, 0x0000FF}});
  const std::vector<TColor> colors = {RGB(0, 200, 0), RGB(0, 0, 0)};
  TGifFrame frame;
  frame.Width = frame.Height = 2;
  frame.Indexes = TBytes(4, 0);
  struct Case {
    std::string name;
    TBytes file;
    TPixelFormat format;
    TColor topLeft;
    int tolerance;
  } cases[] = {
      {"a.BMP", MakeBmp(bmp), pf32bit, RGB(0, 0, 255), 0},
      {"a.gif", MakeGif(2, 2, colors, {frame}), pf24bit, RGB(0, 200, 0), 0},
      {"a.png", MakeRgbaPng(2, 2, std::vector<uint32_t>(4, 0xFF0000FF)), pf24bit, RGB(255, 0, 0),
       0},
      {"a.Jpeg", MakePatternJpeg(16, 16), pf24bit, PatternColor(0, 0), 12},
  };
  for (const Case& c : cases) {
    TBitmap b(c.format == pf24bit ? pf32bit : pf24bit);  // the decoder sets the format
    DecodePicture(Write(c.name, c.file), b);
    EXPECT_EQ(b.PixelFormat(), c.format) << c.name;
    EXPECT_LE(ColorDistance(b.GetPixel(0, 0), c.topLeft), c.tolerance) << c.name;
  }
}

TEST_F(PictureFileTest, UnusableMissingAndMislabelledFiles) {
  const std::string icon = Write("a.ico", TBytes(50, 0));
  const std::string metafile = Write("a.wmf", TBytes(50, 0));
  const std::string text = Write("a.txt", TBytes(50, 0));
  const std::string missing = Path("missing.jpg");
  const std::string folder = Path("folder.bmp");
  std::filesystem::create_directory(folder);
  const std::string pngAsJpeg = Write("png.jpg", MakeRgbaPng(1, 1, {0xFFFFFFFF}));
  const std::string empty = Write("empty.gif", {});
  struct Case {
    std::string file, expected;
  } cases[] = {
      {icon, PictureFormatText(icon)},  // icons only as backgrounds
      {metafile, PictureFormatText(metafile)},
      {Path("missing.emf"), PictureFormatText(Path("missing.emf"))},
      {text, PictureFormatText(text)},
      {missing, PictureNotFoundText(missing)},
      {Path("no-folder/x.png"), PictureNotFoundText(Path("no-folder/x.png"))},
      {folder, PictureUnreadableText(folder)},
      {pngAsJpeg, PictureDamagedText(pngAsJpeg)},
      {empty, PictureDamagedText(empty)},
  };
  for (const Case& c : cases) {
    TBitmap b;
    EXPECT_EQ(ErrorOf([&] { DecodePicture(c.file, b); }), c.expected) << c.file;
  }
}

TEST_F(PictureFileTest, FrameExportByExtension) {
  const TBitmap frame = PatternBitmap(7, 5, pf32bit);
  ASSERT_TRUE(SaveFramePicture(Path("f.Bmp"), frame));
  const TBytes bmp = ReadBytes(Path("f.Bmp"));
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(GetLE16(&bmp[28]), 32) << "frames are 32-bit bitmaps";
  TBitmap back;
  DecodePicture(Path("f.Bmp"), back);
  EXPECT_EQ(back.GetPixel(6, 4), PatternColor(6, 4));

  ASSERT_TRUE(SaveFramePicture(Path("f.jpeg"), frame));
  EXPECT_EQ(ReadBytes(Path("f.jpeg"))[3], 0xE1) << "JPEG with EXIF";

  for (const char* other : {"f.png", "f.gif", "f"}) {
    EXPECT_FALSE(SaveFramePicture(Path(other), frame)) << other;
    EXPECT_FALSE(std::filesystem::exists(Path(other))) << other;
  }
}

TEST_F(PictureFileTest, FailedWriteLeavesNoFileAndNamesIt) {
  const std::string notAFolder = Write("plain.txt", TBytes(3, 0));
  const std::string inside = notAFolder + "/frame.jpg";
  EXPECT_EQ(ErrorOf([&] { SaveFramePicture(inside, PatternBitmap(4, 4)); }),
            PictureWriteText(inside));

  // A file size limit makes the write fail half-way, as a full disk would.
  const std::string file = Path("frame.bmp");
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string error = ErrorOf([&] { SaveFramePicture(file, PatternBitmap(100, 100)); });
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(error, PictureWriteText(file));
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace qv::test
