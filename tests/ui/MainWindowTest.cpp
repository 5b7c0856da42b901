#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

#include "EditorFixture.h"
#include "QtFileMenu.h"

namespace qv {
namespace {

using MainWindowTest = EditorTest;
using Kind = TScriptedDialogs::TKind;

// A copy of the example project with its pictures in a folder of the test.
std::string CopyExample(const QTemporaryDir& dir, const char* name = "example.qvp") {
  for (const char* f : {"anfang.bmp", "ende.bmp"})
    QFile::copy(QString::fromStdString(ExampleFile(f)), dir.filePath(f));
  const QString project = dir.filePath(name);
  QFile::copy(QString::fromStdString(ExampleFile("example.qvp")), project);
  QFile(project).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  return project.toStdString();
}

std::vector<std::string> HistoryEntries(TForm1& f) {
  std::vector<std::string> out;
  for (QAction* a : f.MenuFile->actions())
    if (a->property("qvCommand").isValid())
      out.push_back(a->property("qvText").toString().toStdString());
  return out;
}

TEST_F(MainWindowTest, CaptionNamesThePageAndTheFile) {
  TForm1& f = Form();
  EXPECT_EQ(f.windowTitle(), "Quorvel");
  f.UpdateCaption();
  EXPECT_EQ(f.windowTitle(), "Quorvel - Morphing: ");
  f.Morphing().SetFileName("/tmp/a folder/Gesicht.qvp");
  f.UpdateCaption();
  EXPECT_EQ(f.windowTitle(), "Quorvel - Morphing: Gesicht.qvp");
  f.ShowSequencePage();
  EXPECT_EQ(f.windowTitle(), "Quorvel - MorphSequence: ");
  f.ShowMorphPage();
  EXPECT_EQ(f.windowTitle(), "Quorvel - Morphing: Gesicht.qvp");
}

TEST_F(MainWindowTest, StartWithoutProjectCreatesANewMorphingOfTheProposedSize) {
  TForm1& f = ShownForm();
  EXPECT_TRUE(f.Morphing().FileName().empty());
  EXPECT_EQ(f.Morphing().Width(), 810);
  EXPECT_EQ(f.Morphing().Height(), 1080);
  EXPECT_FALSE(f.Morphing().Modified());
  EXPECT_EQ(f.LabelPictSize->text(), "Zielgröße: 810 x 1080");
  EXPECT_TRUE(f.AutoZoom());
  EXPECT_EQ(f.Zoom(), f.GetFitZoom());
}

TEST_F(MainWindowTest, StartReopensCurrentAtTheFitZoom) {
  const std::string project = CopyExample(FDir);
  GetUserSettings()->writeString("File", "Current", project);
  TForm1& f = Form();
  EXPECT_EQ(f.Morphing().FileName(), project) << "open before the window shows";
  EXPECT_EQ(f.Morphing().Width(), 320);
  EXPECT_EQ(f.Morphing().MorphMode(), mm_Net);
  EXPECT_EQ(f.windowTitle(), "Quorvel - Morphing: example.qvp");
  ShownForm();
  EXPECT_EQ(f.Morphing().FileName(), project) << "no new morphing at the first activation";
  EXPECT_EQ(f.Zoom(), f.GetFitZoom());
  EXPECT_EQ(HistoryEntries(f), std::vector<std::string>{"&1 " + project});
}

TEST_F(MainWindowTest, CommandLineProjectOrSequenceOpensAtTheFirstActivation) {
  const std::string project = CopyExample(FDir);
  {
    TForm1& f = ShownForm({QString::fromStdString(project)});
    EXPECT_EQ(f.Morphing().FileName(), project);
    EXPECT_EQ(f.LabelPictSize->text(), "Zielgröße: 320 x 240");
    EXPECT_EQ(f.PageControl1->currentWidget(), f.TabSheetMorph);
  }
  FForm.reset();
  const QString sequence = FDir.filePath("Folge.msq");
  QFile s(sequence);
  ASSERT_TRUE(s.open(QIODevice::WriteOnly));
  s.write("[$Project]\r\nType=ZuntMorphSeq\r\n");
  s.close();
  TForm1& f = ShownForm({sequence});
  EXPECT_EQ(f.PageControl1->currentWidget(), f.TabSheetMorphSeq)
      << "the sequence page shows although its tab is hidden";
  EXPECT_FALSE(f.PageControl1->isTabVisible(1));
  EXPECT_EQ(f.windowTitle(), "Quorvel - MorphSequence: Folge.msq");
  EXPECT_EQ(HistoryEntries(f).front(), "&1 " + sequence.toStdString());
  // Other files and missing files on the command line are ignored.
  FForm.reset();
  TForm1& g = ShownForm({FDir.filePath("anfang.bmp")});
  EXPECT_TRUE(g.Morphing().FileName().empty());
}

TEST_F(MainWindowTest, CloseQueryAsksBeforeLosingWork) {
  struct Case {
    TSaveAnswer answer;
    bool named;
    const char* saveAsFile;  // nullptr: no save dialog expected; "": cancelled
    bool closes;
  } cases[] = {
      {TSaveAnswer::No, false, nullptr, true},    {TSaveAnswer::Cancel, true, nullptr, false},
      {TSaveAnswer::Yes, true, nullptr, true},    {TSaveAnswer::Yes, false, "", false},
      {TSaveAnswer::Yes, false, "Neu.qvp", true},
  };
  const std::string project = CopyExample(FDir);
  for (const Case& c : cases) {
    FForm.reset();
    GetUserSettings()->writeString("File", "Current", "");  // no project re-opened at start
    TForm1& f = ShownForm();
    if (c.named) f.OpenProject(project);
    f.Morphing().AppendTriangle({0, 1, 2});
    ASSERT_TRUE(f.Morphing().Modified());
    FDialogs.ClearShown();
    const size_t fileDialogs = FDialogs.FileDialogs().size();
    FDialogs.QueueSave(c.answer);
    if (c.saveAsFile) {
      FDialogs.QueueFile(*c.saveAsFile ? FDir.filePath(c.saveAsFile).toStdString() : "");
      if (*c.saveAsFile) FDialogs.QueueSave(TSaveAnswer::No);  // no copies of the pictures
    }
    EXPECT_EQ(f.close(), c.closes) << int(c.answer) << " named " << c.named;
    EXPECT_EQ(FDialogs.FileDialogs().size() - fileDialogs, c.saveAsFile ? 1u : 0u);
    EXPECT_EQ(GetUserSettings()->readString("File", "Current", ""),
              c.named ? project : std::string())
        << "written before the question";
    EXPECT_TRUE(f.Stopped());
    if (c.saveAsFile && *c.saveAsFile) {
      EXPECT_TRUE(QFile::exists(FDir.filePath(c.saveAsFile)));
    }
  }
}

TEST_F(MainWindowTest, UnmodifiedMorphingClosesWithoutAQuestion) {
  TForm1& f = ShownForm();
  FDialogs.ClearShown();
  EXPECT_TRUE(f.close());
  EXPECT_TRUE(FDialogs.Shown().empty());
}

TEST_F(MainWindowTest, DroppedFilesOpenTheFirstAsProjectAndLinksCountAsTheirTarget) {
  const std::string project = CopyExample(FDir);
  TForm1& f = ShownForm();
  const QString link = FDir.filePath("Verknüpfung.qvp");
  ASSERT_TRUE(QFile::link(QString::fromStdString(project), link));
  f.OpenDroppedFiles({link, FDir.filePath("ende.bmp")});
  EXPECT_EQ(f.Morphing().FileName(), project);
  // A picture is no project: the loader says so, and the file still enters the history.
  FDialogs.ClearShown();
  const QString picture = FDir.filePath("ende.bmp");
  f.OpenDroppedFiles({picture, QString::fromStdString(project)});
  const std::vector<std::string> infos = FDialogs.Texts(Kind::Information);
  ASSERT_FALSE(infos.empty());
  EXPECT_EQ(infos.back(), picture.toStdString() + "\rist keine Morphing-Datei");
  EXPECT_EQ(f.Morphing().AngleCount(), 0);
  EXPECT_EQ(HistoryEntries(f).front(), "&1 " + picture.toStdString());
  // A link without target is left out.
  const QString dangling = FDir.filePath("weg.qvp");
  ASSERT_TRUE(QFile::link(FDir.filePath("gibt-es-nicht.qvp"), dangling));
  FDialogs.ClearShown();
  f.OpenDroppedFiles({dangling});
  EXPECT_TRUE(FDialogs.Shown().empty());
}

TEST_F(MainWindowTest, RecentFilesOpenFromTheFileMenu) {
  const std::string a = CopyExample(FDir, "a.qvp");
  const std::string b = CopyExample(FDir, "b.qvp");
  TForm1& f = ShownForm();
  f.OpenProject(a);
  f.OpenProject(b);
  EXPECT_EQ(HistoryEntries(f), (std::vector<std::string>{"&1 " + b, "&2 " + a}));
  EXPECT_FALSE(f.HandleMenuCommand(269));
  f.Morphing().AppendTriangle({0, 1, 2});
  FDialogs.QueueSave(TSaveAnswer::Cancel);
  EXPECT_TRUE(f.HandleMenuCommand(271));
  EXPECT_EQ(f.Morphing().FileName(), b) << "cancelled: nothing replaced";
  FDialogs.QueueSave(TSaveAnswer::No);
  // Picking the entry in the menu runs the same command.
  for (QAction* act : f.MenuFile->actions())
    if (act->property("qvCommand").toInt() == 271) act->trigger();
  EXPECT_EQ(f.Morphing().FileName(), a);
  EXPECT_EQ(HistoryEntries(f), (std::vector<std::string>{"&1 " + a, "&2 " + b}));
  EXPECT_EQ(GetUserSettings()->readString("FileHist", "F2", ""), a) << "stored, oldest first";
}

TEST_F(MainWindowTest, SequenceCommandsAreHiddenAndSaveFollowsTheModifiedFlag) {
  TForm1& f = Form();
  for (QAction* a : {f.ActionSeqNew, f.ActionSeqOpen, f.ActionSeqSave, f.ActionSeqSaveAs})
    EXPECT_FALSE(a->isVisible());
  f.Morphing().SetModified(false);
  f.ApplicationIdle();
  EXPECT_FALSE(f.ActionFileSave->isEnabled());
  f.Morphing().SetModified(true);
  f.ApplicationIdle();
  EXPECT_TRUE(f.ActionFileSave->isEnabled()) << "Speichern while the morphing is modified";
}

TEST_F(MainWindowTest, ProjectWithoutZoomOpensAtTheFitZoom) {
  const std::string project = CopyExample(FDir);
  QFile file(QString::fromStdString(project));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray text = file.readAll().replace("Zoom=1000\n", "").replace("Zoom=1000\r\n", "");
  file.close();
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text);
  file.close();
  TForm1& f = ShownForm();
  f.OpenProject(project);
  EXPECT_EQ(f.Zoom(), f.GetFitZoom());
  EXPECT_GT(f.PaintBoxSrc1->width(), 0);
}

}  // namespace
}  // namespace qv
