#include <gtest/gtest.h>

#include <filesystem>

#include "AVIFileWriter.h"
#include "DibFormat.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

using test::Le16;
using test::Le32;
using test::Tag;

constexpr int W = 64, H = 48;

TAVIVideoFormat UncompressedFormat() {
  TAVIVideoFormat f;
  f.FPS = 25;
  f.Width = W;
  f.Height = H;
  f.Handler = FourCC("DIB ");
  f.SuggestedBufferSize = DibRowBytes(W, 24) * H;
  f.Format = DibHeaderBlock(DibHeader(W, H), std::vector<uint8_t>(4, 0));
  return f;
}

// Writes frames 0 .. count-1 of the test picture; answers where each frame's chunk ends.
std::vector<uint64_t> WriteTestFile(const std::string& file, int count, uint64_t partSize,
                                    bool finish = true) {
  TAVIFileWriter w(partSize);
  EXPECT_TRUE(w.Create(file));
  TAVIVideoFormat f = UncompressedFormat();
  EXPECT_TRUE(w.WriteHeaders(&f));
  std::vector<uint64_t> ends;
  for (int n = 0; n < count; ++n) {
    auto frame = test::TestFrame(W, H, n);
    EXPECT_TRUE(w.WriteFrame(frame.data(), frame.size(), true));
    ends.push_back(std::filesystem::file_size(file));
  }
  if (finish)
    EXPECT_TRUE(w.Finish());
  else
    w.Abandon();
  return ends;
}

void ExpectFramesDecode(const std::string& file, int count) {
  auto frames = test::DecodeWithFFmpeg(file, W, H);
  ASSERT_EQ(int(frames.size()), count);
  for (int n = 0; n < count; ++n)
    ASSERT_EQ(frames[n], test::TopDown(test::TestFrame(W, H, n), W, H)) << "frame " << n;
}

TEST(AVIFileWriter, LongFileContinuesInOpenDMLParts) {
  test::TTempDir dir;
  const std::string file = dir.File("long.avi");
  const uint64_t partSize = 256 * 1024;  // 27 frames of 9 KiB per part
  WriteTestFile(file, 100, partSize);

  auto top = test::ParseRiff(file);
  ASSERT_GE(top.size(), 4u);
  EXPECT_EQ(top[0].ListType, Tag("AVI "));
  for (size_t i = 1; i < top.size(); ++i) EXPECT_EQ(top[i].ListType, Tag("AVIX"));
  uint64_t fileEnd = 0;
  for (const auto& part : top) {
    EXPECT_LE(part.Size + 8u, partSize);
    EXPECT_NE(part.Find("movi"), nullptr);
    EXPECT_NE(part.Find("ix00"), nullptr);
    fileEnd = part.Offset + 8 + part.Size;
  }
  EXPECT_EQ(fileEnd, std::filesystem::file_size(file));

  // The first part keeps a plain index of its own frames; the header counts them.
  const auto* idx1 = top[0].Find("idx1");
  ASSERT_NE(idx1, nullptr);
  const uint32_t firstFrames = uint32_t(idx1->Data.size() / 16);
  EXPECT_EQ(top[0].FindAll("00db").size(), firstFrames);
  EXPECT_EQ(Le32(top[0].Find("avih")->Data.data() + 16), firstFrames);
  EXPECT_EQ(Le32(top[0].Find("strh")->Data.data() + 32), 100u);
  EXPECT_EQ(Le32(top[0].Find("dmlh")->Data.data()), 100u);
  for (size_t i = 1; i < top.size(); ++i) EXPECT_EQ(top[i].Find("idx1"), nullptr);

  // The super index points at every part's standard index.
  const auto* indx = top[0].Find("indx");
  ASSERT_NE(indx, nullptr);
  const uint8_t* d = indx->Data.data();
  EXPECT_EQ(Le16(d), 4);
  EXPECT_EQ(d[3], 0);  // index of indexes
  ASSERT_EQ(Le32(d + 4), top.size());
  EXPECT_EQ(Le32(d + 8), Tag("00db"));
  uint32_t total = 0;
  for (size_t i = 0; i < top.size(); ++i) {
    const uint8_t* e = d + 24 + 16 * i;
    const uint64_t offset = Le32(e) | (uint64_t(Le32(e + 4)) << 32);
    const auto* ix = top[i].Find("ix00");
    EXPECT_EQ(offset, ix->Offset);
    EXPECT_EQ(Le32(e + 8), ix->Size + 8);
    EXPECT_EQ(Le32(e + 12), top[i].FindAll("00db").size());
    EXPECT_EQ(Le32(ix->Data.data() + 4), top[i].FindAll("00db").size());
    total += Le32(e + 12);
  }
  EXPECT_EQ(total, 100u);

  auto probe = test::Probe(file);
  EXPECT_EQ(probe.Packets, 100);
  ExpectFramesDecode(file, 100);
}

TEST(AVIFileWriter, FileCutAtAnyByteDecodesUpToItsLastCompleteFrame) {
  test::TTempDir dir;
  for (uint64_t partSize : {TAVIFileWriter::DefaultMaxPartSize, uint64_t(128 * 1024)}) {
    const std::string file = dir.File("whole.avi");
    auto ends = WriteTestFile(file, 30, partSize);
    const uint64_t size = std::filesystem::file_size(file);
    const uint64_t cuts[] = {ends[0] - 1, ends[4] + 3,  ends[13] - 4000, ends[14] + 8,
                             ends[19],    ends[29] - 1, ends[29] + 10,   size - 5};
    for (uint64_t cut : cuts) {
      const std::string part = dir.File("cut.avi");
      std::filesystem::copy_file(file, part, std::filesystem::copy_options::overwrite_existing);
      std::filesystem::resize_file(part, cut);
      int complete = 0;
      while (complete < 30 && ends[complete] <= cut) ++complete;
      SCOPED_TRACE("part size " + std::to_string(partSize) + ", cut at " + std::to_string(cut));
      ExpectFramesDecode(part, complete);
    }
  }
}

TEST(AVIFileWriter, FileLeftWithoutIndexIsReadable) {
  test::TTempDir dir;
  for (uint64_t partSize : {TAVIFileWriter::DefaultMaxPartSize, uint64_t(128 * 1024)}) {
    const std::string file = dir.File("crashed.avi");
    WriteTestFile(file, 40, partSize, false);
    SCOPED_TRACE(partSize);
    ExpectFramesDecode(file, 40);
  }
}

}  // namespace
}  // namespace qv
