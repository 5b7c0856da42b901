// The project file of a morphing: writing, reading, stored picture names and odd content.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "Bitmap.h"
#include "Ini.h"
#include "JpegFile.h"
#include "Morph.h"
#include "MorphFile.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

namespace qv {

using test::CrLfLines;
using test::MakeJpeg;
using test::ReadFile;
using test::WriteFile;

namespace {

const TAngleArray kCorners{{0, 0}, {639, 0}, {639, 479}, {0, 479}};

// The 42 lines of the new 640 x 480 project with five points and two triangles.
std::vector<std::string> ExampleLines(const std::string& secondName) {
  return {"[Opt]",
          "Mode=2",
          "Zoom=1000",
          "Interlace=0",
          "BGFormatIdx=0",
          "FramesPerSecond=25",
          "FrameCount=100",
          "StillAtStart=1",
          "StillAtEnd=1",
          "ShowCompressDialog=1",
          "SmoothB=1",
          "SmoothE=1",
          "withBG=0",
          "BGType=0",
          "BGColor=0",
          "BGWidth=640",
          "BGHeight=480",
          "",
          "[Project]",
          "Type=ZuntMorphing",
          "Version=1.0.0.0",
          "TargetW=640",
          "TargetH=480",
          "GridColor=56797",
          "",
          "[Src1]",
          "ROX=0",
          "ROY=0",
          "RWidth=800",
          "FN=anna.jpg",
          "Points=0000,0000;027F,0000;027F,01DF;0000,01DF;0140,00F0;",
          "",
          "[Src2]",
          "ROX=12",
          "ROY=0",
          "RWidth=760",
          "FN=" + secondName,
          "Points=0000,0000;027F,0000;027F,01DF;0000,01DF;0152,00E6;",
          "",
          "[Triangles]",
          "A=0000,0001,0004;0001,0002,0004;",
          ""};
}

}  // namespace

class ProjectFile : public ::testing::Test {
 protected:
  ProjectFile() {
    MakeJpeg(Path("Proj/anna.jpg"), 800, 600);
    MakeJpeg(Path("Proj/BILDER/bert.jpg"), 800, 600);
  }
  std::string Path(const std::string& rel) const { return FDir.Path(rel); }

  // The example project, built through the document's operations.
  void BuildExample(TMorphing& m) {
    m.NewProject("", 640, 480);
    m.SetStillImagesAtStart(1);
    m.SetStillImagesAtEnd(1);
    m.BackGround().SetWidth(640);
    m.BackGround().SetHeight(480);
    m.Source1().SetSourceImageName(Path("Proj/anna.jpg"));
    m.Source2().SetSourceImageName(Path("Proj/BILDER/bert.jpg"));
    m.setRectWidth(m.Source2(), 760);
    m.setRectOrigin(m.Source2(), {12, 0});
    m.SetMorphMode(mm_Net);
    for (const TPoint& p : kCorners) {
      m.Source1().AddPoint(p);
      m.Source2().AddPoint(p);
    }
    m.Source1().AddPoint({320, 240});
    m.Source2().AddPoint({338, 230});
    m.AppendTriangle({0, 1, 4});
    m.AppendTriangle({1, 2, 4});
  }

