// The INI document and its file: encodings, the ten-second rule, saving and reloading.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "FileUtil.h"
#include "Ini.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

namespace qv {

using test::CrLfLines;
using test::ReadFile;
using test::WriteFile;

namespace {

// Seven lines in UTF-8 without byte-order mark; line 7 holds "ä" as the Windows-1252 byte E4.
const std::string kSevenLines =
    "[Src1]\r\nROX=0\r\nROY=0\r\nFN=Bär.jpg\r\n\r\n[Src2]\r\nFN=M\xE4rz.jpg\r\n";

struct TEncodingErrors {
  std::vector<int32_t> Lines;
  TEncodingErrorHandler Handler() {
    return [this](TIniStream&, int32_t lineNr) { Lines.push_back(lineNr); };
  }
};

}  // namespace

TEST(IniEncoding, PresetUtf8ReportsTheLastLineThatIsNotUtf8) {
  test::TTempDir dir;
  WriteFile(dir.Path("p.qvp"), kSevenLines);
  TEncodingErrors errors;
  TIni ini(dir.Path("p.qvp"), te_UTF8, errors.Handler());
  EXPECT_EQ(errors.Lines, std::vector<int32_t>{7});
  EXPECT_EQ(ini.ReadString("Src1", "FN", ""), "Bär.jpg");
  EXPECT_EQ(ini.ReadString("Src2", "FN", ""), "März.jpg");
  EXPECT_FALSE(ini.Modified());
}

TEST(IniEncoding, DefaultHandlerShowsTheMessage) {
  test::TTempDir dir;
  WriteFile(dir.Path("p.qvp"), kSevenLines + "\x80=\x9F\r\n");
  TScriptedDialogs dialogs;
  TIni ini(dir.Path("p.qvp"), te_UTF8, nullptr);
  EXPECT_EQ(dialogs.Texts(TScriptedDialogs::TKind::Information),
            std::vector<std::string>{"Die Datei \r" + dir.Path("p.qvp") +
                                     "\r enthält in Zeile 8 ein nicht interpretierbares Zeichen."});
  EXPECT_EQ(ini.ReadString("Src2", "€", ""), "Ÿ");
}

TEST(IniEncoding, WithoutPresetEachLineIsUtf8OrWindows1252Silently) {
  test::TTempDir dir;
  WriteFile(dir.Path("p.qvp"), kSevenLines);
  TScriptedDialogs dialogs;
  TIni ini(dir.Path("p.qvp"));
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_EQ(ini.ReadString("Src1", "FN", ""), "Bär.jpg");
  EXPECT_EQ(ini.ReadString("Src2", "FN", ""), "März.jpg");
  EXPECT_EQ(ini.Encoding(), te_Ansi);
  ini.SaveToFile(dir.Path("out.qvp"), te_Ansi);
  EXPECT_EQ(ReadFile(dir.Path("out.qvp")),
            CrLfLines({"[Src1]", "ROX=0", "ROY=0", "FN=Bär.jpg", "", "[Src2]", "FN=März.jpg", ""}));
}

TEST(IniEncoding, ByteOrderMarks) {
  test::TTempDir dir;
  WriteFile(dir.Path("u8.ini"), "\xEF\xBB\xBF[S]\r\nk=\xC3\xA4\r\n");
  {
    TIni ini(dir.Path("u8.ini"));
    EXPECT_EQ(ini.Encoding(), te_UTF8);  // saved with the mark again
    ini.WriteString("S", "k", "ö");
  }
  EXPECT_EQ(ReadFile(dir.Path("u8.ini")), "\xEF\xBB\xBF[S]\r\nk=ö\r\n\r\n");

  // UTF-16 in both byte orders, a character outside the basic plane included.
  const std::string le("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x3D\xD8\x00\xDE", 20);
  const std::string be("\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\xD8\x3D\xDE\x00", 20);
  for (const std::string& bytes : {le, be}) {
    WriteFile(dir.Path("u16.ini"), bytes);
    TIni ini(dir.Path("u16.ini"), te_UTF8, nullptr);
    EXPECT_EQ(ini.ReadString("S", "k", ""), "\xF0\x9F\x98\x80");
  }
}

TEST(IniEncoding, StreamsDetectTheirEncoding) {
  std::istringstream in("\xEF\xBB\xBF[S]\nk=v\n");
  TIniStream ini;
  ini.LoadFromStream(in);
  EXPECT_EQ(ini.Encoding(), te_UTF8);
  std::ostringstream out;
  ini.SaveToStream(out, te_Ansi);
  EXPECT_EQ(out.str(), "[S]\r\nk=v\r\n\r\n");
}

class IniTenSeconds : public ::testing::Test {
 protected:
  IniTenSeconds() : FPrevious(SetClock([this] { return FNow; })) {}
  ~IniTenSeconds() override { SetClock(FPrevious); }
  void SetNowSecondsAfter(TDateTime t, double seconds) { FNow = t + seconds / kSecondsPerDay; }

