// The Qt resource list: every file it names exists, every alias the editor uses is there at
// every size, the PNG files have the pixel size their folder promises, and the sound "flup"
// has the format the editor plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "FileBytes.h"

namespace qv::test {
namespace {

struct TQrcEntry {
  std::string Alias, File;
};

std::vector<TQrcEntry> ReadQrc() {
  const std::string text = ReadBytes(SourcePath("resources/quorvel.qrc"));
  std::vector<TQrcEntry> out;
  const std::regex file(R"re(<file alias="([^"]+)">([^<]+)</file>)re");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), file); it != std::sregex_iterator();
       ++it)
    out.push_back({(*it)[1], (*it)[2]});
  return out;
}

// Width and height of a PNG file from its IHDR chunk; (0, 0) when it is no PNG.
std::pair<uint32_t, uint32_t> PngSize(const std::string& path) {
  const std::string b = ReadBytes(path);
  if (b.size() < 24 || b.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || b.compare(12, 4, "IHDR") != 0)
    return {0, 0};
  return {Be32(b, 16), Be32(b, 20)};
}

const char* const kToolIcons[] = {"file-new",
                                  "file-open",
                                  "file-save",
                                  "file-save-as",
                                  "frame-save",
                                  "text-edit",
                                  "sequence-new",
                                  "sequence-open",
                                  "sequence-save",
                                  "sequence-save-as",
                                  "exit",
                                  "zoom-auto",
                                  "zoom-normal",
                                  "zoom-in",
                                  "zoom-out",
                                  "points-large",
                                  "points-medium",
                                  "points-small",
                                  "points-in-image-mode",
                                  "grid-colour",
                                  "settings",
                                  "source-start",
                                  "source-end",
                                  "reverse",
                                  "mode-image",
                                  "mode-image-active",
                                  "mode-points",
                                  "mode-points-active",
                                  "mode-net",
                                  "mode-net-active",
                                  "video-create",
                                  "video-last",
                                  "convert",
                                  "about",
                                  "help",
                                  "picture-open",
                                  "picture-edit",
                                  "rect-save",
                                  "rect-save-edit",
                                  "triangle-indexes",
                                  "preview-morph",
                                  "preview-blend",
                                  "grid",
                                  "preview-play",
                                  "preview-pause",
                                  "player-play",
                                  "player-stop",
                                  "player-next",
                                  "player-prev",
                                  "player-step",
                                  "player-back",
                                  "morph-add",
                                  "morph-remove",
                                  "properties",
                                  "render-now"};
const char* const kDesktopIcons[] = {"quorvel", "application-x-quorvel-project",
                                     "application-x-quorvel-sequence"};

TEST(ResourceList, NamesExistingFilesUnderUniqueAliases) {
  const auto entries = ReadQrc();
  ASSERT_GT(entries.size(), 200u);
  std::set<std::string> aliases;
  for (const auto& e : entries) {
    EXPECT_TRUE(aliases.insert(e.Alias).second) << "alias twice: " << e.Alias;
    EXPECT_TRUE(std::filesystem::is_regular_file(SourcePath("resources/" + e.File))) << e.File;
  }
}

TEST(ResourceList, HasEveryIconAtEverySizeWithThatPixelSize) {
  std::map<std::string, std::string> files;
  for (const auto& e : ReadQrc()) files[e.Alias] = e.File;
  auto check = [&](const std::string& alias, uint32_t size) {
    auto it = files.find(alias);
    ASSERT_NE(it, files.end()) << "missing alias " << alias;
    auto [w, h] = PngSize(SourcePath("resources/" + it->second));
    EXPECT_EQ(w, size) << alias;
    EXPECT_EQ(h, size) << alias;
  };
  for (const char* name : kToolIcons) {
    check(std::string("icons/") + name + ".png", 32);
    for (int size : {16, 24, 32, 48})
      check("icons/" + std::to_string(size) + "/" + name + ".png", size);
  }
  for (const char* name : kDesktopIcons) {
    check(std::string("icons/") + name + ".png", 256);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
      check("icons/" + std::to_string(size) + "/" + name + ".png", size);
  }
}

TEST(ResourceList, ActiveModeIconsDifferFromTheNormalOnes) {
  for (const char* mode : {"mode-image", "mode-points", "mode-net"}) {
    const std::string base = SourcePath("resources/icons/24/") + mode;
    EXPECT_NE(ReadBytes(base + ".png"), ReadBytes(base + "-active.png")) << mode;
  }
}

TEST(DesktopIcons, HicolorTreeHasEverySizeAndTheScalableDrawing) {
  const std::string root = SourcePath("resources/icons/hicolor/");
  for (const char* name : kDesktopIcons) {
    const std::string kind = std::string(name) == "quorvel" ? "apps" : "mimetypes";
    for (uint32_t size : {16u, 22u, 24u, 32u, 48u, 64u, 128u, 256u}) {
      const std::string dir = std::to_string(size) + "x" + std::to_string(size);
      EXPECT_EQ(PngSize(root + dir + "/" + kind + "/" + name + ".png"), std::make_pair(size, size))
          << name << " " << dir;
    }
    const std::string svg = ReadBytes(root + "scalable/" + kind + "/" + name + ".svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos) << name;
  }
}

// The sound: RIFF/WAVE with one PCM format chunk: mono, 16 bit, 20000 samples per second.
TEST(SoundFlup, IsShortMonoPcm16At20000HzWithoutClicks) {
  const std::string b = ReadBytes(SourcePath("resources/flup.wav"));
  ASSERT_GE(b.size(), 44u);
  EXPECT_EQ(b.substr(0, 4), "RIFF");
  EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
  EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Le(b, 16, 4), 16u);     // plain PCM format block
  EXPECT_EQ(Le(b, 20, 2), 1u);      // PCM
  EXPECT_EQ(Le(b, 22, 2), 1u);      // mono
  EXPECT_EQ(Le(b, 24, 4), 20000u);  // samples per second
  EXPECT_EQ(Le(b, 28, 4), 40000u);  // bytes per second
  EXPECT_EQ(Le(b, 32, 2), 2u);      // block align
  EXPECT_EQ(Le(b, 34, 2), 16u);     // bits per sample
  ASSERT_EQ(b.substr(36, 4), "data");
  const uint32_t bytes = Le(b, 40, 4);
  ASSERT_EQ(bytes, b.size() - 44);
  const size_t n = bytes / 2;
  EXPECT_GE(n, 1000u);  // 0.05 s
  EXPECT_LE(n, 6000u);  // 0.3 s
  int peak = 0;
  for (size_t i = 0; i < n; ++i)
    peak = std::max(peak, std::abs(int(int16_t(Le(b, 44 + 2 * i, 2)))));
  EXPECT_GT(peak, 8000) << "audible";
  EXPECT_LT(peak, 32767) << "not clipped";
  EXPECT_LT(std::abs(int(int16_t(Le(b, 44, 2)))), 500) << "soft start";
  EXPECT_LT(std::abs(int(int16_t(Le(b, 44 + 2 * (n - 1), 2)))), 500) << "soft end";
}

}  // namespace
}  // namespace qv::test
