// The bundled example project: the file is laid out exactly as the program writes project
// files, its point and triangle lists are well-formed, the triangles tile the whole frame
// without fold-overs in either picture, and the pictures fit the stored image rectangles.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "Types.h"

namespace qv::test {
namespace {

struct TSection {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Keys;
  std::string Get(const std::string& key) const {
    for (const auto& [k, v] : Keys)
      if (k == key) return v;
    return "";
  }
};

class ExampleProject : public ::testing::Test {
 protected:
  void SetUp() override {
    Text = ReadBytes(SourcePath("examples/example.qvp"));
    ASSERT_FALSE(Text.empty());
    ParseSections();
  }

  // Lines end with CR LF; every section is followed by one empty line.
  void ParseSections() {
    size_t at = 0;
    while (at < Text.size()) {
      const size_t end = Text.find("\r\n", at);
      ASSERT_NE(end, std::string::npos) << "last line without CR LF";
      Lines.push_back(Text.substr(at, end - at));
      at = end + 2;
    }
    for (const auto& line : Lines) {
      ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare CR or LF: " << line;
      if (line.empty()) continue;
      if (line.front() == '[') {
        ASSERT_EQ(line.back(), ']');
        Sections.push_back({line.substr(1, line.size() - 2), {}});
        continue;
      }
      ASSERT_FALSE(Sections.empty()) << "line before the first section";
      const size_t eq = line.find('=');
      ASSERT_NE(eq, std::string::npos) << line;
      Sections.back().Keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
  }

  const TSection& Section(const std::string& name) const {
    for (const auto& s : Sections)
      if (s.Name == name) return s;
    static const TSection none;
    return none;
  }
  int Int(const std::string& sect, const std::string& key) const {
    return std::stoi(Section(sect).Get(key));
  }

  std::string Text;
  std::vector<std::string> Lines;
  std::vector<TSection> Sections;
};

// Hex numbers as the program writes them: upper case, at least four digits, each entry
// closed by ";", numbers in an entry separated by ",".
std::vector<std::vector<int32_t>> ParseList(const std::string& value, size_t perEntry) {
  std::vector<std::vector<int32_t>> out;
  size_t at = 0;
  while (at < value.size()) {
    const size_t end = value.find(';', at);
    EXPECT_NE(end, std::string::npos) << "entry without ';'";
    if (end == std::string::npos) break;
    std::vector<int32_t> entry;
    size_t p = at;
    while (p < end) {
      size_t q = std::min(value.find(',', p), end);
      const std::string digits = value.substr(p, q - p);
      EXPECT_GE(digits.size(), 4u) << digits;
      EXPECT_EQ(digits.find_first_not_of("0123456789ABCDEF"), std::string::npos) << digits;
      entry.push_back(int32_t(std::stoul(digits, nullptr, 16)));
      p = q + 1;
    }
    EXPECT_EQ(entry.size(), perEntry);
    out.push_back(entry);
    at = end + 1;
  }
  return out;
}

TAngleArray Points(const std::string& value) {
  TAngleArray pts;
  for (const auto& e : ParseList(value, 2)) pts.push_back({e[0], e[1]});
  return pts;
}

int64_t Cross(TPoint o, TPoint a, TPoint b) {
  return int64_t(a.X - o.X) * (b.Y - o.Y) - int64_t(a.Y - o.Y) * (b.X - o.X);
}

TEST_F(ExampleProject, HasTheSectionsAndKeysInTheOrderTheProgramWritesThem) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> layout = {
      {"Opt",
       {"Mode", "Zoom", "Interlace", "BGFormatIdx", "FramesPerSecond", "FrameCount", "StillAtStart",
        "StillAtEnd", "ShowCompressDialog", "SmoothB", "SmoothE", "withBG", "BGType", "BGColor",
        "BGWidth", "BGHeight"}},
      {"Project", {"Type", "Version", "TargetW", "TargetH", "GridColor"}},
      {"Src1", {"ROX", "ROY", "RWidth", "FN", "Points"}},
      {"Src2", {"ROX", "ROY", "RWidth", "FN", "Points"}},
      {"Triangles", {"A"}}};
  ASSERT_EQ(Sections.size(), layout.size());
  for (size_t i = 0; i < layout.size(); ++i) {
    EXPECT_EQ(Sections[i].Name, layout[i].first);
    std::vector<std::string> keys;
    for (const auto& kv : Sections[i].Keys) {
      keys.push_back(kv.first);
      EXPECT_FALSE(kv.second.empty()) << kv.first;
    }
    EXPECT_EQ(keys, layout[i].second) << layout[i].first;
  }
  // Each section, the last included, is followed by exactly one empty line.
  size_t blanks = std::count(Lines.begin(), Lines.end(), std::string());
  EXPECT_EQ(blanks, layout.size());
  EXPECT_TRUE(Lines.back().empty());
  EXPECT_EQ(Text.rfind("\r\n\r\n"), Text.size() - 4);
}

TEST_F(ExampleProject, ValuesHaveTheFormsTheLoaderReads) {
  EXPECT_EQ(Section("Project").Get("Type"), "ZuntMorphing");
  EXPECT_EQ(Section("Project").Get("Version"), "1.0.0.0");
  for (const auto& s : Sections)
    for (const auto& [k, v] : s.Keys) {
      if (k == "Type" || k == "Version" || k == "FN" || k == "Points" || k == "A") continue;
      EXPECT_EQ(v.find_first_not_of("0123456789"), std::string::npos) << s.Name << "/" << k;
    }
  for (const char* flag : {"ShowCompressDialog", "SmoothB", "SmoothE", "withBG"}) {
    const std::string v = Section("Opt").Get(flag);
    EXPECT_TRUE(v == "0" || v == "1") << flag;
  }
  EXPECT_EQ(Int("Opt", "Mode"), 2);  // opens in the triangle mode, showing the net
  EXPECT_LE(Int("Opt", "Interlace"), 2);
  EXPECT_EQ(Int("Opt", "BGWidth"), Int("Project", "TargetW"));
  EXPECT_EQ(Int("Opt", "BGHeight"), Int("Project", "TargetH"));
  // Picture names are bare relative names, so the project moves with its folder.
  for (const char* src : {"Src1", "Src2"}) {
    const std::string fn = Section(src).Get("FN");
    EXPECT_EQ(fn.find_first_of("/\\:"), std::string::npos) << fn;
  }
}

TEST_F(ExampleProject, PointsCorrespondAndStartWithTheFrameCorners) {
  const int32_t w = Int("Project", "TargetW"), h = Int("Project", "TargetH");
  const TAngleArray p1 = Points(Section("Src1").Get("Points"));
  const TAngleArray p2 = Points(Section("Src2").Get("Points"));
  ASSERT_EQ(p1.size(), p2.size());
  EXPECT_GE(p1.size(), 4u + 10u);
  EXPECT_LE(p1.size(), 4u + 20u);
  const TAngleArray corners = {{0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(p1[i], corners[i]) << i;
    EXPECT_EQ(p2[i], corners[i]) << i;
  }
  for (const auto* pts : {&p1, &p2}) {
    std::set<std::pair<int32_t, int32_t>> seen;
    for (const TPoint& p : *pts) {
      EXPECT_TRUE(p.X >= 0 && p.X < w && p.Y >= 0 && p.Y < h) << p.X << "," << p.Y;
      EXPECT_TRUE(seen.insert({p.X, p.Y}).second) << "point twice: " << p.X << "," << p.Y;
    }
  }
}

// Every pixel centre of the frame lies in exactly one triangle (or on an edge between
// triangles), in both pictures, and no triangle turns over between them.
TEST_F(ExampleProject, TrianglesTileTheFrameInBothPictures) {
  const int32_t w = Int("Project", "TargetW"), h = Int("Project", "TargetH");
  const TAngleArray p1 = Points(Section("Src1").Get("Points"));
  const TAngleArray p2 = Points(Section("Src2").Get("Points"));
  std::vector<TTrianglePerIndex> tris;
  std::set<std::array<int32_t, 3>> unique;
  for (const auto& e : ParseList(Section("Triangles").Get("A"), 3)) {
    TTrianglePerIndex t = {e[0], e[1], e[2]};
    for (int32_t i : t) ASSERT_LT(size_t(i), p1.size()) << "index " << i;
    std::array<int32_t, 3> key = t;
    std::sort(key.begin(), key.end());
    EXPECT_TRUE(unique.insert(key).second) << "triangle twice";
    tris.push_back(t);
  }
  // A triangulation of n points with 4 on the hull has 2n - 6 triangles.
  EXPECT_EQ(tris.size(), 2 * p1.size() - 6);
  for (const auto* pts : {&p1, &p2}) {
    const auto& P = *pts;
    int64_t firstSign = 0;
    for (const auto& t : tris) {
      const int64_t c = Cross(P[t[0]], P[t[1]], P[t[2]]);
      ASSERT_NE(c, 0) << "degenerate triangle";
      if (firstSign == 0) firstSign = c > 0 ? 1 : -1;
      EXPECT_EQ(c > 0 ? 1 : -1, firstSign) << "triangle turns over";
    }
    // Doubled coordinates put the pixel centres on the integer grid.
    for (int32_t y = 0; y < h - 1; ++y)
      for (int32_t x = 0; x < w - 1; ++x) {
        const TPoint s{2 * x + 1, 2 * y + 1};
        int inside = 0, onEdge = 0;
        for (const auto& t : tris) {
          const TPoint a{2 * P[t[0]].X, 2 * P[t[0]].Y}, b{2 * P[t[1]].X, 2 * P[t[1]].Y},
              c{2 * P[t[2]].X, 2 * P[t[2]].Y};
          const int64_t d1 = Cross(a, b, s), d2 = Cross(b, c, s), d3 = Cross(c, a, s);
          const bool neg = d1 < 0 || d2 < 0 || d3<0, pos = d1> 0 || d2 > 0 || d3 > 0;
          if (neg && pos) continue;
          (d1 == 0 || d2 == 0 || d3 == 0 ? onEdge : inside)++;
        }
        ASSERT_TRUE(onEdge ? inside == 0 : inside == 1)
            << "pixel " << x << "," << y << ": in " << inside << ", on edges of " << onEdge;
      }
  }
}

// The stored image rectangles lie inside their pictures, so loading keeps them as stored
// and the points stay on the features they were set on.
TEST_F(ExampleProject, PicturesAre24BitBmpsThatHoldTheImageRectangles) {
  const int32_t w = Int("Project", "TargetW"), h = Int("Project", "TargetH");
  for (const char* src : {"Src1", "Src2"}) {
    const std::string b = ReadBytes(SourcePath("examples/" + Section(src).Get("FN")));
    ASSERT_GE(b.size(), 54u) << src;
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(Le(b, 2, 4), b.size());
    EXPECT_EQ(Le(b, 14, 4), 40u);  // BITMAPINFOHEADER
    const int32_t pw = int32_t(Le(b, 18, 4)), ph = int32_t(Le(b, 22, 4));
    EXPECT_EQ(Le(b, 28, 2), 24u);
    EXPECT_EQ(Le(b, 30, 4), 0u);  // uncompressed
    ASSERT_GT(ph, 0);             // bottom-up
    EXPECT_EQ(Le(b, 10, 4) + size_t((pw * 3 + 3) / 4 * 4) * ph, b.size());

    const int32_t rw = Int(src, "RWidth"), rx = Int(src, "ROX"), ry = Int(src, "ROY");
    const int32_t rh = MulDiv(rw, h, w);
    EXPECT_GE(rw, 10);
    EXPECT_LE(rx + rw, pw) << src;
    EXPECT_LE(ry + rh, ph) << src;
  }
}

}  // namespace
}  // namespace qv::test
