// The typed reads and writes of the INI document.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "Ini.h"
#include "IniValues.h"

namespace qv {

namespace {
// A document holding one key "k" in section "S" with the given text.
TIniStream& WithValue(TIniStream& ini, const std::string& text) {
  ini.Clear();
  ini.LoadFromList({"[S]", "k=" + text});
  return ini;
}
}  // namespace

TEST(IniValues, ReadInteger) {
  struct Case {
    const char* Text;
    int32_t Expected;
  } cases[] = {
      {"42", 42},
      {" 42", 42},
      {"-7", -7},
      {"+7", 7},
      {"$1F", 31},
      {"0x1F", 31},
      {"x1f", 31},
      {"-$10", -16},
      {"12abc", 0},
      {"42 ", 0},
      {"", 99},
      {"1.5", 0},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", 0},
      {"0x", 0},
      {"$", 0},
  };
  TIniStream ini;
  for (const auto& c : cases)
    EXPECT_EQ(WithValue(ini, c.Text).ReadInteger("S", "k", 99), c.Expected) << c.Text;
  EXPECT_EQ(ini.ReadInteger("S", "missing", 99), 99);
}

TEST(IniValues, ReadInt64TakesTheDefaultForMalformedText) {
  TIniStream ini;
  EXPECT_EQ(WithValue(ini, "9000000000").ReadInt64("S", "k", -1), 9000000000LL);
  EXPECT_EQ(WithValue(ini, "-$8000000000000000").ReadInt64("S", "k", 0),
            std::numeric_limits<int64_t>::min());
  EXPECT_EQ(WithValue(ini, "12abc").ReadInt64("S", "k", -1), -1);
  EXPECT_EQ(WithValue(ini, "9223372036854775808").ReadInt64("S", "k", -1), -1);
}

TEST(IniValues, ReadBoolIsTrueForEveryTextAboveZero) {
  struct Case {
    const char* Text;
    bool Expected;
  } cases[] = {{"1", true},  {"2", true},  {"00", true},  {"true", true}, {"yes", true},
               {"no", true}, {"0", false}, {"-1", false}, {" 1", false},  {"/", false}};
  TIniStream ini;
  for (const auto& c : cases)
    EXPECT_EQ(WithValue(ini, c.Text).ReadBool("S", "k", !c.Expected), c.Expected) << c.Text;
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
  EXPECT_FALSE(ini.ReadBool("S", "missing", false));
}

TEST(IniValues, DoublesAreStoredAsTheirBits) {
  TIniStream ini;
  ini.WriteDouble("S", "half", 0.5);
  ini.WriteDouble("S", "one", 1.0);
  EXPECT_EQ(ini.ReadString("S", "half", ""), "3FE0000000000000");
  EXPECT_EQ(ini.ReadString("S", "one", ""), "3FF0000000000000");
  EXPECT_EQ(ini.ReadDouble("S", "half", 0), 0.5);
  struct Case {
    const char* Text;
    uint64_t Bits;
  } cases[] = {{"1.5", 1},
               {"$3ff0000000000000", 0x3FF0000000000000},
               {"-1", 0},
               {"x1", 0},
               {"13FF0000000000000", 0x3FF0000000000000}};  // wraps at 64 bits
  for (const auto& c : cases) {
    double d = WithValue(ini, c.Text).ReadDouble("S", "k", 7);
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    EXPECT_EQ(bits, c.Bits) << c.Text;
  }
  EXPECT_EQ(ini.ReadDouble("S", "missing", 7), 7);
  EXPECT_EQ(DoubleToHexBits(-2.0), "C000000000000000");
}

TEST(IniValues, ReadPointScansXThenY) {
  struct Case {
    const char* Text;
    TPoint Expected;
  } cases[] = {{"120,-5", {120, -5}},   {"120;5", {120, 0}}, {"12, 34", {12, 0}},
               {"$1F,$10", {31, 16}},   {"-$5,1", {0, 0}},   {"--3,4", {3, 4}},
               {"7", {7, 0}},           {"x,5", {0, 0}},     {"A,3", {0, 0}},
               {"4294967297,1", {1, 1}}};
  TIniStream ini;
  for (const auto& c : cases)
    EXPECT_EQ(WithValue(ini, c.Text).ReadPoint("S", "k", "0,0"), c.Expected) << c.Text;
  EXPECT_EQ(ini.ReadPoint("S", "missing", "3,4"), (TPoint{3, 4}));
}

TEST(IniValues, ScannerStopsAtTheFirstForeignCharacter) {
  EXPECT_EQ(ScanInteger("1.2.3", 1).Value, 1);
  EXPECT_EQ(ScanInteger("1.2.3", 1).Pos, 2);
  EXPECT_EQ(ScanInteger("1.2.3", 3).Value, 2);
  EXPECT_EQ(ScanInteger("$-1", 1).Pos, 1);
  EXPECT_EQ(ScanInteger("", 1).Value, 0);
  // Only the first 255 characters take part.
  std::string longText(254, ' ');
  EXPECT_EQ(ScanInteger(longText + "12", 255).Value, 1);
  EXPECT_EQ(ScanInteger(longText + "12", 256).Value, 0);
}

TEST(IniValues, IntegersAndBoolsAreWrittenPlainly) {
  TIniStream ini;
  ini.WriteInteger("S", "i", -12);
  ini.WriteBool("S", "t", true);
  ini.WriteBool("S", "f", false);
  TStringList lines;
  ini.SaveToList(lines);
  EXPECT_EQ(lines, (TStringList{"[S]", "i=-12", "t=1", "f=0", ""}));
}

TEST(IniValues, ReadFloatTakesTheDefaultForMalformedText) {
  TIniStream ini;
  EXPECT_EQ(WithValue(ini, "1e3").ReadFloat("S", "k", -1), 1000.0);
  EXPECT_EQ(WithValue(ini, "12abc").ReadFloat("S", "k", -1), -1);
  EXPECT_EQ(WithValue(ini, "").ReadFloat("S", "k", -1), -1);
}

}  // namespace qv
