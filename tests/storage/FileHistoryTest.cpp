// The recent-file list in the file menu and in the settings.
#include <gtest/gtest.h>

#include <algorithm>

#include "FileHst.h"
#include "TestFiles.h"
#include "UserSettings.h"

namespace qv {

using test::WriteFile;

namespace {

// A file menu: its own items first, the recent files appended at the end.
class TMenu : public IFileMenu {
 public:
  std::vector<std::pair<int32_t, std::string>> Items{{101, "&Neu"}, {102, "Ö&ffnen..."}};

  int32_t LastCommand() const override { return Items.empty() ? 0 : Items.back().first; }
  bool FindText(int32_t command, std::string& text) const override {
    auto it = Find(command);
    if (it == Items.end()) return false;
    text = it->second;
    return true;
  }
  void AppendItem(int32_t command, const std::string& text) override {
    Items.emplace_back(command, text);
  }
  void DeleteItem(int32_t command) override {
    auto it = Find(command);
    if (it != Items.end()) Items.erase(it);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& [id, text] : Items) t.push_back(std::to_string(id) + " " + text);
    return t;
  }

 private:
  std::vector<std::pair<int32_t, std::string>>::const_iterator Find(int32_t command) const {
    return std::find_if(Items.begin(), Items.end(),
                        [&](const auto& i) { return i.first == command; });
  }
};

}  // namespace

class FileHistory : public ::testing::Test {
 protected:
  FileHistory() {
    FHistory.SetUserSettings(&FSettings);
    for (const char* name : {"A.qvp", "B.qvp", "C.qvp", "D.qvp"}) WriteFile(File(name), "x");
  }
  std::string File(const std::string& name) const { return FDir.Path("proj/" + name); }
  std::string Stored(int k) {
    return FSettings.readString("FileHist", "F" + std::to_string(k), "");
  }

  test::TTempDir FDir;
  TUserSettingsFile FSettings{FDir.Path("cfg/Quorvel.ini")};
  TMenu FMenu;
  TFileHistory FHistory{&FMenu};
};

TEST_F(FileHistory, MostRecentFirstInTheMenuOldestFirstInTheSettings) {
  for (const char* name : {"A.qvp", "B.qvp", "C.qvp", "D.qvp"})
    FHistory.MenuAppendFile(File(name), true);
  EXPECT_EQ(FMenu.Texts(),
            (std::vector<std::string>{"101 &Neu", "102 Ö&ffnen...", "270 &1 " + File("D.qvp"),
                                      "271 &2 " + File("C.qvp"), "272 &3 " + File("B.qvp"),
                                      "273 &4 " + File("A.qvp")}));
  EXPECT_EQ(Stored(1), File("A.qvp"));
  EXPECT_EQ(Stored(4), File("D.qvp"));
  EXPECT_EQ(Stored(5), "");
  EXPECT_EQ(FHistory.GetMenuFileHistory(271), File("C.qvp"));
  EXPECT_EQ(FHistory.GetMenuFileHistory(274), "");

  FHistory.MenuAppendFile(File("B.qvp"), true);
  EXPECT_EQ(FHistory.GetMenuFileHistory(270), File("B.qvp"));
  EXPECT_EQ(FHistory.GetMenuFileHistory(271), File("D.qvp"));
  EXPECT_EQ(FHistory.GetMenuFileHistory(273), File("A.qvp"));
  FHistory.MenuAppendFile(FDir.Path("proj/c.QVP"), false);  // A to Z compare case-blind
  EXPECT_EQ(FHistory.GetMenuFileHistory(270), FDir.Path("proj/c.QVP"));
  EXPECT_EQ(FHistory.GetMenuFileHistory(273), File("A.qvp"));
  EXPECT_EQ(FMenu.LastCommand(), 273);
}

TEST_F(FileHistory, KeepsTheNineMostRecent) {
  for (int i = 0; i < 10; ++i) {
    WriteFile(File(std::to_string(i) + ".qvp"), "x");
    FHistory.MenuAppendFile(File(std::to_string(i) + ".qvp"), true);
  }
  EXPECT_EQ(FMenu.LastCommand(), 278);
  EXPECT_EQ(FHistory.GetMenuFileHistory(270), File("9.qvp"));
  EXPECT_EQ(FHistory.GetMenuFileHistory(278), File("1.qvp"));
  EXPECT_EQ(Stored(1), File("1.qvp"));
  EXPECT_EQ(Stored(9), File("9.qvp"));
}

TEST_F(FileHistory, LoadDropsFilesThatNoLongerExist) {
  for (const char* name : {"A.qvp", "B.qvp", "C.qvp", "D.qvp"})
    FHistory.MenuAppendFile(File(name), true);
  std::filesystem::remove(File("C.qvp"));  // entry 2
  FHistory.Load();
  EXPECT_EQ(FMenu.Texts(),
            (std::vector<std::string>{"101 &Neu", "102 Ö&ffnen...", "270 &1 " + File("D.qvp"),
                                      "271 &2 " + File("B.qvp"), "272 &3 " + File("A.qvp")}));
  EXPECT_EQ(Stored(1), File("A.qvp"));
  EXPECT_EQ(Stored(2), File("B.qvp"));
  EXPECT_EQ(Stored(3), File("D.qvp"));
  EXPECT_EQ(Stored(4), "");
}

TEST_F(FileHistory, AnotherCopysEntriesAppearAtTheNextLoad) {
  FHistory.MenuAppendFile(File("A.qvp"), true);
  FSettings.writeString("FileHist", "F2", File("B.qvp"));  // stored by another running copy
  EXPECT_EQ(FHistory.GetMenuFileTop(), File("B.qvp"));
  EXPECT_EQ(FHistory.GetMenuFileHistory(271), File("A.qvp"));
}

TEST_F(FileHistory, WithoutMenuBarNothingHappens) {
  FHistory.SetFileMenu(nullptr);
  FHistory.MenuAppendFile(File("A.qvp"), true);
  EXPECT_EQ(Stored(1), "");
  EXPECT_EQ(FHistory.GetMenuFileHistory(270), "");
  FSettings.writeString("FileHist", "F1", File("A.qvp"));
  EXPECT_EQ(FHistory.GetMenuFileTop(), "");
  EXPECT_EQ(Stored(1), File("A.qvp"));
}

}  // namespace qv
