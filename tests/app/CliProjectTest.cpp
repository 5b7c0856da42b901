// quorvel-cli on the bundled example project: every command with its outputs checked by their
// real readers (ffprobe, the picture decoder), and Ctrl+C during a render.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "AVIReader.h"
#include "Bitmap.h"
#include "CliRun.h"
#include "CompressOptions.h"
#include "Morph.h"
#include "PictureFile.h"
#include "ScriptedDialogs.h"
#include "VideoTestTools.h"

extern char** environ;

namespace qv {
namespace {

using test::RunCli;

// A copy of the example project in a scratch folder, with some of its keys changed.
using TChanges = std::vector<std::pair<std::string, std::string>>;

class ExampleProject {
 public:
  explicit ExampleProject(const TChanges& changes = {}) {
    const std::filesystem::path src = std::filesystem::path(QUORVEL_SOURCE_DIR) / "examples";
    for (const char* f : {"anfang.bmp", "ende.bmp"})
      std::filesystem::copy_file(src / f, Dir.File(f));
    std::ifstream in(src / "example.qvp", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string text = s.str();
    for (const auto& [from, to] : changes) {
      const size_t at = text.find(from);
      EXPECT_NE(at, std::string::npos) << from;
      if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    std::ofstream(Project, std::ios::binary) << text;
  }
  test::TTempDir Dir;
  std::string Project = Dir.File("example.qvp");
};

// The same project loaded in this process, for frames computed directly through the engine.
struct TLoaded {
  explicit TLoaded(const std::string& project) { m.LoadFromFile(project); }
  TScriptedDialogs dialogs;
  TMorphing m;
};

void ExpectSamePixels(const TBitmap& file, const TBitmap& expected) {
  ASSERT_EQ(file.Width(), expected.Width());
  ASSERT_EQ(file.Height(), expected.Height());
  for (int y = 0; y < file.Height(); ++y)
    for (int x = 0; x < file.Width(); ++x)
      ASSERT_EQ(file.GetPixel(x, y), expected.GetPixel(x, y)) << x << "," << y;
}

TBitmap Decoded(const std::string& fn) {
  TBitmap b;
  DecodePicture(fn, b);
  return b;
}

TEST(CliProject, RenderWritesTheWholeVideo) {
  ExampleProject p;
  const std::string out = p.Dir.File("morph.avi");
  const auto r = RunCli({"render", p.Project, "-o", out});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(r.Err.empty()) << "no progress without a terminal: " << r.Err;
  const test::TProbe probe = test::Probe(out);
  EXPECT_EQ(probe.Codec, "rawvideo");
  EXPECT_EQ(probe.Rate, "25/1");
  EXPECT_EQ(probe.Width, 320);
  EXPECT_EQ(probe.Height, 240);
  EXPECT_EQ(probe.Packets, 1 + 50 + 1 + 2);
}

TEST(CliProject, RenderWithACodecAndTheProjectsRateAndBackground) {
  ExampleProject p(TChanges{{"FramesPerSecond=25", "FramesPerSecond=30"},
                            {"FrameCount=50", "FrameCount=6"},
                            {"withBG=0", "withBG=1"},
                            {"BGWidth=320", "BGWidth=404"},
                            {"BGHeight=240", "BGHeight=300"}});
  const std::string out = p.Dir.File("morph.avi");
  const auto r =
      RunCli({"render", p.Project, "-o", out, "--codec", "mjpeg", "--quality", "90", "--quiet"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const test::TProbe probe = test::Probe(out);
  EXPECT_EQ(probe.Codec, "mjpeg");
  EXPECT_EQ(probe.Rate, "30/1");
  EXPECT_EQ(probe.Width, 400);
  EXPECT_EQ(probe.Height, 296);
  EXPECT_EQ(probe.Packets, 1 + 6 + 1 + 2);
}

TEST(CliProject, RenderRefusesAnEmptyTransitionWithoutWritingAFile) {
  ExampleProject p(TChanges{{"FrameCount=50", "FrameCount=0"}});
  const std::string out = p.Dir.File("morph.avi");
  const auto r = RunCli({"render", p.Project, "-o", out});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Die Dauer des Morphings muss mindestens ein Bild betragen."),
            std::string::npos)
      << r.Err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(CliProject, FrameIsTheEnginesFrameAsBmpAndJpeg) {
  ExampleProject p;
  const std::string bmp = p.Dir.File("middle.bmp"), jpg = p.Dir.File("middle.JPG");
  ASSERT_EQ(RunCli({"frame", p.Project, "--at", "1/2", "-o", bmp}).ExitCode, 0);
  ASSERT_EQ(RunCli({"frame", p.Project, "--at=1/2", "-o", jpg}).ExitCode, 0);

  TLoaded e(p.Project);
  e.m.MakeFramesInit();
  e.m.UpdateTargetAngles(1, 2);
  e.m.UpdateTargetPict();
  e.m.Make1Frame(1, 2, oe_both, true);
  const TBitmap file = Decoded(bmp);
  EXPECT_EQ(file.PixelFormat(), pf32bit);
  ExpectSamePixels(file, e.m.TargetBmp());

  std::ifstream in(jpg, std::ios::binary);
  std::string head(64, '\0');
  in.read(head.data(), 64);
  EXPECT_EQ(head.substr(0, 2), "\xFF\xD8");
  EXPECT_NE(head.find("Exif"), std::string::npos);
  EXPECT_EQ(Decoded(jpg).Width(), 320);
}

TEST(CliProject, FrameFieldsKeepTheOtherRowsOfTheTarget) {
  ExampleProject p;
  const std::string even = p.Dir.File("even.bmp"), both = p.Dir.File("both.bmp");
  ASSERT_EQ(RunCli({"frame", p.Project, "--at", "1/3", "-o", even, "--field", "even"}).ExitCode, 0);
  ASSERT_EQ(RunCli({"frame", p.Project, "--at", "1/3", "-o", both}).ExitCode, 0);
  TLoaded e(p.Project);  // the target holds what loading left in it
  const TBitmap fe = Decoded(even), fb = Decoded(both);
  int differentOddRows = 0;
  for (int y = 0; y < 240; ++y) {
    bool rowDiffers = false;
    for (int x = 0; x < 320; ++x) {
      const TColor want = y % 2 == 0 ? fb.GetPixel(x, y) : e.m.TargetBmp().GetPixel(x, y);
      ASSERT_EQ(fe.GetPixel(x, y), want) << x << "," << y;
      rowDiffers = rowDiffers || fb.GetPixel(x, y) != fe.GetPixel(x, y);
    }
    differentOddRows += rowDiffers;
  }
  EXPECT_GT(differentOddRows, 0);
}

TEST(CliProject, ComposedFrameHasTheBackgroundsSizeWithTheFrameCentred) {
  ExampleProject p(TChanges{{"withBG=0", "withBG=1"},
                            {"BGColor=0", "BGColor=65280"},  // green
                            {"BGWidth=320", "BGWidth=400"},
                            {"BGHeight=240", "BGHeight=300"}});
  const std::string out = p.Dir.File("composed.bmp"), plain = p.Dir.File("plain.bmp");
  ASSERT_EQ(RunCli({"frame", p.Project, "--at", "0/1", "-o", out, "--composed"}).ExitCode, 0);
  ASSERT_EQ(RunCli({"frame", p.Project, "--at", "0/1", "-o", plain}).ExitCode, 0);
  const TBitmap c = Decoded(out), t = Decoded(plain);
  ASSERT_EQ(c.Width(), 400);
  ASSERT_EQ(c.Height(), 300);
  EXPECT_EQ(c.GetPixel(0, 0), 0x00FF00u);
  EXPECT_EQ(c.GetPixel(399, 299), 0x00FF00u);
  for (int y = 0; y < 240; y += 7)
    for (int x = 0; x < 320; x += 5) ASSERT_EQ(c.GetPixel(40 + x, 30 + y), t.GetPixel(x, y));
}

TEST(CliProject, BlendIsTheCrossDissolve) {
  ExampleProject p;
  const std::string out = p.Dir.File("blend.bmp");
  ASSERT_EQ(RunCli({"blend", p.Project, "--at", "3/10", "-o", out}).ExitCode, 0);
  TLoaded e(p.Project);
  e.m.BlendFrame(3, 10);
  ExpectSamePixels(Decoded(out), e.m.TargetBmp());
}

TEST(CliProject, InfoAsTextAndJson) {
  ExampleProject p;
  const auto text = RunCli({"info", p.Project});
  ASSERT_EQ(text.ExitCode, 0) << text.Err;
  for (const std::string& line : std::vector<std::string>{
           "Bildgröße: 320 x 240", "Bilder pro Sekunde: 25",
           "Übergang: 50 Bilder, Standbilder am Anfang 1, am Ende 1",
           "Verlauf: gleichmäßig beschleunigt/gebremst", "Punkte: 20", "Dreiecke: 34",
           p.Dir.File("anfang.bmp") + " (vorhanden)", p.Dir.File("ende.bmp") + " (vorhanden)",
           "\n20 Punkte, 34 Dreiecke\n"})
    EXPECT_NE(text.Out.find(line), std::string::npos) << line << "\n" << text.Out;
  EXPECT_EQ(text.Out.find('\r'), std::string::npos);

  std::filesystem::remove(p.Dir.File("ende.bmp"));
  const auto json = RunCli({"info", p.Project, "--json"});
  ASSERT_EQ(json.ExitCode, 0) << json.Err;
  for (const std::string& item : std::vector<std::string>{
           "\"width\": 320", "\"points\": 20", "\"triangles\": 34", "\"framesMorph\": 50",
           "\"interlace\": \"none\"", "\"exists\": true", "\"exists\": false",
           "\"picture\": \"" + p.Dir.File("ende.bmp") + "\""})
    EXPECT_NE(json.Out.find(item), std::string::npos) << item << "\n" << json.Out;
  EXPECT_EQ(json.Out.front(), '{');
  EXPECT_EQ(json.Out.substr(json.Out.size() - 2), "}\n");
}

TEST(CliProject, ConvertWritesTheFramesAgainWithTheCodec) {
  ExampleProject p(TChanges{{"FrameCount=50", "FrameCount=4"}});
  const std::string src = p.Dir.File("src.avi"), out = p.Dir.File("out.avi");
  ASSERT_EQ(RunCli({"render", p.Project, "-o", src}).ExitCode, 0);
  const auto r = RunCli({"convert", src, "-o", out, "--codec", "ffv1"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const test::TProbe probe = test::Probe(out);
  EXPECT_EQ(probe.Codec, "ffv1");
  EXPECT_EQ(probe.Packets, 1 + 4 + 1 + 2);
  EXPECT_EQ(test::DecodeWithFFmpeg(out, 320, 240), test::DecodeWithFFmpeg(src, 320, 240));

  const auto missing = RunCli({"convert", p.Dir.File("none.avi"), "-o", out});
  EXPECT_EQ(missing.ExitCode, 1);
  EXPECT_FALSE(missing.Err.empty());
}

// Starts `quorvel-cli render` of the project into out with its standard error going to err,
// and waits until out has grown to at least bytes (or 30 seconds passed).
pid_t StartRender(const std::string& project, const std::string& out, const std::string& err,
                  uintmax_t bytes) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const std::string cli = QUORVEL_CLI;
  std::vector<std::string> args = {cli, "render", project, "-o", out};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  const auto written = [&] {
    std::error_code ec;
    const auto size = std::filesystem::file_size(out, ec);
    return ec ? 0 : size;
  };
  while (written() < bytes && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return pid;
}

// Ctrl+C in the middle of a long render: the program stops after the frame in progress and
// leaves a complete video of the frames written so far.
TEST(CliProject, InterruptLeavesAValidPartialVideo) {
  ExampleProject p(TChanges{{"FrameCount=50", "FrameCount=100000"}});
  const std::string out = p.Dir.File("long.avi"), err = p.Dir.File("err.txt");
  const pid_t pid = StartRender(p.Project, out, err, 2'000'000);
  ASSERT_GT(pid, 0);
  ::kill(pid, SIGINT);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal instead of stopping";
  EXPECT_EQ(WEXITSTATUS(status), 1);

  std::ifstream in(err);
  std::stringstream msg;
  msg << in.rdbuf();
  EXPECT_NE(msg.str().find("Abgebrochen"), std::string::npos) << msg.str();
  const test::TProbe probe = test::Probe(out);
  EXPECT_TRUE(probe.Ok);
  EXPECT_GT(probe.Packets, 5);
  EXPECT_LT(probe.Packets, 100000);
  EXPECT_EQ(int64_t(test::DecodeWithFFmpeg(out, 320, 240).size()), probe.Packets);
}

// The frames ffprobe decodes from a file, counted by decoding; -1 when it cannot read it.
int64_t FramesCountedByFFprobe(const std::string& file) {
  std::string out;
  if (test::RunCommand("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                       "stream=nb_read_frames -of csv=p=0 " + test::Quoted(file),
                       &out) != 0)
    return -1;
  try {
    return std::stoll(out);
  } catch (const std::exception&) {
    return -1;
  }
}

// A render killed (SIGKILL, no chance to finish the file) at different moments, mostly in the
// middle of writing a frame: ffprobe and our reader both read the frames written completely,
// and they are the same pictures. A frame of the example takes 230 KB, so every moment lies
// after the first frame (a kill within the first leaves no frame to read).
TEST(CliProject, KilledRenderLeavesItsCompleteFrames) {
  ExampleProject p(TChanges{{"FrameCount=50", "FrameCount=100000"}});
  const std::string err = p.Dir.File("err.txt");
  int round = 0;
  for (uintmax_t bytes : {400'000u, 1'100'000u, 2'650'000u}) {
    SCOPED_TRACE("killed after " + std::to_string(bytes) + " bytes");
    const std::string out = p.Dir.File("killed" + std::to_string(round++) + ".avi");
    const pid_t pid = StartRender(p.Project, out, err, bytes);
    ASSERT_GT(pid, 0);
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the render ended before it was killed";

    const int64_t frames = FramesCountedByFFprobe(out);
    ASSERT_GT(frames, 0);
    const auto decoded = test::DecodeWithFFmpeg(out, 320, 240);
    ASSERT_EQ(int64_t(decoded.size()), frames);
    TAVIReader reader;
    ASSERT_TRUE(reader.OpenAVIFile(out)) << reader.ErrorMessage();
    for (int32_t n = 0; n < frames; ++n) {
      const uint8_t* dib = reader.GetFrame(n);
      ASSERT_NE(dib, nullptr) << "frame " << n;
      const std::vector<uint8_t> bottomUp(dib + 40, dib + reader.FrameSize());
      EXPECT_EQ(test::TopDown(bottomUp, 320, 240), decoded[size_t(n)]) << "frame " << n;
    }
    EXPECT_EQ(reader.GetFrame(int32_t(frames)), nullptr);
  }
}

}  // namespace
}  // namespace qv
