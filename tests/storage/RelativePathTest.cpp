// Stored file names relative to a folder.
#include <gtest/gtest.h>

#include "RelativePath.h"
#include "TestFiles.h"
#include "VersionNr.h"

namespace qv {

TEST(RelativePath, MakeRelativePath) {
  struct Case {
    const char* File;
    const char* Base;
    const char* Expected;
  } cases[] = {
      {"/home/u/Proj/anna.jpg", "/home/u/Proj/", "anna.jpg"},
      {"/home/u/Proj/Bilder/bert.jpg", "/home/u/Proj/", "Bilder/bert.jpg"},
      {"/home/u/Proj/Bilder/bert.jpg", "/home/u/Proj/Neu/", "../Bilder/bert.jpg"},
      {"/home/u/Proj/ab/x.jpg", "/home/u/Proj/abc/", "../ab/x.jpg"},
      {"/home/u/Proj/x.jpg", "/home/u/Proj/a/b/", "../../x.jpg"},
      {"/home/u/proj/x.jpg", "/home/u/Proj/", "../proj/x.jpg"},  // letter case counts
      {"/mnt/d/x.jpg", "/home/u/Proj/", "/mnt/d/x.jpg"},
      {"/x.jpg", "/home/", "/x.jpg"},
      {"", "/home/", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeRelativePath(c.File, c.Base), c.Expected) << c.File;
}

TEST(RelativePath, ExpandRelativePath) {
  EXPECT_EQ(ExpandRelativePath("anna.jpg", "/p/q/"), "/p/q/anna.jpg");
  EXPECT_EQ(ExpandRelativePath("../a/b.jpg", "/p/q/"), "/p/a/b.jpg");
  EXPECT_EQ(ExpandRelativePath("..\\..\\b.jpg", "/p/q/"), "/b.jpg");
  EXPECT_EQ(ExpandRelativePath("../../../b.jpg", "/p/q/"), "/b.jpg");
  EXPECT_EQ(ExpandRelativePath("./../b.jpg", "/p/q/"), "/p/q/./../b.jpg");
}

TEST(RelativePath, StoredNamesAreResolved) {
  test::TTempDir dir;
  test::WriteFile(dir.Path("Proj/Bilder/Anna.JPG"), "x");
  const std::string base = dir.Path("Proj/Neu/");
  EXPECT_EQ(ResolveStoredFileName("..\\BILDER\\anna.jpg", base), dir.Path("Proj/Bilder/Anna.JPG"));
  EXPECT_EQ(ResolveStoredFileName(dir.Path("proj/bilder/anna.jpg"), base),
            dir.Path("Proj/Bilder/Anna.JPG"));
  EXPECT_EQ(ResolveStoredFileName("../Bilder/nix.jpg", base), dir.Path("Proj/Bilder/nix.jpg"));
  EXPECT_EQ(ResolveStoredFileName("C:\\Bilder\\anna.jpg", base), "C:\\Bilder\\anna.jpg");
  EXPECT_EQ(ResolveStoredFileName("", base), "");
}

TEST(VersionNr, ParseVersionNr) {
  struct Case {
    const char* Text;
    TVersionNr Expected;
  } cases[] = {
      {"1.0.0.0", {1, 0, 0, 0}}, {"2012", {2, 12, 0, 0}},     {"1.2.3.4", {1, 2, 3, 4}},
      {"1.2.", {1, 2, 0, 0}},    {"7", {7, 0, 0, 0}},         {"abc", {0, 0, 0, 0}},
      {"1.x.3", {1, 0, 0, 0}},   {"1.2.3.4.5", {1, 2, 3, 4}}, {"$10.2", {16, 2, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseVersionNr(c.Text), c.Expected) << c.Text;
}

}  // namespace qv
