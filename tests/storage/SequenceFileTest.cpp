// The sequence file of a multi-morph: member sections, relative member paths, the
// multi-morph's own settings, and files written elsewhere or damaged.
#include <gtest/gtest.h>

#include <filesystem>

#include "Bitmap.h"
#include "Ini.h"
#include "JpegFile.h"
#include "Morph.h"
#include "MultiMorph.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

namespace qv {

using test::CrLfLines;
using test::MakeJpeg;
using test::ReadFile;
using test::WriteFile;

class SequenceFile : public ::testing::Test {
 protected:
  std::string Path(const std::string& rel) const { return FDir.Path(rel); }

  // A small project file with two pictures beside it and frameCount transition frames.
  void MakeProject(const std::string& rel, int32_t frameCount) {
    const std::string fn = Path(rel);
    const std::string folder = std::filesystem::path(fn).parent_path().string() + "/";
    MakeJpeg(folder + "a.jpg", 40, 30);
    MakeJpeg(folder + "b.jpg", 40, 30);
    TMorphing m;
    m.NewProject("", 40, 30);
    m.Source1().SetSourceImageName(folder + "a.jpg");
    m.Source2().SetSourceImageName(folder + "b.jpg");
    m.SetFramesMorph(frameCount);
    m.SaveToFile(fn);
  }

  TMorphing& AddMember(TMultiMorph& mm, const std::string& rel) {
    TMorphing& m = mm.AddMorphing(std::make_unique<TMorphing>());
    m.LoadFromFile(Path(rel));
    return m;
  }

  test::TTempDir FDir;
  TScriptedDialogs FDialogs;
};

TEST_F(SequenceFile, MembersAndSettingsSurviveSavingAndLoading) {
  MakeProject("Seq/a.qvp", 10);
  MakeProject("Seq/Teil/b.qvp", 20);
  MakeProject("Morphs/c.qvp", 30);
  TMultiMorph mm;
  TMorphing& a = AddMember(mm, "Seq/a.qvp");
  a.SetSubSeq(2);
  a.SetHorzAlign(ha_right);
  a.SetOffset({11, 22});
  a.SetSmoothAtStart(false);
  a.SetStillImagesAtEnd(4);
  AddMember(mm, "Seq/Teil/b.qvp").SetFramesMorph(7);
  AddMember(mm, "Morphs/c.qvp").SetStillImagesAtStart(3);
  mm.SetFramesPerSecond(30);
  mm.SetInterlaceType(it_LowerFirst);
  mm.SetBGFormatIndex(3);
  mm.BackGround().SetWidth(1920);
  mm.BackGround().SetHeight(1080);
  mm.BackGround().SetBgType(bg_Pict);
  mm.BackGround().SetBGColor(0x123456);
  MakeJpeg(Path("Seq/Bilder/grund.jpg"), 64, 48);
  mm.BackGround().SetBGPictureName(Path("Seq/Bilder/grund.jpg"));
  mm.SetShowCompressDialog(true);
  mm.SaveToFile(Path("Seq/Neu/reise.msq"));
  EXPECT_EQ(mm.FileName(), Path("Seq/Neu/reise.msq"));
  EXPECT_FALSE(mm.Modified());

  EXPECT_EQ(ReadFile(Path("Seq/Neu/reise.msq")),
            CrLfLines({"[$Project]",
                       "Type=ZuntMorphSeq",
                       "FramesPerSecond=30",
                       "Interlace=2",
                       "BGFormatIdx=3",
                       "BGType=1",
                       "BGColor=1193046",
                       "BGPict=../Bilder/grund.jpg",
                       "BGWidth=1920",
                       "BGHeight=1080",
                       "ShowCompressDialog=1",
                       "",
                       "[00]",
                       "Morph=../a.qvp",
                       "FrameCount=10",
                       "StillAtStart=0",
                       "StillAtEnd=4",
                       "HorzAlign=2",
                       "Left=11",
                       "Top=22",
                       "SubSeq=2",
                       "SmoothB=0",
                       "SmoothE=1",
                       "",
                       "[01]",
                       "Morph=../Teil/b.qvp",
                       "FrameCount=7",
                       "StillAtStart=0",
                       "StillAtEnd=0",
                       "HorzAlign=0",
                       "Left=0",
                       "Top=0",
                       "SubSeq=0",
                       "SmoothB=1",
                       "SmoothE=1",
                       "",
                       "[02]",
                       "Morph=../../Morphs/c.qvp",
                       "FrameCount=30",
                       "StillAtStart=3",
                       "StillAtEnd=0",
                       "HorzAlign=0",
                       "Left=0",
                       "Top=0",
                       "SubSeq=0",
                       "SmoothB=1",
                       "SmoothE=1",
                       ""}));

  TMultiMorph back;
  back.LoadFromFile(Path("Seq/Neu/reise.msq"));
  EXPECT_TRUE(FDialogs.Shown().empty());
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.Morphs(0).FileName(), Path("Seq/a.qvp"));
  EXPECT_EQ(back.Morphs(1).FileName(), Path("Seq/Teil/b.qvp"));
  EXPECT_EQ(back.Morphs(2).FileName(), Path("Morphs/c.qvp"));
  EXPECT_EQ(back.Morphs(0).SubSeq(), 2);
  EXPECT_EQ(back.Morphs(0).HorzAlign(), ha_right);
  EXPECT_EQ(back.Morphs(0).Offset(), (TPoint{11, 22}));
  EXPECT_FALSE(back.Morphs(0).SmoothAtStart());
  EXPECT_EQ(back.Morphs(0).StillImagesAtEnd(), 4);
  EXPECT_EQ(back.Morphs(1).FramesMorph(), 7);
  EXPECT_EQ(back.Morphs(2).StillImagesAtStart(), 3);
  EXPECT_TRUE(back.Morphs(2).Paintable());
  EXPECT_EQ(back.FramesPerSecond(), 30);
  EXPECT_EQ(back.InterlaceType(), it_LowerFirst);
  EXPECT_EQ(back.BGFormatIndex(), 3);
  EXPECT_EQ(back.Width(), 1920);
  EXPECT_EQ(back.Height(), 1080);
  EXPECT_EQ(back.BackGround().BgType(), bg_Pict);
  EXPECT_EQ(back.BackGround().BGColor(), 0x123456u);
  EXPECT_EQ(back.BackGround().BGPictureName(), Path("Seq/Bilder/grund.jpg"));
  EXPECT_TRUE(back.ShowCompressDialog());
  EXPECT_FALSE(back.Modified());
  EXPECT_EQ(back.GetOutFileName(), "reise.avi");
}

