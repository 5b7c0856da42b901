// The typed history of input fields.
#include <gtest/gtest.h>

#include "HistoryItems.h"
#include "TestFiles.h"
#include "UserSettings.h"

namespace qv {

class HistoryItems : public ::testing::Test {
 protected:
  HistoryItems() { FItems.SetHistName("FormSettings\\HistoryComboBoxWidth"); }
  test::TTempDir FDir;
  TUserSettingsFile FSettings{FDir.Path("Quorvel.ini")};
  THistoryItems FItems;
};

TEST_F(HistoryItems, NewestFirstWithoutCaseDuplicatesOrTypingSteps) {
  FItems.SaveItems("abc", &FSettings);
  FItems.SaveItems("1", &FSettings);
  FItems.SaveItems("12", &FSettings);  // "1" was saved while typing "12"
  FItems.SaveItems("Abc", &FSettings);
  EXPECT_EQ(FItems.HistoryStrings(), (TStringList{"Abc", "12"}));
  EXPECT_EQ(FSettings.readString("FormSettings\\HistoryComboBoxWidth", "Hist", ""), "Abc\r\n12");
  FItems.SaveItems("Äbcd", &FSettings);
  FItems.SaveItems("Äbc", &FSettings);  // not a typing step: "Äbcd" is longer
  EXPECT_EQ(FItems.HistoryStrings(), (TStringList{"Äbc", "Äbcd", "Abc", "12"}));
  FItems.SaveItems("Äbcé", &FSettings);  // the last character is a whole code point
  EXPECT_EQ(FItems.HistoryStrings(), (TStringList{"Äbcé", "Äbcd", "Abc", "12"}));
}

TEST_F(HistoryItems, DropsTheOldestBeyondMaxHistory) {
  for (int i = 40; i >= 1; --i) FItems.SaveItems("v" + std::to_string(i) + "x", nullptr);
  ASSERT_EQ(FItems.HistoryStrings().size(), 40u);
  FItems.SaveItems("new", &FSettings);
  ASSERT_EQ(FItems.HistoryStrings().size(), 40u);
  EXPECT_EQ(FItems.HistoryStrings().front(), "new");
  EXPECT_EQ(FItems.HistoryStrings().back(), "v39x");  // v40x was the oldest
}

TEST_F(HistoryItems, StoredFormRoundTripsLineBreaks) {
  FItems.SaveItems("one\r\ntwo", &FSettings);
  FItems.SaveItems("plain", &FSettings);
  EXPECT_EQ(FItems.JoinedItems(), "plain\r\none¶¶two");
  THistoryItems again;
  again.SetHistName(FItems.HistName());
  EXPECT_TRUE(again.LoadItems(&FSettings));
  EXPECT_EQ(again.HistoryStrings(), (TStringList{"plain", "one\r\ntwo"}));
  EXPECT_TRUE(again.ItemsLoaded());

  THistoryItems crOnly;
  crOnly.SetHistName("Cr");
  crOnly.SetCrOnly(true);
  crOnly.SaveItems("a\rb", &FSettings);
  EXPECT_EQ(FSettings.readString("Cr", "Hist", ""), "a¶b");
  crOnly.HistoryStrings().clear();
  crOnly.LoadItems(&FSettings);
  EXPECT_EQ(crOnly.HistoryStrings(), (TStringList{"a\rb"}));
}

TEST_F(HistoryItems, LoadKeepsOnlyTheFirstEmptyItem) {
  FSettings.writeString("H", "Hist", "\r\nx\r\n\r\ny\r\n");
  FItems.SetHistName("H");
  EXPECT_TRUE(FItems.LoadItems(&FSettings));
  EXPECT_EQ(FItems.HistoryStrings(), (TStringList{"", "x", "y"}));

  FItems.SetHistName("Nothing stored");
  EXPECT_FALSE(FItems.LoadItems(&FSettings));
  EXPECT_TRUE(FItems.HistoryStrings().empty());
}

TEST_F(HistoryItems, ZeroMaxHistoryTurnsItOff) {
  FItems.SetMaxHistory(0);
  FItems.SaveItems("x", &FSettings);
  EXPECT_TRUE(FItems.HistoryStrings().empty());
  EXPECT_FALSE(FItems.LoadItems(&FSettings));
  EXPECT_FALSE(FItems.ItemsLoaded());
}

}  // namespace qv
