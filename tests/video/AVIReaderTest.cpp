#include <gtest/gtest.h>

#include <fstream>

#include "AVIReader.h"
#include "DibFormat.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

constexpr int W = 160, H = 120, Frames = 40;

// A test video of the test pictures, encoded by ffmpeg itself; false when ffmpeg failed.
bool MakeVideo(const std::string& file, const std::string& codecArgs, int fps = 25,
               int frames = Frames) {
  return test::EncodeTestFrames(file, W, H, fps, frames, codecArgs);
}

// The pixels of a DIB the reader answered, as rows from the top.
std::vector<uint8_t> Pixels(const uint8_t* dib) {
  TBitmapInfoHeader info;
  EXPECT_TRUE(ReadDibHeader(dib, DibHeaderSize, info));
  std::vector<uint8_t> bits(dib + DibHeaderSize, dib + DibHeaderSize + info.biSizeImage);
  return test::TopDown(bits, info.biWidth, info.biHeight);
}

struct TSource {
  const char* Name;
  const char* Args;
  bool Lossless;
};

const TSource kSources[] = {
    {"raw.avi", "-c:v rawvideo -pix_fmt bgr24", true},
    {"ffv1.avi", "-c:v ffv1 -pix_fmt bgr0", true},
    {"mjpeg.avi", "-c:v mjpeg -q:v 3", false},
    {"mpeg4.avi", "-c:v mpeg4 -q:v 3 -g 10", false},
    {"h264.avi", "-c:v libx264 -g 10 -bf 2", false},  // B-frames: stored out of display order
    {"h264.mp4", "-c:v libx264 -g 10 -bf 2 -pix_fmt yuv420p", false},
};

class AVIReaderSources : public ::testing::TestWithParam<TSource> {};

TEST_P(AVIReaderSources, ReadsEveryFrameOfAFileMadeByFFmpeg) {
  test::TTempDir dir;
  const TSource& src = GetParam();
  const std::string file = dir.File(src.Name);
  ASSERT_TRUE(MakeVideo(file, src.Args));
  auto expected = test::DecodeWithFFmpeg(file, W, H);
  ASSERT_EQ(int(expected.size()), Frames);

  TAVIReader reader;
  ASSERT_TRUE(reader.OpenAVIFile(file)) << reader.ErrorMessage();
  for (int n = 0; n < Frames; ++n) {
    const uint8_t* dib = reader.GetFrame(n);
    ASSERT_NE(dib, nullptr) << "frame " << n;
    TBitmapInfoHeader info;
    ASSERT_TRUE(ReadDibHeader(dib, reader.FrameSize(), info));
    EXPECT_EQ(test::Le32(dib), 40u);
    EXPECT_EQ(info.biWidth, W);
    EXPECT_EQ(info.biHeight, H);
    EXPECT_EQ(info.biPlanes, 1);
    EXPECT_EQ(info.biBitCount, 24);
    EXPECT_EQ(info.biCompression, 0u);
    ASSERT_EQ(info.biSizeImage, DibRowBytes(W, 24) * H);
    ASSERT_EQ(reader.FrameSize(), DibHeaderSize + info.biSizeImage);
    auto pixels = Pixels(dib);
    if (src.Lossless) {
      ASSERT_EQ(pixels, expected[n]) << "frame " << n;
    } else {
      // Colour conversions may differ slightly; the frame must be the right one.
      ASSERT_LT(test::MeanDifference(pixels, expected[n]), 3.0) << "frame " << n;
      if (n > 0) {
        ASSERT_GT(test::MeanDifference(pixels, expected[n - 1]), 8.0) << "frame " << n;
      }
    }
  }
  EXPECT_EQ(reader.GetFrame(Frames), nullptr);
  EXPECT_EQ(reader.GetFrame(Frames + 100), nullptr);
  EXPECT_EQ(reader.GetFrame(-1), nullptr);
  EXPECT_EQ(reader.FPS(), 25);
}

