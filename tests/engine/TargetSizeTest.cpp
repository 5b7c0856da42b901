// Target size and background: buffers and points follow a size change, impossible sizes are
// refused, and frames are placed on a colour or picture background.
#include <gtest/gtest.h>

#include "BmpFile.h"
#include "Canvas.h"
#include "Morph.h"
#include "MorphError.h"
#include "Picture.h"
#include "PictureIo.h"
#include "PictureTestSupport.h"
#include "ScriptedDialogs.h"

namespace qv::test {
namespace {

using TKind = TScriptedDialogs::TKind;

class TargetSize : public TPictureTest {
 protected:
  void SetUp() override {
    TPictureTest::SetUp();
    m.NewProject("", 400, 300);
    m.SetMorphMode(mm_Points);
  }
  // A picture file of the test pattern, kept exactly (24-bit BMP).
  std::string PatternFile(const std::string& name, int32_t w, int32_t h) {
    const std::string path = Path(name);
    SaveBmpFile(path, PatternBitmap(w, h));
    return path;
  }
  TScriptedDialogs dialogs;
  TMorphing m;
};

TEST_F(TargetSize, SettingTheSameSizeAgainKeepsEverything) {
  m.AddPoint(m.Source1(), {123, 45});
  m.SetModified(false);
  const uint32_t* pix1 = m.Source1().SourcePix();
  const uint32_t* target = m.TargetPix();
  m.setTargetImageSize(400, 300);
  EXPECT_FALSE(m.Modified());
  EXPECT_EQ(m.Source1().SourcePix(), pix1);
  EXPECT_EQ(m.TargetPix(), target);
  EXPECT_EQ(m.Source1().Angles()[4], (TPoint{123, 45}));

  // After Clear the buffers are missing and the same size allocates them again.
  m.Clear();
  ASSERT_EQ(m.TargetPix(), nullptr);
  m.setTargetImageSize(400, 300);
  EXPECT_NE(m.TargetPix(), nullptr);
  EXPECT_NE(m.Source1().SourcePix(), nullptr);
  EXPECT_NE(m.Source2().SourcePix(), nullptr);
  EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(TargetSize, PointsScaleByMulDivRoundingHalvesAwayFromZero) {
  for (TPoint p : {TPoint{10, 20}, TPoint{2, 3}, TPoint{6, 150}, TPoint{200, 150}})
    m.AddPoint(m.Source1(), p);
  struct Step {
    int32_t w, h;
    std::vector<TPoint> points;  // points 1, 2, 4, 5, 6, 7
  } steps[] = {
      // 400 x 300 -> 800 x 300.
      {800, 300, {{798, 0}, {798, 299}, {20, 20}, {4, 3}, {12, 150}, {400, 150}}},
      // -> 600 x 400: X * 3/4 (1.5 -> 2, 4.5 -> 5), Y * 4/3.
      {600, 400, {{599, 0}, {599, 399}, {15, 27}, {3, 4}, {9, 200}, {300, 200}}},
      // -> 400 x 600 (aspect ratio changes too).
      {400, 600, {{399, 0}, {399, 599}, {10, 41}, {2, 6}, {6, 300}, {200, 300}}},
  };
  for (const Step& s : steps) {
    m.setTargetImageSize(s.w, s.h);
    ASSERT_EQ(m.Width(), s.w);
    for (const TMorphSource* src : {&m.Source1(), &m.Source2()}) {
      const TAngleArray& a = src->Angles();
      const std::vector<TPoint> got{a[1], a[2], a[4], a[5], a[6], a[7]};
      EXPECT_EQ(got, s.points) << s.w << " x " << s.h;
    }
  }
  EXPECT_TRUE(m.Modified());
}

TEST_F(TargetSize, ImpossibleSizesAreRefusedAndLeaveNoBuffers) {
  m.AddPoint(m.Source1(), {50, 60});
  struct Size {
    int32_t cx, cy;
  } sizes[] = {{0, 10}, {10, 0}, {-5, 5}, {16385, 10}, {10, 16385}, {INT32_MAX, 1}};
  for (const Size& s : sizes) {
    dialogs.ClearShown();
    m.setTargetImageSize(s.cx, s.cy);
    EXPECT_EQ(dialogs.Texts(TKind::Message), std::vector<std::string>{"Unzulässige Bildgröße"})
        << s.cx << " x " << s.cy;
    EXPECT_EQ(m.TargetPix(), nullptr);
    EXPECT_EQ(m.Source1().SourcePix(), nullptr);
    EXPECT_EQ(m.Source1().Angles()[4], (TPoint{50, 60})) << "points unchanged";
  }
  // The largest accepted side.
  dialogs.ClearShown();
  m.setTargetImageSize(16384, 2);
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_NE(m.TargetPix(), nullptr);
  m.setTargetImageSize(400, 300);
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_EQ(m.Width(), 400);
  EXPECT_NE(m.Source2().SourcePix(), nullptr);
}

TEST_F(TargetSize, RectanglesKeepTheirWidthAndTakeTheNewAspect) {
  m.Source1().SetSourceImageName(PatternFile("a.bmp", 1000, 500));
  m.setRectWidth(m.Source1(), 300);
  ASSERT_EQ(m.Source1().RectHeight(), 225);
  m.setTargetImageSize(300, 400);
  EXPECT_EQ(m.Source1().RectWidth(), 300);
  EXPECT_EQ(m.Source1().RectHeight(), 400);
  // Too high for the picture: the height is the picture's, the width follows.
  m.setTargetImageSize(100, 400);
  EXPECT_EQ(m.Source1().RectHeight(), 500);
  EXPECT_EQ(m.Source1().RectWidth(), 125);
}

// A frame of W x H painted with the coordinate colours, composed on a colour background.
class Composition : public TargetSize {
 protected:
  void Prepare(int32_t W, int32_t H, int32_t bgW, int32_t bgH) {
    m.setTargetImageSize(W, H);
    m.BackGround().SetWidth(bgW);
    m.BackGround().SetHeight(bgH);
    m.BackGround().AsureBGBMP();
    m.BackGround().FillBackground(kBlue);
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) m.TargetBmp().SetPixel(x, y, Frame(x, y));
  }
  static TColor Frame(int32_t x, int32_t y) { return RGB(uint8_t(x), uint8_t(y), 77); }
  static constexpr TColor kBlue = 0xFF0000;
};

TEST_F(Composition, FrameIsCentredWithTruncatingDivision) {
  struct Case {
    int32_t W, H, bgW, bgH, left, top;
  } cases[] = {
      {100, 80, 200, 160, 50, 40},
      {101, 81, 200, 160, 49, 39},  // 99 / 2 and 79 / 2
      {100, 80, 50, 40, -25, -20},  // smaller background: the frame is cropped on all sides
      {101, 81, 50, 40, -25, -20},  // -51 / 2 truncates toward zero
  };
  for (const Case& c : cases) {
    Prepare(c.W, c.H, c.bgW, c.bgH);
    m.updateBgBmp();
    const TBitmap& bg = m.BgBmp();
    ASSERT_EQ(bg.Width(), c.bgW);
    for (int32_t y = 0; y < c.bgH; ++y)
      for (int32_t x = 0; x < c.bgW; ++x) {
        const int32_t fx = x - c.left, fy = y - c.top;
        const bool inFrame = fx >= 0 && fy >= 0 && fx < c.W && fy < c.H;
        ASSERT_EQ(bg.GetPixel(x, y), inFrame ? Frame(fx, fy) : kBlue)
            << c.W << " x " << c.H << " on " << c.bgW << " x " << c.bgH << " at " << x << ","
            << y;
      }
  }
}

TEST_F(Composition, FillBackgroundPaintsTheBackgroundsAreaOfTheTarget) {
  Prepare(100, 100, 50, 50);
  m.BackGround().FillBackground(0x00FF00);
  EXPECT_EQ(m.TargetBmp().GetPixel(49, 49), 0x00FF00u);
  EXPECT_EQ(m.TargetBmp().GetPixel(50, 10), Frame(50, 10));
  EXPECT_EQ(m.TargetBmp().GetPixel(10, 50), Frame(10, 50));
  EXPECT_EQ(m.BgBmp().GetPixel(0, 0), 0x00FF00u);

  // An empty background bitmap paints nothing anywhere.
  m.BackGround().SetWidth(0);
  m.BackGround().AsureBGBMP();
  m.BackGround().FillBackground(0x0000FF);
  EXPECT_EQ(m.TargetBmp().GetPixel(0, 0), 0x00FF00u);
}

TEST_F(TargetSize, BackgroundWritesOfTheCurrentValueChangeNothing) {
  TBackGround& bg = m.BackGround();
  bg.SetBgType(bg_Pict);
  bg.SetBGColor(0x123456);
  bg.SetWidth(640);
  m.SetModified(false);
  bg.SetBgType(bg_Pict);
  bg.SetBGColor(0x123456);
  bg.SetWidth(640);
  EXPECT_FALSE(m.Modified());
  bg.SetHeight(480);
  EXPECT_TRUE(m.Modified());
  m.SetModified(false);
  bg.ChangeSourceImageName(Path("b.bmp"));
  EXPECT_EQ(bg.BGPictureName(), Path("b.bmp"));
  EXPECT_FALSE(m.Modified());
  EXPECT_EQ(bg.BgPicture(), nullptr) << "nothing loaded";
}

// Frames of 100 x 80 without triangles on a 200 x 160 picture background.
class PictureBackground : public TargetSize {
 protected:
  void SetUp() override {
    TargetSize::SetUp();
    m.setTargetImageSize(100, 80);
    m.Source1().SetSourceImageName(PatternFile("s1.bmp", 100, 80));
    m.Source2().SetSourceImageName(PatternFile("s2.bmp", 100, 80));
    m.SetwithBG(true);
    m.BackGround().SetBgType(bg_Pict);
    m.BackGround().SetWidth(200);
    m.BackGround().SetHeight(160);
  }
  void Frame() {
    m.MakeFramesInit();
    m.UpdateTargetAngles(1, 2);
    m.UpdateTargetPict();
    m.Make1Frame(1, 2, oe_both, true);
    m.updateBgBmp();
  }
};

TEST_F(PictureBackground, TargetShowsThePartTheFrameCovers) {
  m.BackGround().SetBGPictureName(PatternFile("bg.bmp", 200, 160));
  Frame();
  for (int32_t y = 0; y < 80; ++y)
    for (int32_t x = 0; x < 100; ++x)
      ASSERT_EQ(m.TargetBmp().GetPixel(x, y), PatternColor(x + 50, y + 40)) << x << "," << y;
  // Composed: the whole picture, the frame exactly over its own part.
  for (int32_t y = 0; y < 160; ++y)
    for (int32_t x = 0; x < 200; ++x)
      ASSERT_EQ(m.BgBmp().GetPixel(x, y), PatternColor(x, y)) << x << "," << y;
}

TEST_F(PictureBackground, SmallPictureLeavesBlackAndNoEarlierFrameShows) {
  m.BackGround().SetBGPictureName(PatternFile("bg.bmp", 120, 100));
  for (int run = 0; run < 2; ++run) {
    Frame();
    // The picture lies at (-50, -40) of the target.
    EXPECT_EQ(m.TargetBmp().GetPixel(10, 10), PatternColor(60, 50)) << run;
    EXPECT_EQ(m.TargetBmp().GetPixel(80, 10), clBlack) << run;
    EXPECT_EQ(m.TargetBmp().GetPixel(10, 70), clBlack) << run;
    EXPECT_EQ(m.BgBmp().GetPixel(5, 5), PatternColor(5, 5)) << run;
    EXPECT_EQ(m.BgBmp().GetPixel(190, 5), clBlack) << run;
    EXPECT_EQ(m.BgBmp().GetPixel(160, 130), clBlack) << run;
    EXPECT_EQ(m.BgBmp().GetPixel(60, 50), PatternColor(60, 50)) << run;
  }
  // Back to a colour: the loaded picture no longer shows.
  m.BackGround().SetBgType(bg_Color);
  m.BackGround().SetBGColor(0x00FF00);
  Frame();
  EXPECT_EQ(m.BgBmp().GetPixel(5, 5), 0x00FF00u);
  EXPECT_EQ(m.BgBmp().GetPixel(190, 150), 0x00FF00u);
}

TEST_F(PictureBackground, IconsLoadMissingFilesPaintBlackMetafilesAreRefused) {
  m.BackGround().SetBGPictureName(PatternFile("bg.bmp", 200, 160));
  ASSERT_FALSE(m.BackGround().BgPicture()->Empty());

  // An icon with a PNG image inside.
  std::vector<uint32_t> pixels(16 * 16, 0xFF0000FF);
  const std::string ico = Write("logo.ico", MakeIco({{16, 16, 32, MakeRgbaPng(16, 16, pixels)}}));
  m.BackGround().SetBGPictureName(ico);
  EXPECT_EQ(m.BackGround().BgPicture()->Width(), 16);
  Frame();
  EXPECT_EQ(m.BgBmp().GetPixel(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(m.BgBmp().GetPixel(30, 3), clBlack);

  // A missing file: black, no error.
  m.BackGround().SetBGPictureName(Path("fehlt.png"));
  EXPECT_TRUE(m.BackGround().BgPicture()->Empty());
  EXPECT_NO_THROW(Frame());
  EXPECT_EQ(m.BgBmp().GetPixel(3, 3), clBlack);

  // A metafile names the file and the reason; the old picture does not stay under the name.
  m.BackGround().SetBGPictureName(ico);
  const std::string emf = Write("plan.emf", TBytes(64, 1));
  EXPECT_EQ(ErrorOf([&] { m.BackGround().SetBGPictureName(emf); }), PictureFormatText(emf));
  EXPECT_EQ(m.BackGround().BGPictureName(), emf);
  EXPECT_TRUE(m.BackGround().BgPicture()->Empty());
  Frame();
  EXPECT_EQ(m.BgBmp().GetPixel(3, 3), clBlack);
}

}  // namespace
}  // namespace qv::test
