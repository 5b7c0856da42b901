// The page "MultiMorph": opening a sequence, adding, removing and choosing members, the
// alignment arithmetic and the x box, the sequence file commands, rendering from the page.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <fstream>

#include "CommandTestTools.h"
#include "EditorFixture.h"
#include "FormOpt.h"
#include "HistoryComboBox.h"
#include "MultiMorph.h"
#include "SequencePage.h"
#include "StorageAccess.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

using Kind = TScriptedDialogs::TKind;

class SequencePageTest : public EditorTest {
 protected:
  std::string Path(const std::string& name) const { return FDir.filePath(ToQ(name)).toStdString(); }
  static QString ToQ(const std::string& s) { return QString::fromStdString(s); }

  // The example project as name (pictures beside it), with its own background switched on.
  std::string Project(const std::string& name) {
    for (const char* f : {"anfang.bmp", "ende.bmp"})
      QFile::copy(ToQ(ExampleFile(f)), FDir.filePath(f));
    TMorphing m;
    m.LoadFromFile(ExampleFile("example.qvp"));
    m.Source1().ChangeSourceImageName(Path("anfang.bmp"));
    m.Source2().ChangeSourceImageName(Path("ende.bmp"));
    m.SetwithBG(true);
    m.SaveToFile(Path(name));
    return Path(name);
  }
  std::string Sequence(const std::vector<std::string>& members) {
    std::string text = "[$Project]\r\nType=ZuntMorphSeq\r\nBGWidth=1920\r\nBGHeight=1080\r\n";
    for (size_t i = 0; i < members.size(); ++i)
      text += "[0" + std::to_string(i) + "]\r\nMorph=" + members[i] + "\r\nTop=77\r\n";
    std::ofstream(Path("folge.msq"), std::ios::binary) << text;
    return Path("folge.msq");
  }
  TSequencePage& Page() { return Form().SequencePage(); }
  // The centre of list entry row, in viewport pixels.
  QPoint EntryPos(int row) {
    QListWidget* list = Page().ListBoxSequences;
    return list->visualItemRect(list->item(row)).center();
  }
};

TEST_F(SequencePageTest, OpeningShowsTheMembersAndTheFirstOne) {
  Project("eins.qvp");
  Project("zwei.qvp");
  TForm1& f = ShownForm();
  f.OpenSequence(Sequence({"eins.qvp", "zwei.qvp", "fehlt.qvp"}));
  EXPECT_EQ(f.PageControl1->currentWidget(), f.TabSheetMorphSeq);
  EXPECT_EQ(f.windowTitle(), "Quorvel - MorphSequence: folge.msq");
  QListWidget* list = Page().ListBoxSequences;
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(0)->text(), "eins");
  EXPECT_EQ(list->item(2)->text(), "fehlt");
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(Page().SelectedSeqMorph(), &f.MultiMorph().Morphs(0));
  EXPECT_FALSE(Page().ImageSeqMorph1->pixmap().isNull());
  EXPECT_LE(Page().ImageSeqMorph1->pixmap().width(), 120);
  EXPECT_EQ(Page().HistoryComboBoxMorphName->Text(), Path("eins.qvp"));
  EXPECT_TRUE(f.ActionSeqSave->isVisible());
  EXPECT_TRUE(Page().SpeedButtonSeqSave->isVisibleTo(&Page()));

  // A click on the member whose project is missing: its pictures are cleared.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, EntryPos(2));
  EXPECT_EQ(list->currentRow(), 2);
  EXPECT_TRUE(Page().ImageSeqMorph1->pixmap().isNull());
  EXPECT_EQ(Page().HistoryComboBoxMorphName->Text(), Path("fehlt.qvp"));
}

TEST_F(SequencePageTest, AFileThatIsNoSequenceGivesAnEmptyPage) {
  TForm1& f = ShownForm();
  f.OpenSequence(Project("eins.qvp"));
  EXPECT_EQ(Page().ListBoxSequences->count(), 0);
  EXPECT_EQ(Page().SelectedSeqMorph(), nullptr);
  EXPECT_TRUE(Page().ImageSeqMorph1->pixmap().isNull());
  EXPECT_TRUE(Page().ImageSeqMorph9->pixmap().isNull());
  EXPECT_EQ(FDialogs.Texts(Kind::Information),
            (std::vector<std::string>{Path("eins.qvp") + "\rist keine Morph-Sequenz-Datei"}));
  EXPECT_TRUE(FDialogs.Texts(Kind::Error).empty());
}