TEST_P(AVIReaderSources, JumpsGiveTheSameFramesAsReadingOn) {
  test::TTempDir dir;
  const TSource& src = GetParam();
  const std::string file = dir.File(src.Name);
  ASSERT_TRUE(MakeVideo(file, src.Args));
  std::vector<std::vector<uint8_t>> sequential;
  {
    TAVIReader reader;
    ASSERT_TRUE(reader.OpenAVIFile(file));
    for (int n = 0; n < Frames; ++n) sequential.push_back(Pixels(reader.GetFrame(n)));
  }
  TAVIReader reader;
  ASSERT_TRUE(reader.OpenAVIFile(file));
  for (int n : {37, 5, 6, 6, 21, 0, 39, 40, 12, 11, 10, 30, 31, 3, 45, 38}) {
    const uint8_t* dib = reader.GetFrame(n);
    if (n >= Frames) {
      EXPECT_EQ(dib, nullptr) << n;
      continue;
    }
    ASSERT_NE(dib, nullptr) << n;
    EXPECT_EQ(Pixels(dib), sequential[n]) << "frame " << n;
  }
}

INSTANTIATE_TEST_SUITE_P(Codecs, AVIReaderSources, ::testing::ValuesIn(kSources),
                         [](const auto& info) {
                           std::string n = info.param.Name;
                           for (char& c : n)
                             if (c == '.') c = '_';
                           return n;
                         });

TEST(AVIReader, OpenFailuresExplainThemselves) {
  test::TTempDir dir;
  std::ofstream(dir.File("text.avi")) << "this is no video at all, just some words\n";
  std::ofstream(dir.File("empty.avi"));
  std::ofstream(dir.File("clip.xyz")) << "RIFF";
  std::ofstream(dir.File("noext")) << "RIFF";
  std::filesystem::create_directory(dir.File("folder.avi"));
  const struct {
    std::string File;
    const char* Message;
  } cases[] = {
      {dir.File("clip.xyz"), "no Handler for .xyz"},
      {dir.File("noext"), "no Handler for "},
      {dir.File("missing.avi"), "A disk error occurred while opening the file."},
      {dir.File("text.avi"),
       "The file couldn't be read, indicating a corrupt file or an unrecognized format."},
      {dir.File("empty.avi"),
       "The file couldn't be read, indicating a corrupt file or an unrecognized format."},
      {dir.File("folder.avi"), "A disk error occurred while reading the file."},
  };
  for (const auto& c : cases) {
    TAVIReader reader;
    EXPECT_FALSE(reader.OpenAVIFile(c.File)) << c.File;
    EXPECT_EQ(reader.ErrorMessage(), c.Message) << c.File;
    EXPECT_EQ(reader.GetFrame(0), nullptr);
  }
}

TEST(AVIReader, FileWithoutVideoOpensButHasNoFrames) {
  test::TTempDir dir;
  const std::string file = dir.File("sound.avi");
  ASSERT_TRUE(test::MakeSoundOnlyAVI(file));
  TAVIReader reader;
  EXPECT_TRUE(reader.OpenAVIFile(file)) << reader.ErrorMessage();
  EXPECT_EQ(reader.GetFrame(0), nullptr);
}

TEST(AVIReader, FramesCountByTimeAtOtherRates) {
  test::TTempDir dir;
  const std::string file = dir.File("thirty.avi");
  ASSERT_TRUE(MakeVideo(file, "-c:v ffv1 -pix_fmt bgr0", 30, 12));
  auto expected = test::DecodeWithFFmpeg(file, W, H);
  TAVIReader reader;
  ASSERT_TRUE(reader.OpenAVIFile(file));
  for (int n : {11, 0, 7, 8}) ASSERT_EQ(Pixels(reader.GetFrame(n)), expected[n]) << n;
  EXPECT_EQ(reader.GetFrame(12), nullptr);
}

}  // namespace
}  // namespace qv