  test::TTempDir FDir;
  TScriptedDialogs FDialogs;
};

TEST_F(ProjectFile, TheExampleIsWrittenByteForByte) {
  TMorphing m;
  BuildExample(m);
  ASSERT_EQ(m.Source1().RectWidth(), 800);
  m.SaveToFile(Path("Proj/example.qvp"));
  EXPECT_EQ(ReadFile(Path("Proj/example.qvp")), CrLfLines(ExampleLines("BILDER/bert.jpg")));
  EXPECT_EQ(m.FileName(), Path("Proj/example.qvp"));
  EXPECT_FALSE(m.Modified());
  EXPECT_TRUE(FDialogs.Shown().empty());
}

TEST_F(ProjectFile, TheExampleLoadsAsWrittenOnWindows) {
  WriteFile(Path("Proj/example.qvp"), CrLfLines(ExampleLines("BILDER\\bert.jpg")));
  TMorphing m;
  m.LoadFromFile(Path("Proj/example.qvp"));
  EXPECT_TRUE(FDialogs.Shown().empty());
  EXPECT_EQ(m.FileName(), Path("Proj/example.qvp"));
  EXPECT_EQ(m.Width(), 640);
  EXPECT_EQ(m.Height(), 480);
  EXPECT_EQ(m.MorphMode(), mm_Net);
  EXPECT_EQ(m.CurrentZoom(), 1000);
  EXPECT_EQ(m.FramesPerSecond(), 25);
  EXPECT_EQ(m.FramesMorph(), 100);
  EXPECT_EQ(m.StillImagesAtStart(), 1);
  EXPECT_TRUE(m.ShowCompressDialog());
  EXPECT_TRUE(m.SmoothAtStart() && m.SmoothAtEnd());
  EXPECT_FALSE(m.withBG());
  EXPECT_EQ(m.GridColor(), 56797u);
  EXPECT_EQ(m.Version(), (TVersionNr{1, 0, 0, 0}));
  EXPECT_EQ(m.BackGround().Width(), 640);
  EXPECT_EQ(m.Source1().SourceImageName(), Path("Proj/anna.jpg"));
  EXPECT_EQ(m.Source2().SourceImageName(), Path("Proj/BILDER/bert.jpg"));
  EXPECT_EQ(m.Source1().RectWidth(), 800);
  EXPECT_EQ(m.Source2().RectWidth(), 760);
  EXPECT_EQ(m.Source2().RectOrigin(), (TPoint{12, 0}));
  TAngleArray second = kCorners;
  second.push_back({338, 230});
  EXPECT_EQ(m.Source2().Angles(), second);
  EXPECT_EQ(m.Source1().Angles().back(), (TPoint{320, 240}));
  EXPECT_EQ(m.Triangles(), (std::vector<TTrianglePerIndex>{{0, 1, 4}, {1, 2, 4}}));
  EXPECT_TRUE(m.Paintable());
  EXPECT_FALSE(m.Modified());

  // Saving it again changes only what differs: the name now uses "/".
  m.SaveToFile(Path("Proj/example.qvp"));
  EXPECT_EQ(ReadFile(Path("Proj/example.qvp")), CrLfLines(ExampleLines("BILDER/bert.jpg")));
}

TEST_F(ProjectFile, PictureNamesAreRelativeToTheProjectFolder) {
  MakeJpeg(Path("Other/Tree/carl.jpg"), 64, 48);
  struct Case {
    std::string Project, First, Second;
  } cases[] = {
      {"Proj/p.qvp", "anna.jpg", "BILDER/bert.jpg"},
      {"Proj/Neu/p.qvp", "../anna.jpg", "../BILDER/bert.jpg"},
      {"Other/Tree/Deep/p.qvp", "../../../Proj/anna.jpg", "../../../Proj/BILDER/bert.jpg"},
  };
  for (const Case& c : cases) {
    TMorphing m;
    BuildExample(m);
    m.SaveToFile(Path(c.Project));
    TIni ini(Path(c.Project));
    EXPECT_EQ(ini.ReadString("Src1", "FN", ""), c.First) << c.Project;
    EXPECT_EQ(ini.ReadString("Src2", "FN", ""), c.Second) << c.Project;
    TMorphing back;
    back.LoadFromFile(Path(c.Project));
    EXPECT_EQ(back.Source2().SourceImageName(), Path("Proj/BILDER/bert.jpg")) << c.Project;
  }
  EXPECT_TRUE(FDialogs.Shown().empty());
}

TEST_F(ProjectFile, StoredNamesAreFoundWhateverTheirLetterCase) {
  std::vector<std::string> lines = ExampleLines("..\\bilder\\BERT.JPG");
  lines[29] = "FN=../ANNA.jpg";
  WriteFile(Path("Proj/Neu/p.qvp"), CrLfLines(lines));
  TMorphing m;
  m.LoadFromFile(Path("Proj/Neu/p.qvp"));
  EXPECT_EQ(m.Source1().SourceImageName(), Path("Proj/anna.jpg"));
  EXPECT_EQ(m.Source2().SourceImageName(), Path("Proj/BILDER/bert.jpg"));
  EXPECT_TRUE(FDialogs.Shown().empty());

  // A name found nowhere is kept as resolved (the source shows its placeholder) and written
  // back as it was.
  lines[29] = "FN=weg/fort.jpg";
  WriteFile(Path("Proj/p.qvp"), CrLfLines(lines));
  m.LoadFromFile(Path("Proj/p.qvp"));
  EXPECT_EQ(m.Source1().SourceImageName(), Path("Proj/weg/fort.jpg"));
  m.SaveToFile(Path("Proj/p.qvp"));
  EXPECT_EQ(TIni(Path("Proj/p.qvp")).ReadString("Src1", "FN", ""), "weg/fort.jpg");
}

TEST_F(ProjectFile, OneSmoothSwitchOfEarlierFilesServesBothEnds) {
  struct Case {
    std::vector<std::string> Opt;
    bool Start, End;
  } cases[] = {{{"Smooth=0"}, false, false},
               {{"Smooth=0", "SmoothE=1"}, false, true},
               {{"SmoothB=0"}, false, true},
               {{}, true, true}};
  for (const Case& c : cases) {
    std::vector<std::string> lines{"[Project]", "Type=ZuntMorphing", "[Opt]"};
    lines.insert(lines.end(), c.Opt.begin(), c.Opt.end());
    WriteFile(Path("Proj/old.qvp"), CrLfLines(lines));
    TMorphing m;
    m.LoadFromFile(Path("Proj/old.qvp"));
    EXPECT_EQ(m.SmoothAtStart(), c.Start) << c.Opt.size();
    EXPECT_EQ(m.SmoothAtEnd(), c.End) << c.Opt.size();
  }
  // "Smooth" stays in a file that is saved over.
  WriteFile(Path("Proj/old.qvp"),
            CrLfLines({"[Opt]", "Smooth=0", "Later=kept", "[Project]", "Type=ZuntMorphing"}));
  TMorphing m;
  m.LoadFromFile(Path("Proj/old.qvp"));
  m.SaveToFile(Path("Proj/old.qvp"));
  TIni ini(Path("Proj/old.qvp"));
  EXPECT_EQ(ini.ReadString("Opt", "Smooth", ""), "0");
  EXPECT_EQ(ini.ReadString("Opt", "Later", ""), "kept");
  EXPECT_EQ(ini.ReadString("Opt", "SmoothB", ""), "0");
}

TEST_F(ProjectFile, OddValuesFallBackAsTheLoaderSays) {
  WriteFile(
      Path("Proj/odd.qvp"),
      CrLfLines({"[Project]", "Type=ZuntMorphing", "TargetW=100", "TargetH=80", "Version=2012",
                 "[Opt]", "Interlace=5", "BGType=7", "Mode=9", "FrameCount=12abc", "[Src1]",
                 "FN=anna.jpg", "Points=000A,0014;000a,0001;0005;0001,0002,0003;001E", "[Src2]",
                 "FN=BILDER/bert.jpg", "Points=0001,0001;0002,0002;0003,0003;", "[Triangles]",
                 "A=0000,0001,0000;0000,0001;0001,0001,0001,0001;0000,0001,0000;0000,0001,0002;"
                 "0000,0001"}));
  TMorphing m;
  m.SetInterlaceType(it_upperFirst);
  m.LoadFromFile(Path("Proj/odd.qvp"));
  EXPECT_EQ(m.InterlaceType(), it_upperFirst);  // 5 is no field order
  EXPECT_EQ(m.BackGround().BgType(), bg_Color);
  EXPECT_EQ(m.MorphMode(), mm_ImgSel);
  EXPECT_EQ(m.FramesMorph(), 0);
  EXPECT_EQ(m.Version(), (TVersionNr{2, 12, 0, 0}));
  EXPECT_EQ(m.BackGround().Width(), 100);
  // Entries of other than two numbers and the unterminated last one are left out; a
  // lower-case digit reads wrongly; the longer list is cut to the shorter.
  EXPECT_EQ(m.Source1().Angles(), (TAngleArray{{10, 20}, {-1, 1}}));
  EXPECT_EQ(m.Source2().Angles(), (TAngleArray{{1, 1}, {2, 2}}));
  // Triangles of two or four numbers are skipped, those naming point 2 dropped, duplicates kept.
  EXPECT_EQ(m.Triangles(), (std::vector<TTrianglePerIndex>{{0, 1, 0}, {0, 1, 0}}));
  EXPECT_FALSE(m.Modified());
}

TEST_F(ProjectFile, OtherFilesAreRefused) {
  WriteFile(Path("Proj/wrong.qvp"), CrLfLines({"[Project]", "Type=zuntmorphing", "TargetW=50"}));
  WriteFile(Path("Proj/huge.qvp"), "[Project]\r\nType=ZuntMorphing\r\n");
  std::filesystem::resize_file(Path("Proj/huge.qvp"), kMaxProjectFileSize + 1);
  TMorphing m;
  BuildExample(m);
  m.SaveToFile(Path("Proj/good.qvp"));
  for (const char* name : {"wrong.qvp", "missing.qvp", "huge.qvp"}) {
    FDialogs.ClearShown();
    m.LoadFromFile(Path("Proj/") + name);
    EXPECT_EQ(FDialogs.Texts(TScriptedDialogs::TKind::Information),
              std::vector<std::string>{Path("Proj/") + name + "\rist keine Morphing-Datei"});
    EXPECT_EQ(m.FileName(), Path("Proj/good.qvp"));
    EXPECT_EQ(m.AngleCount(), 0);
    EXPECT_EQ(m.TriangleCount(), 0);
  }
}

TEST_F(ProjectFile, AnsiBytesAreRecoveredWithAMessage) {
  MakeJpeg(Path("Proj/März.jpg"), 80, 60);
  std::vector<std::string> lines = ExampleLines("BILDER/bert.jpg");
  lines[29] = "FN=M\xE4rz.jpg";
  WriteFile(Path("Proj/ansi.qvp"), CrLfLines(lines));
  TMorphing m;
  m.LoadFromFile(Path("Proj/ansi.qvp"));
  EXPECT_EQ(m.Source1().SourceImageName(), Path("Proj/März.jpg"));
  EXPECT_EQ(
      FDialogs.Texts(TScriptedDialogs::TKind::Information),
      std::vector<std::string>{"Die Datei \r" + Path("Proj/ansi.qvp") +
                               "\r enthält in Zeile 30 ein nicht interpretierbares Zeichen."});
  EXPECT_EQ(m.AngleCount(), 5);
}

TEST_F(ProjectFile, NegativeCoordinatesAreStoredAsFifty) {
  TMorphing m;
  BuildExample(m);
  m.Source1().AddPoint({-3, 7});
  m.Source2().AddPoint({65536, -1});
  m.SaveToFile(Path("Proj/neg.qvp"));
  TIni ini(Path("Proj/neg.qvp"));
  EXPECT_TRUE(ini.ReadString("Src1", "Points", "").ends_with(";0032,0007;"));
  EXPECT_TRUE(ini.ReadString("Src2", "Points", "").ends_with(";10000,0032;"));
  EXPECT_EQ(m.Source1().Angles().back(), (TPoint{50, 7}));
}

TEST_F(ProjectFile, ListsAreBounded) {
  bool cut = false;
  std::string points;
  for (size_t i = 0; i < kMaxProjectPoints; ++i) points += "0001,0002;";
  EXPECT_EQ(ScanPointList(points, &cut).size(), kMaxProjectPoints);
  EXPECT_FALSE(cut);  // exactly the limit: nothing left out
  EXPECT_EQ(ScanPointList(points + "0003,0004;", &cut).size(), kMaxProjectPoints);
  EXPECT_TRUE(cut);
  EXPECT_EQ(ScanPointList(points + "0003", &cut).size(), kMaxProjectPoints);
  EXPECT_FALSE(cut);  // an unterminated rest is no entry
  std::string triangles;
  for (size_t i = 0; i < kMaxProjectTriangles + 5; ++i) triangles += "0000,0001,0002;";
  EXPECT_EQ(ScanTriangleList(triangles, &cut).size(), kMaxProjectTriangles);
  EXPECT_TRUE(cut);
  // Only the first kMaxProjectLineLength characters are read: the entry across the limit is
  // incomplete there.
  std::string longLine(kMaxProjectLineLength - 6, ',');
  EXPECT_EQ(ScanPointList(longLine + ";0001,0002;", &cut).size(), 0u);
  EXPECT_TRUE(cut);
  EXPECT_EQ(ScanPointList(std::string(kMaxProjectLineLength - 10, ' ') + "0001,0002;", &cut).size(),
            1u);
  EXPECT_FALSE(cut);
}

// A project with more points than the limit loads the first ones and says so.
TEST_F(ProjectFile, CutListsAreReported) {
  std::string points;
  for (size_t i = 0; i < kMaxProjectPoints + 3; ++i) points += "0001,0002;";
  const std::string fn = Path("Proj/viele.qvp");
  WriteFile(fn, CrLfLines({"[Project]", "Type=ZuntMorphing", "TargetW=64", "TargetH=48", "[Src1]",
                           "Points=" + points, "[Src2]", "Points=" + points}));
  TMorphing m;
  m.LoadFromFile(fn);
  EXPECT_EQ(size_t(m.AngleCount()), kMaxProjectPoints);
  const auto texts = FDialogs.Texts(TScriptedDialogs::TKind::Information);
  EXPECT_NE(std::find(texts.begin(), texts.end(), ListsCutText(fn)), texts.end());
  EXPECT_EQ(ListsCutText("a.qvp"),
            "a.qvp\renthält mehr Punkte oder Dreiecke, als geladen werden können (höchstens "
            "65536 Punkte und 131072 Dreiecke).\rDie übrigen wurden weggelassen.");
  FDialogs.ClearShown();
  m.SaveToFile(Path("Proj/wenige.qvp"));
  m.LoadFromFile(Path("Proj/wenige.qvp"));
  const auto again = FDialogs.Texts(TScriptedDialogs::TKind::Information);
  EXPECT_EQ(std::find(again.begin(), again.end(), ListsCutText(Path("Proj/wenige.qvp"))),
            again.end());
}

TEST_F(ProjectFile, SaveIfModifiedAsksAndSaves) {
  TMorphing m;
  EXPECT_TRUE(m.SaveIfModified());  // not modified: no question
  EXPECT_TRUE(FDialogs.Shown().empty());
  BuildExample(m);
  ASSERT_TRUE(m.Modified());
  FDialogs.QueueSave(TSaveAnswer::Yes);
  EXPECT_FALSE(m.SaveIfModified());  // no name yet: the caller asks for one
  EXPECT_EQ(FDialogs.Texts(TScriptedDialogs::TKind::SaveQuestion),
            std::vector<std::string>{"Das aktuelle Morphing wurde geändert,\rist aber noch nicht "
                                     "gespeichert.\r\rSoll es jetzt gespeichert werden?"});
  FDialogs.QueueSave(TSaveAnswer::Cancel);
  EXPECT_FALSE(m.SaveIfModified());
  FDialogs.QueueSave(TSaveAnswer::No);
  EXPECT_TRUE(m.SaveIfModified());
  EXPECT_TRUE(m.Modified());
  m.SetFileName(Path("Proj/named.qvp"));
  FDialogs.QueueSave(TSaveAnswer::Yes);
  EXPECT_TRUE(m.SaveIfModified());
  EXPECT_FALSE(m.Modified());
  EXPECT_TRUE(std::filesystem::exists(Path("Proj/named.qvp")));
}

}  // namespace qv