TEST_F(SequencePageTest, AddingAndRemovingMembers) {
  Project("eins.qvp");
  TForm1& f = ShownForm();
  f.OpenSequence(Sequence({"eins.qvp", "eins.qvp", "eins.qvp"}));
  TSequencePage& p = Page();
  p.DelMorphingAt(EntryPos(2) + QPoint(0, 200));  // below the last entry: nothing
  EXPECT_EQ(f.MultiMorph().Count(), 3);
  p.DelMorphingAt(EntryPos(0));
  EXPECT_EQ(f.MultiMorph().Count(), 2);
  EXPECT_EQ(p.ListBoxSequences->count(), 2);
  EXPECT_EQ(p.SelectedSeqMorph(), nullptr) << "the first was removed: none selected";
  p.ListBoxSequences->setCurrentRow(1);
  p.DelMorphingAt(EntryPos(1));
  EXPECT_EQ(p.ListBoxSequences->currentRow(), 0) << "the entry before it";

  p.AddMorphingClick();
  ASSERT_EQ(p.ListBoxSequences->count(), 2);
  EXPECT_EQ(p.ListBoxSequences->currentRow(), 1);
  EXPECT_EQ(p.ListBoxSequences->item(1)->text(), "?");
  EXPECT_FALSE(f.MultiMorph().Modified());

  // Choosing its project through the open button loads it without its own background.
  FDialogs.QueueFile(Path("eins.qvp"));
  p.OpenMorphClick();
  TMorphing& m = f.MultiMorph().Morphs(1);
  EXPECT_EQ(m.FileName(), Path("eins.qvp"));
  EXPECT_FALSE(m.withBG());
  EXPECT_EQ(p.ListBoxSequences->item(1)->text(), "eins");
  EXPECT_FALSE(p.ImageSeqMorph9->pixmap().isNull());
  EXPECT_EQ(FDialogs.FileDialogs().back().Title, "Quorvel-Projekt wählen");
  EXPECT_EQ(FDialogs.FileDialogs().back().Filter, "Quorvel-Projekte *.qvp|*.qvp");
  EXPECT_EQ(p.HistoryComboBoxMorphName->HistoryStrings().front(), Path("eins.qvp"));

  p.SpinEditSubSeqNr->setValue(7);
  EXPECT_EQ(m.SubSeq(), 7);
}

TEST_F(SequencePageTest, AlignmentAndTheXBox) {
  TForm1& f = ShownForm();
  f.OpenSequence(Sequence({}));
  TSequencePage& p = Page();
  p.AddMorphingClick();
  TMorphing& m = f.MultiMorph().Morphs(0);
  m.NewProject("", 800, 600);
  m.SetOffset({33, 77});
  p.ShowSeqMorph();
  EXPECT_FALSE(p.ComboBoxAlign->isEditable());
  EXPECT_EQ(p.ComboBoxAlign->count(), 4);

  struct Case {
    int Row;
    int32_t X;
    bool XBoxEnabled;
  } cases[] = {{ha_right, 1120, false}, {ha_center, 560, false}, {ha_left, 0, false}};
  for (const Case& c : cases) {
    p.ComboBoxAlign->setCurrentIndex(c.Row);
    EXPECT_EQ(m.HorzAlign(), c.Row);
    EXPECT_EQ(m.Offset(), (TPoint{c.X, 77})) << c.Row;
    EXPECT_EQ(p.LabeledEditXPosition->isEnabled(), c.XBoxEnabled);
  }
  EXPECT_EQ(p.LabeledEditXPosition->text(), "33") << "the box keeps its text";
  // The given x offset takes the number the box shows.
  p.ComboBoxAlign->setCurrentIndex(ha_none);
  EXPECT_TRUE(p.LabeledEditXPosition->isEnabled());
  EXPECT_EQ(m.Offset(), (TPoint{33, 77}));
  p.LabeledEditXPosition->setText("250");
  EXPECT_EQ(m.Offset(), (TPoint{250, 77}));
  p.LabeledEditXPosition->setText("25a");
  EXPECT_EQ(m.Offset(), (TPoint{250, 77}));
}

TEST_F(SequencePageTest, SaveAsProposesTheFirstFreeName) {
  TForm1& f = ShownForm();
  WriteSettingString("File", "ProjDir", FDir.path().toStdString() + "/");
  for (const char* n : {"SeqMorph.msq", "SeqMorph00.msq"}) QFile(FDir.filePath(n)).open(QIODevice::WriteOnly);
  FDialogs.QueueFile("");
  EXPECT_FALSE(f.SaveSequenceAs());
  const TFileDialog& dlg = FDialogs.FileDialogs().back();
  EXPECT_EQ(dlg.FileName, Path("SeqMorph01.msq"));
  EXPECT_EQ(dlg.Title, "Morphing Sequenz speichern");
  EXPECT_EQ(dlg.Filter, "Morphing Sequenzen *.msq|*.msq");
  EXPECT_TRUE(dlg.OverwritePrompt);

  Project("eins.qvp");
  f.MultiMorph().AddMorphing(std::make_unique<TMorphing>()).LoadFromFile(Path("eins.qvp"));
  FDialogs.QueueFile(Path("Neu/reise.msq"));
  QDir(FDir.path()).mkdir("Neu");
  EXPECT_TRUE(f.SaveSequenceAs());
  EXPECT_EQ(f.MultiMorph().FileName(), Path("Neu/reise.msq"));
  EXPECT_EQ(ReadSettingString("File", "ProjDir", ""), Path("Neu/"));
  TMultiMorph back;
  back.LoadFromFile(Path("Neu/reise.msq"));
  EXPECT_EQ(back.Count(), 1);
}

