// quorvel-cli sequence on a sequence file of two copies of the example project: the video by
// ffprobe, members left out, files that are no sequence.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CliRun.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

using test::RunCli;

// The example project and its pictures in a scratch folder, and a sequence file beside it.
class ExampleSequence : public ::testing::Test {
 protected:
  ExampleSequence() {
    const std::filesystem::path src = std::filesystem::path(QUORVEL_SOURCE_DIR) / "examples";
    for (const char* f : {"anfang.bmp", "ende.bmp", "example.qvp"})
      std::filesystem::copy_file(src / f, Dir.File(f));
  }
  void WriteSequence(const std::string& text) { std::ofstream(Sequence, std::ios::binary) << text; }

  test::TTempDir Dir;
  std::string Sequence = Dir.File("reise.msq");
  std::string Out = Dir.File("reise.avi");
};

TEST_F(ExampleSequence, TwoTracksGiveTheLongerOnesLength) {
  // Track 1: 1 + 6 + 1 + 2 = 10 frames; track 2: 1 + 3 + 1 + 2 = 7 frames; "weg.qvp" is left out.
  WriteSequence(
      "[$Project]\r\nType=ZuntMorphSeq\r\nFramesPerSecond=30\r\nBGWidth=644\r\nBGHeight=244\r\n"
      "BGColor=255\r\n\r\n"
      "[00]\r\nMorph=example.qvp\r\nFrameCount=6\r\nSubSeq=1\r\n\r\n"
      "[01]\r\nMorph=example.qvp\r\nFrameCount=3\r\nSubSeq=2\r\nHorzAlign=2\r\n\r\n"
      "[02]\r\nMorph=weg.qvp\r\nSubSeq=2\r\n\r\n");
  const auto r = RunCli({"sequence", Sequence, "-o", Out, "--codec", "ffv1"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Err.find("weg.qvp\nist keine Morphing-Datei"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("3. weg: keine lesbare Morphing-Datei"), std::string::npos) << r.Err;
  const test::TProbe probe = test::Probe(Out);
  EXPECT_EQ(probe.Codec, "ffv1");
  EXPECT_EQ(probe.Rate, "30/1");
  EXPECT_EQ(probe.Width, 640);
  EXPECT_EQ(probe.Height, 240);
  EXPECT_EQ(probe.Packets, 10);
}

TEST_F(ExampleSequence, NothingToRenderAndNoSequenceAreErrors) {
  WriteSequence("[$Project]\r\nType=ZuntMorphSeq\r\n\r\n[00]\r\nMorph=weg.qvp\r\n\r\n");
  auto r = RunCli({"sequence", Sequence, "-o", Out});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Die Sequenz enthält kein Morphing, das gerendert werden kann."),
            std::string::npos)
      << r.Err;
  EXPECT_FALSE(std::filesystem::exists(Out));

  r = RunCli({"sequence", Dir.File("example.qvp"), "-o", Out});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("ist keine Morph-Sequenz-Datei"), std::string::npos) << r.Err;
  r = RunCli({"sequence", Dir.File("fehlt.msq"), "-o", Out});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(Out));
}

}  // namespace
}  // namespace qv
