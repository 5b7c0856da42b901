// The project commands of the main window: a new morphing through the settings dialog, save as
// with and without copying the pictures, the proposed names, the aspect-ratio question, the
// picture choice, the export commands and the save question before handing the project out.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QToolButton>

#include "PictureFile.h"
#include "CommandTestTools.h"
#include "EditorFixture.h"
#include "FormOpt.h"
#include "HistoryComboBox.h"

namespace qv {
namespace {

using ProjectCommandsTest = EditorTest;
using Kind = TScriptedDialogs::TKind;

std::string ReadAll(const std::string& file) {
  QFile f(QString::fromStdString(file));
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

// The example project with its pictures in folder (with trailing "/").
std::string ExampleProjectIn(const std::string& folder) {
  std::filesystem::create_directories(folder);
  for (const char* f : {"anfang.bmp", "ende.bmp", "example.qvp"}) {
    std::filesystem::copy_file(ExampleFile(f), folder + f,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(folder + f, std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_write);
  }
  return folder + "example.qvp";
}

TEST_F(ProjectCommandsTest, NewAsksFirstAndTakesTheSizeChosenInTheDialog) {
  TForm1& f = ShownForm();
  TMorphing& m = PicturesMorphing(mm_Net, 400, 300);
  m.AddPoint(m.Source1(), {10, 10});
  ASSERT_TRUE(m.Modified());
  FDialogs.QueueSave(TSaveAnswer::Cancel);
  f.ActionFileNew->trigger();
  EXPECT_EQ(m.AngleCount(), 1) << "cancelled: nothing changes";
  EXPECT_EQ(m.Width(), 400);

  FDialogs.QueueSave(TSaveAnswer::No);
  int page = -1;
  OnNextModal([&](QWidget* w) {
    auto* dlg = static_cast<TFormSettings*>(w);
    page = dlg->ActivePage();
    dlg->ComboBoxFormat->setCurrentIndex(4);  // "HD 720p (1280 x 720)"
    dlg->ComboBoxFormatChange();
    dlg->accept();
  });
  f.ActionFileNew->trigger();
  EXPECT_EQ(page, TFormSettings::pgMorphing);
  EXPECT_TRUE(FDialogs.Texts(Kind::YesNo).empty()) << "no aspect question for a new morphing";
  EXPECT_EQ(m.Width(), 1280);
  EXPECT_EQ(m.Height(), 720);
  EXPECT_EQ(m.AngleCount(), 0);
  EXPECT_TRUE(m.FileName().empty());
  EXPECT_FALSE(m.Modified());
  EXPECT_EQ(m.MorphMode(), mm_ImgSel);
  EXPECT_TRUE(f.SpeedButtonBlend->isChecked());
  EXPECT_TRUE(f.AutoZoom());
  EXPECT_EQ(f.LabelPictSize->text(), "Zielgröße: 1280 x 720");
  EXPECT_EQ(f.windowTitle(), "Quorvel - Morphing: ");

  // Cancelling the dialog keeps the morphing.
  m.AddPoint(m.Source1(), {5, 5});
  FDialogs.QueueSave(TSaveAnswer::No);
  OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  f.ActionFileNew->trigger();
  EXPECT_EQ(m.AngleCount(), 1);
}

TEST_F(ProjectCommandsTest, SaveAsAsksToCopyThePicturesIntoAnotherFolder) {
  struct Case {
    const char* folder;                 // below the test folder; "A" is the project's own
    std::vector<TSaveAnswer> answers;   // copy question, then the questions per picture
    bool existingStart;                 // the folder holds another anfang.bmp already
    bool saved;
    const char* startFolder;            // where the start picture is referred to afterwards
    bool startCopied;                   // the folder's anfang.bmp is the project's picture
  } cases[] = {
      {"A", {}, false, true, "A", true},
      {"B", {TSaveAnswer::No}, false, true, "A", false},
      {"C", {TSaveAnswer::Yes}, false, true, "C", true},
      {"D", {TSaveAnswer::Yes, TSaveAnswer::No, TSaveAnswer::Yes}, true, true, "D", false},
      {"E", {TSaveAnswer::Yes, TSaveAnswer::No, TSaveAnswer::No}, true, true, "A", false},
      {"F", {TSaveAnswer::Yes, TSaveAnswer::Yes}, true, true, "F", true},
      {"G", {TSaveAnswer::Yes, TSaveAnswer::Cancel}, true, false, "A", false},
      {"H", {TSaveAnswer::Cancel}, false, false, "A", false},
  };
  const std::string base = FDir.path().toStdString() + "/";
  TForm1& f = ShownForm();
  const std::string original = ReadAll(ExampleFile("anfang.bmp"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    const std::string project = ExampleProjectIn(base + "A/");
    f.OpenProject(project);
    const std::string folder = base + c.folder + "/";
    std::filesystem::create_directories(folder);
    if (c.existingStart) {
      QFile other(QString::fromStdString(folder + "anfang.bmp"));
      ASSERT_TRUE(other.open(QIODevice::WriteOnly));
      other.write("not the picture");
    }
    FDialogs.ClearShown();
    for (TSaveAnswer a : c.answers) FDialogs.QueueSave(a);
    const std::string target = folder + "Neu.qvp";
    FDialogs.QueueFile(target);
    EXPECT_EQ(f.SaveProjectAs(), c.saved);
    EXPECT_EQ(FDialogs.Texts(Kind::SaveQuestion).size(), c.answers.size());
    if (!c.answers.empty()) {
      EXPECT_EQ(FDialogs.Texts(Kind::SaveQuestion).front(),
                "Sollen auch die Ausgangsbilder in den Ordner\r" + folder + "\rkopiert werden?");
    }
    if (c.existingStart && c.answers.size() > 1) {
      EXPECT_EQ(FDialogs.Texts(Kind::SaveQuestion)[1],
                "Die Datei\r" + folder + "anfang.bmp\rexistiert bereits.\r\r" +
                    "Soll sie überschrieben werden?");
    }
    EXPECT_EQ(std::filesystem::exists(target), c.saved);
    EXPECT_EQ(f.Morphing().Source1().SourceImageName(),
              base + c.startFolder + "/anfang.bmp");
    if (std::string(c.folder) != "A") {
      EXPECT_EQ(ReadAll(folder + "anfang.bmp") == original, c.startCopied);
    }
    if (c.saved) {
      EXPECT_EQ(f.Morphing().FileName(), target);
      EXPECT_EQ(f.windowTitle(), "Quorvel - Morphing: Neu.qvp");
      EXPECT_EQ(GetUserSettings()->readString("File", "ProjDir", ""), folder);
    }
  }
}

TEST_F(ProjectCommandsTest, ProposedNamesCountFromMorph00) {
  const std::string dir = FDir.path().toStdString() + "/";
  GetUserSettings()->writeString("File", "ProjDir", dir);
  TForm1& f = ShownForm();
  auto proposed = [&] {
    FDialogs.QueueFile("");
    EXPECT_FALSE(f.SaveProjectAs());
    return FDialogs.FileDialogs().back().FileName;
  };
  EXPECT_EQ(proposed(), dir + "Morph.qvp");
  const TFileDialog& dlg = FDialogs.FileDialogs().back();
  EXPECT_EQ(dlg.Title, "Quorvel-Projekt speichern");
  EXPECT_EQ(dlg.DefaultExt, ".qvp");
  EXPECT_TRUE(dlg.OverwritePrompt);
  for (const char* name : {"Morph.qvp", "Morph00.qvp"}) {
    QFile file(QString::fromStdString(dir + name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  EXPECT_EQ(proposed(), dir + "Morph01.qvp");
}

TEST_F(ProjectCommandsTest, AspectRatioQuestionOnlyWhenTheProportionsChangeAndPointsExist) {
  struct Case {
    bool points;
    int32_t w, h;
    bool asks, answer;
    int32_t expectW, expectH;
  } cases[] = {
      {true, 800, 600, false, false, 800, 600},   // d = 0
      {true, 800, 601, true, false, 400, 300},    // d = 400 > m = 300: "Nein" keeps the size
      {true, 800, 601, true, true, 800, 601},
      {false, 800, 601, false, false, 800, 601},  // no points, nothing to spoil
      {true, 401, 300, false, false, 401, 300},   // d = 300 is not above m = 300
  };
  for (const Case& c : cases) {
    TMorphing& m = PicturesMorphing(mm_ImgSel, 400, 300);  // no corner points
    TForm1& f = Form();
    ASSERT_EQ(m.AngleCount(), 0);
    if (c.points) m.AddPoint(m.Source1(), {10, 10});
    FDialogs.ClearShown();
    if (c.asks) FDialogs.QueueYesNo(c.answer);
    f.ChangeTargetSize(c.w, c.h);
    const std::vector<std::string> asked = FDialogs.Texts(Kind::YesNo);
    ASSERT_EQ(asked.size(), c.asks ? 1u : 0u) << c.w << " x " << c.h;
    if (c.asks) {
      EXPECT_EQ(asked[0],
                "Das Seitenverhältnis soll geändert werden.\rDabei werden bereits gesetzte "
                "Punkte und Dreiecke\rin unpassende Positionen verschoben.\r\rWollen Sie "
                "dennoch die Bildgröße des Morphings ändern?");
    }
    EXPECT_EQ(m.Width(), c.expectW);
    EXPECT_EQ(m.Height(), c.expectH);
    if (c.expectW != 400) {
      EXPECT_EQ(f.LabelPictSize->text().toStdString(),
                "Zielgröße: " + std::to_string(c.w) + " x " + std::to_string(c.h));
    }
  }
}

TEST_F(ProjectCommandsTest, SettingsCommandAndSizeLabelOpenTheirPages) {
  TForm1& f = ShownForm();
  TMorphing& m = PicturesMorphing(mm_Net, 400, 300);
  m.SetModified(false);
  int page = -1;
  OnNextModal([&](QWidget* w) {
    page = static_cast<TFormSettings*>(w)->ActivePage();
    static_cast<QDialog*>(w)->reject();
  });
  f.ActionSettings->trigger();
  EXPECT_EQ(page, TFormSettings::pgMorphing);
  EXPECT_FALSE(m.Modified()) << "Cancel leaves the morphing alone";

  m.SetwithBG(true);  // the page "Hintergrund" is offered
  m.SetModified(false);
  OnNextModal([&](QWidget* w) {
    auto* dlg = static_cast<TFormSettings*>(w);
    page = dlg->ActivePage();
    dlg->ComboBoxFPS->setCurrentText("30");
    dlg->ComboBoxFPSChange();
    dlg->accept();
  });
  QTest::mouseClick(f.LabelPictSize, Qt::LeftButton);
  EXPECT_EQ(page, TFormSettings::pgBackground);
  EXPECT_EQ(m.FramesPerSecond(), 30);
  EXPECT_TRUE(m.Modified());
  EXPECT_EQ(f.LabelPictSize->text(), "Zielgröße: 400 x 300");
}

TEST_F(ProjectCommandsTest, PicturesAreChosenForTheMenuEntryOrThePaneOfThePopupMenu) {
  TForm1& f = ShownForm();
  TMorphing& m = PicturesMorphing(mm_Net, 400, 300);
  FDialogs.QueueFile(ExampleFile("ende.bmp"));
  f.ActionSource1->trigger();
  const TFileDialog& dlg = FDialogs.FileDialogs().back();
  EXPECT_EQ(dlg.Title, "Bild auswählen");
  EXPECT_EQ(dlg.FilterIndex, 10);
  EXPECT_EQ(dlg.Kind, TFileDialogKind::PictureOpen);
  EXPECT_EQ(m.Source1().SourceImageName(), ExampleFile("ende.bmp"));
  EXPECT_EQ(GetUserSettings()->readString("File", "ImgDir", ""), ExampleFile(""));

  f.SetPopupSourceIndex(2);
  FDialogs.QueueFile(ExampleFile("anfang.bmp"));
  f.ActionPanePicture->trigger();
  EXPECT_EQ(FDialogs.FileDialogs().back().InitialDir, ExampleFile(""));
  EXPECT_EQ(m.Source2().SourceImageName(), ExampleFile("anfang.bmp"));

  FDialogs.QueueFile("");
  f.ActionSource2->trigger();
  EXPECT_EQ(m.Source2().SourceImageName(), ExampleFile("anfang.bmp")) << "cancelled";

  m.SetModified(false);
  f.ActionBackwards->trigger();
  EXPECT_EQ(m.Source1().SourceImageName(), ExampleFile("anfang.bmp"));
  EXPECT_EQ(m.Source2().SourceImageName(), ExampleFile("ende.bmp"));
  EXPECT_TRUE(m.Modified());
}

TEST_F(ProjectCommandsTest, FrameAndSectionExportThroughTheCommands) {
  TForm1& f = ShownForm();
  PicturesMorphing(mm_Net, 400, 300);
  const std::string dir = FDir.path().toStdString() + "/";
  FDialogs.QueueFile(dir + "frame.bmp");
  f.ActionFrameSave->trigger();
  EXPECT_EQ(GetUserSettings()->readString("File", "FrameDir", ""), dir);
  TBitmap frame;
  DecodePicture(dir + "frame.bmp", frame);
  EXPECT_EQ(frame.Width(), 400);
  EXPECT_EQ(frame.Height(), 300);
  FDialogs.QueueFile(dir + "frame.JPG");
  f.ActionFrameSave->trigger();
  EXPECT_EQ(ReadAll(dir + "frame.JPG").substr(0, 2), "\xFF\xD8");

  f.SetPopupSourceIndex(2);
  FDialogs.QueueFile(dir + "section.bmp");
  f.ActionPaneSaveRect->trigger();
  TBitmap section;
  DecodePicture(dir + "section.bmp", section);
  EXPECT_EQ(section.Width(), 400);
  EXPECT_EQ(GetUserSettings()->readString("File", "PictSaveDir", ""), dir);
  // The frame export's dialog keeps what the section export set.
  FDialogs.QueueFile("");
  f.ActionFrameSave->trigger();
  EXPECT_EQ(FDialogs.FileDialogs().back().Title, "Bild(ausschnitt) speichern");
  EXPECT_EQ(FDialogs.FileDialogs().back().Filter, "*.bmp|*.bmp");
}

TEST_F(ProjectCommandsTest, SaveQuestionBeforeHandingTheProjectOut) {
  TForm1& f = ShownForm();
  TMorphing& m = PicturesMorphing(mm_Net, 400, 300);
  m.AddPoint(m.Source1(), {10, 10});
  FDialogs.QueueSave(TSaveAnswer::Cancel);
  EXPECT_FALSE(f.QuerySaveBoth());
  EXPECT_EQ(FDialogs.Texts(Kind::SaveQuestion).back(),
            "Der momentane Bearbeitungszustand des Morphings ist noch nicht gespeichert.\r"
            "Jetzt speichern?");
  FDialogs.QueueSave(TSaveAnswer::No);
  EXPECT_TRUE(f.QuerySaveBoth());
  EXPECT_TRUE(m.Modified());
  // "Ja" without a name offers save as; cancelling that cancels.
  FDialogs.QueueSave(TSaveAnswer::Yes);
  FDialogs.QueueFile("");
  EXPECT_FALSE(f.QuerySaveBoth());
  const std::string file = FDir.path().toStdString() + "/Gesicht.qvp";
  FDialogs.QueueSave(TSaveAnswer::Yes);
  FDialogs.QueueFile(file);
  FDialogs.QueueSave(TSaveAnswer::No);  // no copies of the pictures
  EXPECT_TRUE(f.QuerySaveBoth());
  EXPECT_EQ(m.FileName(), file);
  EXPECT_FALSE(m.Modified());
  EXPECT_TRUE(std::filesystem::exists(file));
  FDialogs.ClearShown();
  EXPECT_TRUE(f.QuerySaveBoth());
  EXPECT_TRUE(FDialogs.Shown().empty()) << "saved: no question";
  // The text-editor command asks first; Cancel hands nothing out.
  m.SetModified(true);
  FDialogs.QueueSave(TSaveAnswer::Cancel);
  f.ActionTibo->trigger();
  EXPECT_EQ(FDialogs.Texts(Kind::SaveQuestion).size(), 1u);
}

}  // namespace
}  // namespace qv