TEST_F(SequencePageTest, ClosingAsksForTheModifiedSequence) {
  TForm1& f = ShownForm();
  f.Morphing().SetModified(false);
  f.MultiMorph().SetFramesPerSecond(30);  // as the settings would
  FDialogs.QueueSave(TSaveAnswer::Yes);
  FDialogs.QueueFile("");  // the save-as dialog, cancelled
  EXPECT_FALSE(f.close());
  EXPECT_EQ(FDialogs.Texts(Kind::SaveQuestion).back(),
            "Das aktuelle Multimorph wurde geändert,\rist aber noch nicht gespeichert.\r\r"
            "Soll es jetzt gespeichert werden?");
  FDialogs.QueueSave(TSaveAnswer::No);
  EXPECT_TRUE(f.close());
}

TEST_F(SequencePageTest, SequenceCommandsAskBeforeOpening) {
  TForm1& f = ShownForm();
  f.Morphing().SetModified(true);
  FDialogs.QueueSave(TSaveAnswer::Cancel);
  f.ActionSeqOpen->trigger();
  EXPECT_TRUE(FDialogs.FileDialogs().empty());
  FDialogs.QueueSave(TSaveAnswer::No);
  FDialogs.QueueFile(Sequence({}));
  f.ActionSeqOpen->trigger();
  EXPECT_EQ(FDialogs.FileDialogs().back().Title, "Morphingsequenz öffnen");
  EXPECT_EQ(FDialogs.FileDialogs().back().Filter, "*.msq|*.msq");
  EXPECT_EQ(f.MultiMorph().FileName(), Path("folge.msq"));
  EXPECT_EQ(f.PageControl1->currentWidget(), f.TabSheetMorphSeq);
}

TEST_F(SequencePageTest, RenderNowWritesTheSequenceVideo) {
  Project("eins.qvp");
  TForm1& f = ShownForm();
  f.OpenSequence(Sequence({"eins.qvp"}));
  f.MultiMorph().BackGround().SetWidth(400);
  f.MultiMorph().BackGround().SetHeight(300);
  TMorphing& m = f.MultiMorph().Morphs(0);
  m.SetFramesMorph(4);
  FDialogs.QueueFile(Path("folge.avi"));
  Page().BitBtnRenderNow->click();
  EXPECT_EQ(FDialogs.FileDialogs().back().Title, "AVI-Datei speichern als");
  EXPECT_EQ(FDialogs.FileDialogs().back().FileName, "folge.avi");
  const test::TProbe probe = test::Probe(Path("folge.avi"));
  ASSERT_TRUE(probe.Ok);
  EXPECT_EQ(probe.Width, 400);
  EXPECT_EQ(probe.Height, 296);
  EXPECT_EQ(probe.Packets, 1 + 1 + 4 + 1 + 1);
  EXPECT_TRUE(m.withBG()) << "its own background switch is given back";
  EXPECT_TRUE(FDialogs.Texts(Kind::Error).empty());
}

TEST_F(SequencePageTest, PropertiesEditTheMemberWithoutItsSizeAndVideoPage) {
  Project("eins.qvp");
  TForm1& f = ShownForm();
  f.OpenSequence(Sequence({"eins.qvp"}));
  TMorphing& m = f.MultiMorph().Morphs(0);
  const int32_t w = m.Width(), h = m.Height();
  f.MultiMorph().SetModified(false);
  bool sizeShown = true, aviShown = true;
  OnNextModal([&](QWidget* w) {
    auto* dlg = static_cast<TFormSettings*>(w);
    sizeShown = dlg->PanelSize->isVisible();
    aviShown = dlg->PageVisible(TFormSettings::pgAVI);
    dlg->reject();
  });
  Page().BitBtnMorphProps->click();
  EXPECT_FALSE(sizeShown);
  EXPECT_FALSE(aviShown);
  EXPECT_FALSE(f.MultiMorph().Modified()) << "Cancel changes nothing";

  OnNextModal([&](QWidget* w) {
    auto* dlg = static_cast<TFormSettings*>(w);
    dlg->SetFramesMorph(12);
    dlg->accept();
  });
  Page().BitBtnMorphProps->click();
  EXPECT_EQ(m.FramesMorph(), 12);
  EXPECT_EQ(m.Width(), w);
  EXPECT_EQ(m.Height(), h);
  EXPECT_TRUE(f.MultiMorph().Modified());

  int page = -1;
  bool aviAgain = false;
  OnNextModal([&](QWidget* w) {
    auto* dlg = static_cast<TFormSettings*>(w);
    page = dlg->ActivePage();
    aviAgain = dlg->PageVisible(TFormSettings::pgAVI);
    dlg->reject();
  });
  f.ActionSeqSettings->trigger();
  EXPECT_EQ(page, TFormSettings::pgBackground) << "the sequence's own settings";
  EXPECT_TRUE(aviAgain) << "the video page is back after the member's dialog";
}

}  // namespace
}  // namespace qv
