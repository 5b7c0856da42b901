// The settings file, its place and the documents folder.
#include <gtest/gtest.h>

#include "FileLocations.h"
#include "FileUtil.h"
#include "MorphError.h"
#include "TestFiles.h"
#include "UserSettings.h"

namespace qv {

using test::CrLfLines;
using test::ReadFile;
using test::TScopedEnv;
using test::WriteFile;

namespace {
constexpr const char* kBom = "\xEF\xBB\xBF";
}

class UserSettingsPlace : public ::testing::Test {
 protected:
  ~UserSettingsPlace() override { FreeUserSettings(); }
  test::TTempDir FDir;
  TScopedEnv FHome{"HOME", FDir.Path("home")};
};

TEST_F(UserSettingsPlace, SettingsFolderFollowsXdgConfigHome) {
  {
    TScopedEnv xdg("XDG_CONFIG_HOME", FDir.Path("cfg/"));
    EXPECT_EQ(OpenUserSettingsFile("Zunt/Quorvel")->FileName(), FDir.Path("cfg/Zunt/Quorvel.ini"));
  }
  for (auto value : {std::optional<std::string>(), std::optional<std::string>("relative/cfg")}) {
    TScopedEnv xdg("XDG_CONFIG_HOME", value);
    EXPECT_EQ(OpenUserSettingsFile("Zunt/Quorvel")->FileName(),
              FDir.Path("home/.config/Zunt/Quorvel.ini"));
  }
  TScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
  TScopedEnv home("HOME", std::nullopt);
  try {
    OpenUserSettingsFile("Zunt/Quorvel");
    FAIL() << "no settings folder";
  } catch (const EMorphError& e) {
    EXPECT_STREQ(e.what(), "can't obtain AppDataFolder");
  }
}

TEST_F(UserSettingsPlace, FirstRunCreatesTheFileWithByteOrderMarkWhenFreed) {
  TScopedEnv xdg("XDG_CONFIG_HOME", FDir.Path("cfg"));
  const std::string fn = FDir.Path("cfg/Zunt/Quorvel.ini");
  TUserSettings* s = GetUserSettings();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(GetUserSettings(), s);
  EXPECT_EQ(CurrentUserSettings(), s);
  EXPECT_TRUE(DirectoryExists(FDir.Path("cfg/Zunt")));
  EXPECT_EQ(s->readInteger("Form1", "Left", -1), -1);
  s->writeInteger("Form1", "Left", 10);
  s->writeBool("Opt", "Autoplay", false);
  FreeUserSettings();
  EXPECT_EQ(CurrentUserSettings(), nullptr);
  EXPECT_EQ(ReadFile(fn), kBom + CrLfLines({"[Form1]", "Left=10", "", "[Opt]", "Autoplay=0", ""}));
  EXPECT_FALSE(GetUserSettings()->readBool("Opt", "Autoplay", true));
}

TEST_F(UserSettingsPlace, DocumentsFolderComesFromUserDirs) {
  TScopedEnv xdg("XDG_CONFIG_HOME", FDir.Path("cfg"));
  EXPECT_EQ(DefaultDocumentFolder(), FDir.Path("home/Documents/Morphings/"));
  EXPECT_TRUE(DirectoryExists(FDir.Path("home/Documents/Morphings")));

  WriteFile(FDir.Path("cfg/user-dirs.dirs"),
            "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
            "XDG_DOCUMENTS_DIR=\"$HOME/Meine \\\"Dokumente\\\"\"\n");
  EXPECT_EQ(DefaultDocumentFolder(), FDir.Path("home/Meine \"Dokumente\"/Morphings/"));
  EXPECT_TRUE(DirectoryExists(FDir.Path("home/Meine \"Dokumente\"/Morphings")));

  WriteFile(FDir.Path("cfg/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"" + FDir.Path("abs/") + "\"\n");
  EXPECT_EQ(DefaultDocumentFolder(), FDir.Path("abs/Morphings/"));

  WriteFile(FDir.Path("cfg/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"relative\"\n");
  EXPECT_EQ(DefaultDocumentFolder(), FDir.Path("home/Documents/Morphings/"));
}

TEST(EnsureFolder, CreatesParentsAndReportsFailures) {
  test::TTempDir dir;
  EXPECT_TRUE(EnsureFolder(dir.Path("a/b/c/")));
  EXPECT_TRUE(DirectoryExists(dir.Path("a/b/c")));
  EXPECT_TRUE(EnsureFolder("/"));
  WriteFile(dir.Path("file"), "x");
  try {
    EnsureFolder(dir.Path("file/sub"));
    FAIL() << "a file stands in the way";
  } catch (const EMorphError& e) {
    EXPECT_EQ(std::string(e.what()), dir.Path("file") + "\rkann nicht angelegt werden (17)");
  }
}

class UserSettingsFile : public ::testing::Test {
 protected:
  test::TTempDir FDir;
  std::string FName = FDir.Path("Zunt/Quorvel.ini");
};

TEST_F(UserSettingsFile, LineBreaksAreStoredOnOneLine) {
  {
    TUserSettingsFile s(FName);
    s.writeString("File", "Multi", "one\r\ntwo\nthree");
    s.writeString("File", "Cut", std::string("before\0after", 12));
    EXPECT_EQ(s.readString("File", "Multi", ""), "one\r\ntwo\nthree");
    EXPECT_EQ(s.readString("File", "Missing",
                           "a\xEF\xBF\xB1\xEF\xBF\xB2"
                           "b"),
              "a\r\nb");
  }
  EXPECT_EQ(ReadFile(FName),
            kBom + CrLfLines({"[File]", "Multi=one\xEF\xBF\xB1\xEF\xBF\xB2two\xEF\xBF\xB2three",
                              "Cut=before", ""}));
  TUserSettingsFile s(FName);
  EXPECT_EQ(s.readString("File", "Multi", ""), "one\r\ntwo\nthree");
  s.writeString("File", "Multi", "");
  EXPECT_EQ(s.readString("File", "Multi", "gone"), "gone");
}

TEST_F(UserSettingsFile, BackupLeavesTheSettingsToBeSaved) {
  WriteFile(FName, std::string(kBom) + "[Opt]\r\nPointSize=2\r\n");
  {
    TUserSettingsFile s(FName);
    s.writeInteger("Opt", "PointSize", 4);
    s.SaveBackup();
    EXPECT_EQ(ReadFile(FDir.Path("Zunt/Quorvel_bkup.ini")),
              kBom + CrLfLines({"[Opt]", "PointSize=4", ""}));
    EXPECT_EQ(ReadFile(FName), std::string(kBom) + "[Opt]\r\nPointSize=2\r\n");
  }
  EXPECT_EQ(ReadFile(FName), kBom + CrLfLines({"[Opt]", "PointSize=4", ""}));
}

TEST_F(UserSettingsFile, ListsAndSections) {
  TUserSettingsFile s(FName);
  s.writeList("Tools", {"; editor", "gimp", "a=b"});
  TStringList list;
  s.readList("Tools", list);
  EXPECT_EQ(list, (TStringList{"; editor", "gimp", "a=b"}));
  s.ClearSection("Tools");
  s.readList("Tools", list);
  EXPECT_TRUE(list.empty());
  s.Save();
  EXPECT_FALSE(FileExists(FName));  // nothing left to store
}

}  // namespace qv
