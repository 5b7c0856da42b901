// How file text comes back after a load and a save.
#include <gtest/gtest.h>

#include "Ini.h"
#include "MorphError.h"
#include "TestFiles.h"

namespace qv {

using test::CrLfLines;
using test::ReadFile;
using test::WriteFile;

struct TRoundTripCase {
  const char* Name;
  std::string Input;
  std::vector<std::string> Expected;
};

void PrintTo(const TRoundTripCase& c, std::ostream* os) {
  *os << c.Name;
}

class IniRoundTrip : public ::testing::TestWithParam<TRoundTripCase> {};

TEST_P(IniRoundTrip, SavesTheExpectedLines) {
  test::TTempDir dir;
  const auto& c = GetParam();
  WriteFile(dir.Path("in.ini"), c.Input);
  {
    TIni ini(dir.Path("in.ini"));
    EXPECT_FALSE(ini.Modified());
    ini.SaveToFile(dir.Path("out.ini"), te_Ansi);
  }
  EXPECT_EQ(ReadFile(dir.Path("out.ini")), CrLfLines(c.Expected));
}

INSTANTIATE_TEST_SUITE_P(
    FileText, IniRoundTrip,
    ::testing::Values(
        TRoundTripCase{"BlanksAroundNameGoValueKeepsThem", "Name = Value\r\n", {"Name= Value", ""}},
        TRoundTripCase{"ApostrophesAreRemoved",
                       "[S]\r\nKey='quoted text'\r\nOne='\r\nEmpty=''\r\nDq=\"x\"\r\n",
                       {"[S]", "Key=quoted text", "One='", "Dq=\"x\"", ""}},
        TRoundTripCase{"KeyWithoutValueIsDropped", "[S]\r\nKey=\r\nb=2\r\n", {"[S]", "b=2", ""}},
        TRoundTripCase{"HeaderWithoutBracket", "[Sect\r\na=1\r\n", {"[Sect]", "a=1", ""}},
        TRoundTripCase{"HeaderNotTrimmed", "[ Sect ]\na=1\n", {"[ Sect ]", "a=1", ""}},
        TRoundTripCase{"OnlyTheLastBracketOfAFileHeaderGoes",
                       "[Sect] ; note\ra=1\r",
                       {"[Sect] ; note]", "a=1", ""}},
        TRoundTripCase{"RepeatedHeadersMerge",
                       "[Opt]\r\na=1\r\n[Other]\r\nx=1\r\n[opt]\r\nb=2\r\n",
                       {"[Opt]", "a=1", "b=2", "", "[Other]", "x=1", ""}},
        TRoundTripCase{
            "SectionsSortedUnnamedFirst",
            "top=1\r\n[Zeta]\r\nz=1\r\n[Alpha]\r\na=1\r\n[beta]\r\nb=1\r\n",
            {"top=1", "", "[Alpha]", "a=1", "", "[beta]", "b=1", "", "[Zeta]", "z=1", ""}},
        TRoundTripCase{"CommentsAndPlainLinesStayBlankLinesGo",
                       "[S]\r\n; first\r\n\r\nplain text\r\nk=v\r\n\r\n;last\r\n=raw\r\n",
                       {"[S]", "; first", "plain text", "k=v", ";last", "raw", ""}},
        TRoundTripCase{"CaseSensitiveSectionsStaySeparate",
                       "[opt]\r\na=1\r\n;$C\r\n[Opt]\r\nb=2\r\n",
                       {";$C", "[Opt]", "b=2", "", "[opt]", "a=1", ""}},
        TRoundTripCase{
            "EmptySectionsAreNotWritten", "[Empty]\r\n[Full]\r\nk=1\r\n", {"[Full]", "k=1", ""}},
        TRoundTripCase{"TabsInNamesStay", "[S]\r\n\tk =1\r\n", {"[S]", "\tk=1", ""}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(IniText, ReadFromStringEndsHeadersAtTheFirstBracket) {
  TIni ini("");
  ini.ReadFromString("[Sect] ; note\r\na=1\n;$C\n[B\nb=2");
  EXPECT_EQ(ini.FileTime(), -1);
  EXPECT_EQ(ini.ReadString("Sect", "a", ""), "1");
  EXPECT_EQ(ini.ReadString("B", "b", ""), "2");
  EXPECT_FALSE(ini.CaseSensitive());
  TStringList lines;
  ini.ReadSectionLines("Sect", lines, true);
  EXPECT_EQ(lines, (TStringList{"a=1", ";$C"}));
  EXPECT_FALSE(ini.Modified());
}

TEST(IniText, KeysIgnoreCaseAndKeepTheirStoredSpelling) {
  test::TTempDir dir;
  WriteFile(dir.Path("a.ini"), ";$C\r\n[Opt]\r\nZoom=1\r\nÄrger=1\r\n");
  {
    TIni ini(dir.Path("a.ini"));
    EXPECT_EQ(ini.ReadString("Opt", "zoom", ""), "1");
    EXPECT_EQ(ini.ReadString("Opt", "äRGER", ""), "1");
    EXPECT_EQ(ini.ReadString("opt", "Zoom", "none"), "none");  // sections follow the switch
    ini.WriteString("Opt", "ZOOM", "2");
    ini.WriteString("Opt", "new", "3");
  }
  EXPECT_EQ(ReadFile(dir.Path("a.ini")),
            CrLfLines({";$C", "[Opt]", "Zoom=2", "Ärger=1", "new=3", ""}));
}

TEST(IniText, WritingTheStoredValueChangesNothing) {
  test::TTempDir dir;
  const std::string text = "[S]\r\nk=v\r\n; comment\r\n";
  WriteFile(dir.Path("a.ini"), text);
  {
    TIni ini(dir.Path("a.ini"));
    ini.WriteString("S", "K", "v");
    ini.WriteString("Missing", "k", "");
    EXPECT_FALSE(ini.Modified());
    EXPECT_EQ(ini.getSectionByName("Missing"), nullptr);
  }
  EXPECT_EQ(ReadFile(dir.Path("a.ini")), text);  // not rewritten on destruction
}

TEST(IniText, EmptyValueRemovesTheKeyAndAnEmptyDocumentDeletesTheFile) {
  test::TTempDir dir;
  WriteFile(dir.Path("a.ini"), "[S]\r\nk=v\r\n");
  {
    TIni ini(dir.Path("a.ini"));
    ini.WriteString("S", "k", "");
    EXPECT_TRUE(ini.Modified());
    EXPECT_TRUE(ini.isEmpty());
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("a.ini")));
  {
    TIni ini(dir.Path("b.ini"));
    ini.WriteString("S", "k", "v");
    ini.WriteString("S", "k", "");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("b.ini")));
}

TEST(IniText, SaveCreatesMissingFoldersAndEncodings) {
  test::TTempDir dir;
  TIni ini(dir.Path("sub/deeper/a.ini"));
  ini.WriteString("S", "k", "ä");
  ini.Save();
  EXPECT_EQ(ReadFile(dir.Path("sub/deeper/a.ini")), "[S]\r\nk=ä\r\n\r\n");
  ini.SaveToFile(dir.Path("u8.ini"), te_UTF8);
  EXPECT_EQ(ini.Encoding(), te_UTF8);
  EXPECT_EQ(ReadFile(dir.Path("u8.ini")), "\xEF\xBB\xBF[S]\r\nk=ä\r\n\r\n");
  ini.SaveToFile(dir.Path("u16.ini"), te_UTF16LE);
  EXPECT_EQ(ReadFile(dir.Path("u16.ini")).substr(0, 6), std::string("\xFF\xFE[\0S\0", 6));
  TIni back(dir.Path("u16.ini"));
  EXPECT_EQ(back.ReadString("S", "k", ""), "ä");
}

TEST(IniText, SectionOperations) {
  TIni ini("");
  ini.ReadFromString("[B]\nz=1\nA=2\n; c\nplain\nz=1\nZ=1\na=2\n[A]\nx=1\n");
  TStringList names;
  ini.ReadSectionNames(names);
  EXPECT_EQ(names, (TStringList{"A", "B"}));
  ini.ReadSectionLineNames("B", names);
  EXPECT_EQ(names, (TStringList{"z", "A", "z", "Z", "a"}));
  TStringList lines;
  ini.ReadSectionLines("B", lines, false);
  EXPECT_EQ(lines, (TStringList{"z=1", "A=2", "plain", "z=1", "Z=1", "a=2"}));
  ini.DelDupLines();
  ini.ReadSectionLines("B", lines, true);
  EXPECT_EQ(lines, (TStringList{"; c", "plain", "A=2", "a=2", "z=1", "Z=1"}));
  EXPECT_FALSE(ini.Modified());

  ini.WriteSectionLines("Raw", {"; kept", "a=b", "; dropped"}, false);
  EXPECT_TRUE(ini.Modified());
  ini.ReadSectionLines("Raw", lines, true);
  EXPECT_EQ(lines, (TStringList{"a=b"}));
  EXPECT_EQ(ini.ReadString("Raw", "a", "plain lines are no keys"), "plain lines are no keys");

  ini.AddSection("New", std::make_unique<TIniSection>());
  EXPECT_EQ(ini.ReadString("New", "?", ""), "?");
  auto other = std::make_unique<TIniSection>();
  other->AddLine("k=v");
  ini.AddSection("a", std::move(other));  // the name exists: ignored
  EXPECT_EQ(ini.ReadString("A", "k", ""), "");
  EXPECT_EQ(ini.getSectionByName("B")->GetSectionText(), "; c\rplain\rA=2\ra=2\rz=1\rZ=1");
  ini.ClearSection("b");
  EXPECT_EQ(ini.getSectionByName("B"), nullptr);
  EXPECT_EQ(ini.Count(), 3u);
}

TEST(IniText, LoadingAnotherFileMarksTheDocumentForItsOwnFile) {
  test::TTempDir dir;
  WriteFile(dir.Path("other.ini"), "[S]\r\nk=other\r\n");
  {
    TIni ini(dir.Path("mine.ini"));
    ini.LoadFromFile(dir.Path("other.ini"));
    EXPECT_TRUE(ini.Modified());
    EXPECT_EQ(ini.FileName(), dir.Path("mine.ini"));
  }
  EXPECT_EQ(ReadFile(dir.Path("mine.ini")), "[S]\r\nk=other\r\n\r\n");
  TIni ini("");
  EXPECT_THROW(ini.LoadFromFile(dir.Path("missing.ini")), EMorphError);
}

}  // namespace qv