TEST_F(SequenceFile, AFolderMovedAsAWholeStaysLoadable) {
  MakeProject("Alt/a.qvp", 10);
  MakeProject("Alt/Teil/b.qvp", 10);
  TMultiMorph mm;
  AddMember(mm, "Alt/a.qvp");
  AddMember(mm, "Alt/Teil/b.qvp");
  mm.SaveToFile(Path("Alt/s.msq"));
  TIni ini(Path("Alt/s.msq"));
  EXPECT_EQ(ini.ReadString("00", "Morph", ""), "a.qvp");
  EXPECT_EQ(ini.ReadString("01", "Morph", ""), "Teil/b.qvp");
  std::filesystem::rename(Path("Alt"), Path("Neu"));

  TMultiMorph back;
  back.LoadFromFile(Path("Neu/s.msq"));
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Morphs(1).FileName(), Path("Neu/Teil/b.qvp"));
  EXPECT_TRUE(back.Morphs(1).Paintable());
  EXPECT_TRUE(FDialogs.Shown().empty());
}

TEST_F(SequenceFile, AFileWrittenOnWindowsLoads) {
  MakeProject("Seq/Teil/a.qvp", 12);
  MakeProject("Morphs/b.qvp", 12);
  // Upper-case folders and "\" as the Windows program wrote them; "03" follows a gap; a
  // foreign alignment; no settings of the multi-morph at all.
  WriteFile(Path("Seq/Neu/s.msq"), CrLfLines({"[$Project]", "Type=ZuntMorphSeq", "",
                                              "[00]", "Morph=..\\TEIL\\a.qvp", "HorzAlign=7",
                                              "Left=5", "", "[01]", "Morph=..\\..\\MORPHS\\b.qvp",
                                              "FrameCount=3", "SmoothE=0", "", "[03]",
                                              "Morph=..\\TEIL\\a.qvp", ""}));
  TMultiMorph mm;
  mm.SetFramesPerSecond(50);
  mm.BackGround().SetWidth(640);
  mm.LoadFromFile(Path("Seq/Neu/s.msq"));
  EXPECT_TRUE(FDialogs.Shown().empty());
  ASSERT_EQ(mm.Count(), 2);
  EXPECT_EQ(mm.Morphs(0).FileName(), Path("Seq/Teil/a.qvp"));
  EXPECT_EQ(mm.Morphs(1).FileName(), Path("Morphs/b.qvp"));
  EXPECT_EQ(mm.Morphs(0).HorzAlign(), ha_none);
  EXPECT_EQ(mm.Morphs(0).Offset(), (TPoint{5, 0}));
  EXPECT_EQ(mm.Morphs(0).FramesMorph(), 12);  // from its project file
  EXPECT_EQ(mm.Morphs(1).FramesMorph(), 3);
  EXPECT_FALSE(mm.Morphs(1).SmoothAtEnd());
  EXPECT_TRUE(mm.Morphs(1).SmoothAtStart());
  // The settings of a new multi-morph.
  EXPECT_EQ(mm.FramesPerSecond(), 0);
  EXPECT_EQ(mm.Width(), 0);
  EXPECT_EQ(mm.BackGround().BgType(), bg_Color);
  EXPECT_FALSE(mm.ShowCompressDialog());
  EXPECT_FALSE(mm.Modified());
}