  test::TTempDir FDir;
  TDateTime FNow = 0;

 private:
  TClock FPrevious;
};

TEST_F(IniTenSeconds, AChangedDocumentIsWrittenAtTheFirstReadOnceItsFileIsOld) {
  const std::string fn = FDir.Path("s.ini");
  TIni ini(fn);
  SetNowSecondsAfter(DateTimeFromTimespec({1700000000, 0}), 0);
  ini.WriteString("S", "a", "1");  // reads before it changes: nothing to write yet
  EXPECT_FALSE(FileExists(fn));
  ini.WriteString("S", "b", "2");  // reads first: the missing file is "old"
  ASSERT_TRUE(FileExists(fn));
  EXPECT_EQ(ReadFile(fn), CrLfLines({"[S]", "a=1", ""}));
  const TDateTime saved = ini.FileTime();
  EXPECT_EQ(saved, FileLastWriteTime(fn));

  SetNowSecondsAfter(saved, 9);
  EXPECT_EQ(ini.ReadString("S", "b", ""), "2");
  EXPECT_EQ(ReadFile(fn), CrLfLines({"[S]", "a=1", ""}));  // within ten seconds: in memory
  EXPECT_TRUE(ini.Modified());

  SetNowSecondsAfter(saved, 11);
  EXPECT_EQ(ini.ReadInteger("S", "a", 0), 1);
  EXPECT_EQ(ReadFile(fn), CrLfLines({"[S]", "a=1", "b=2", ""}));
  EXPECT_FALSE(ini.Modified());
}

TEST_F(IniTenSeconds, MaintainReloadsAFileChangedOnDisk) {
  const std::string fn = FDir.Path("s.ini");
  WriteFile(fn, "[S]\r\nk=old\r\n");
  TIni ini(fn);
  ini.SetAutoMaintain(true);
  WriteFile(fn, "[S]\r\nk=new\r\n");
  timespec times[2] = {{0, UTIME_OMIT}, {1600000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, fn.c_str(), times, 0), 0);
  EXPECT_EQ(ini.ReadString("S", "k", ""), "new");
  EXPECT_EQ(ini.FileTime(), FileLastWriteTime(fn));
}

namespace {
class TRecordingIni : public TIni {
 public:
  using TIni::TIni;
  int Failures = 0;

 protected:
  void SaveFailed() override { ++Failures; }
};

// Lets writes beyond limit bytes fail, for the lifetime of the object.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &FOld);
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit l = FOld;
    l.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &l);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }

 private:
  rlimit FOld{};
  void (*FOldHandler)(int);
};
}  // namespace

TEST(IniSave, AFailedWriteLeavesTheOldFileIntact) {
  test::TTempDir dir;
  const std::string fn = dir.Path("p.qvp");
  const std::string old = "[S]\r\nk=old\r\n";
  WriteFile(fn, old);
  {
    TRecordingIni ini(fn);
    ini.WriteString("S", "k", std::string(4000, 'x'));
    {
      TFileSizeLimit limit(100);
      ini.Save();
    }
    EXPECT_EQ(ini.Failures, 1);
    EXPECT_FALSE(ini.Modified());  // counted as saved
  }
  EXPECT_EQ(ReadFile(fn), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            1);  // no temporary file left behind
}

TEST(IniSave, ReplacingKeepsThePermissionsAndFollowsLinks) {
  test::TTempDir dir;
  WriteFile(dir.Path("real.ini"), "[S]\r\nk=1\r\n");
  chmod(dir.Path("real.ini").c_str(), 0640);
  std::filesystem::create_symlink(dir.Path("real.ini"), dir.Path("link.ini"));
  {
    TIni ini(dir.Path("link.ini"));
    ini.WriteString("S", "k", "2");
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link.ini")));
  EXPECT_EQ(ReadFile(dir.Path("real.ini")), "[S]\r\nk=2\r\n\r\n");
  struct stat st {};
  stat(dir.Path("real.ini").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace qv