TEST_F(SequenceFile, AShorterSequenceReplacesTheSectionsOfALongerOne) {
  MakeProject("Seq/a.qvp", 10);
  TMultiMorph mm;
  for (int i = 0; i < 5; ++i) AddMember(mm, "Seq/a.qvp");
  mm.SaveToFile(Path("Seq/s.msq"));
  mm.DelMorphing(4);
  mm.DelMorphing(3);
  mm.SaveToFile(Path("Seq/s.msq"));
  TIni ini(Path("Seq/s.msq"));
  TStringList names;
  ini.ReadSectionNames(names);
  EXPECT_EQ(names.size(), 4u);
  for (const char* s : {"$Project", "00", "01", "02"})
    EXPECT_NE(std::find(names.begin(), names.end(), s), names.end()) << s;
  TMultiMorph back;
  back.LoadFromFile(Path("Seq/s.msq"));
  EXPECT_EQ(back.Count(), 3);
}

TEST_F(SequenceFile, OtherFilesAreRefused) {
  MakeProject("Seq/a.qvp", 10);
  TMultiMorph mm;
  AddMember(mm, "Seq/a.qvp");
  mm.SaveToFile(Path("Seq/gut.msq"));
  WriteFile(Path("Seq/klein.msq"), CrLfLines({"[$Project]", "Type=zuntmorphseq", "", "[00]",
                                              "Morph=a.qvp", ""}));

  // A missing file changes nothing.
  mm.LoadFromFile(Path("Seq/fehlt.msq"));
  EXPECT_EQ(mm.Count(), 1);
  EXPECT_TRUE(FDialogs.Shown().empty());

  for (const char* name : {"Seq/klein.msq", "Seq/a.qvp"}) {
    FDialogs.ClearShown();
    mm.LoadFromFile(Path(name));
    EXPECT_EQ(mm.Count(), 0) << name;
    EXPECT_EQ(mm.FileName(), Path("Seq/gut.msq")) << name;
    EXPECT_EQ(FDialogs.Texts(TScriptedDialogs::TKind::Information),
              (std::vector<std::string>{Path(name) + "\rist keine Morph-Sequenz-Datei"}));
  }
}

TEST_F(SequenceFile, AMemberWhoseProjectIsMissingIsKept) {
  MakeProject("Seq/a.qvp", 10);
  WriteFile(Path("Seq/s.msq"), CrLfLines({"[$Project]", "Type=ZuntMorphSeq", "", "[00]",
                                          "Morph=weg.qvp", "SubSeq=4", "", "[01]",
                                          "Morph=a.qvp", ""}));
  TMultiMorph mm;
  mm.LoadFromFile(Path("Seq/s.msq"));
  EXPECT_EQ(FDialogs.Texts(TScriptedDialogs::TKind::Information),
            (std::vector<std::string>{Path("Seq/weg.qvp") + "\rist keine Morphing-Datei"}));
  ASSERT_EQ(mm.Count(), 2);
  EXPECT_FALSE(mm.Morphs(0).Paintable());
  EXPECT_EQ(mm.Morphs(0).SubSeq(), 4);
  EXPECT_EQ(mm.Morphs(0).Name(), "weg");

  // Saved again, the member and those after it stay in the file.
  mm.SaveToFile(Path("Seq/s.msq"));
  TIni ini(Path("Seq/s.msq"));
  EXPECT_EQ(ini.ReadString("00", "Morph", ""), "weg.qvp");
  EXPECT_EQ(ini.ReadString("01", "Morph", ""), "a.qvp");
}

TEST_F(SequenceFile, AMemberWithoutProjectDoesNotEndTheList) {
  MakeProject("Seq/a.qvp", 10);
  MakeProject("Seq/b/b.qvp", 10);
  TMultiMorph mm;
  AddMember(mm, "Seq/a.qvp");
  mm.AddMorphing(std::make_unique<TMorphing>());  // added on the page, no file chosen yet
  AddMember(mm, "Seq/b/b.qvp");
  mm.SaveToFile(Path("Seq/s.msq"));
  TMultiMorph back;
  back.LoadFromFile(Path("Seq/s.msq"));
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Morphs(1).FileName(), Path("Seq/b/b.qvp"));
}

}  // namespace qv
