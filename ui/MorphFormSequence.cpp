// The main window's sequence: the page "MultiMorph", the four sequence file commands, opening
// a sequence, its save question and save-as dialog, and rendering the sequence video with a
// progress window whose button (or Escape) stops it.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "FileFolders.h"
#include "FileHst.h"
#include "FormOpt.h"
#include "Guarded.h"
#include "Morph.h"
#include "MorphForm.h"
#include "MultiMorph.h"
#include "QtStrings.h"
#include "RenderMultiMorph.h"
#include "SequencePage.h"
#include "StorageAccess.h"

namespace qv {

namespace {

// The host of a sequence video in the editor: a progress window over the main window, whose
// cancel button and Escape key stop the run, as the window's own stop request does.
class TSequenceRenderHost : public TRenderHost {
 public:
  explicit TSequenceRenderHost(TForm1& form)
      : FForm(form),
        FProgress(QStringLiteral("Die Sequenz wird gerendert ..."), QStringLiteral("Abbrechen"), 0,
                  0, &form) {
    FProgress.setObjectName(QStringLiteral("ProgressSequence"));
    FProgress.setWindowTitle(form.windowTitle());
    FProgress.setWindowModality(Qt::WindowModal);
    FProgress.setMinimumDuration(0);
    FProgress.setAutoReset(false);
    FProgress.setAutoClose(false);
  }
  void SetProgressMax(int32_t value) override {
    TRenderHost::SetProgressMax(value);
    FProgress.setMaximum(std::max(value, 1));
  }
  void SetProgressPosition(int32_t value) override {
    TRenderHost::SetProgressPosition(value);
    FProgress.setValue(std::min(value, FProgress.maximum()));
  }
  void ProcessMessages() override {
    QApplication::processEvents();
    if (FProgress.wasCanceled() || FForm.FStopped) FStopped = true;
  }
  QProgressDialog& Progress() { return FProgress; }

 private:
  TForm1& FForm;
  QProgressDialog FProgress;
};

// "SeqMorph.msq" in folder, or the first of SeqMorph00.msq, SeqMorph01.msq, ... not there.
std::string FreeSequenceName(const std::string& folder) {
  std::string name = folder + "SeqMorph.msq";
  for (int i = 0; QFileInfo::exists(ToQ(name)) && i < 100; ++i)
    name = folder + "SeqMorph" + (i < 10 ? "0" : "") + std::to_string(i) + ".msq";
  return name;
}

}  // namespace

void TForm1::CreateSequencePage() {
  FMultiMorph = std::make_unique<TMultiMorph>();
  ActionSeqSettings = NewAction("ActionSeqSettings", "Multimorph-Einstellungen", "settings",
                                "Multimorph-Einstellungen");
  auto* layout = new QVBoxLayout(TabSheetMorphSeq);
  layout->setContentsMargins(0, 0, 0, 0);
  FSequencePage = new TSequencePage(*this, *FMultiMorph);
  layout->addWidget(FSequencePage);
  FSequencePage->SpeedButtonSeqSave->setDefaultAction(ActionSeqSave);
  FSequencePage->SpeedButtonSeqSettings->setDefaultAction(ActionSeqSettings);
  // The save button is hidden with its action.
  connect(ActionSeqSave, &QAction::changed, FSequencePage->SpeedButtonSeqSave,
          [this] { FSequencePage->SpeedButtonSeqSave->setVisible(ActionSeqSave->isVisible()); });

  auto on = [this](QAction* a, std::function<void()> f) {
    connect(a, &QAction::triggered, this, [f = std::move(f)] { Guarded(f); });
  };
  on(ActionSeqNew, [this] {
    if (QuerySaveBoth()) ShowSequencePage();
  });
  on(ActionSeqOpen, [this] { SequenceOpen(); });
  on(ActionSeqSave, [this] {
    if (FMultiMorph->FileName().empty())
      SaveSequenceAs();
    else
      FMultiMorph->SaveToFile(FMultiMorph->FileName());
  });
  on(ActionSeqSaveAs, [this] { SaveSequenceAs(); });
  on(ActionSeqSettings, [this] { EditSettings(*FMultiMorph, TFormSettings::pgBackground); });
  connect(FSequencePage->BitBtnMorphProps, &QPushButton::clicked, this,
          [this] { Guarded([this] { SeqMorphPropsClick(); }); });
}

void TForm1::SeqMorphPropsClick() {
  TMorphing* m = FSequencePage->SelectedSeqMorph();
  if (!m) return;
  TFormSettings& dlg = *FFormSettings;
  dlg.ActivateSettings(*m);
  dlg.SetActivePage(TFormSettings::pgMorphing);
  // Within a sequence the member keeps its size and background and has no video of its own.
  dlg.PanelSize->hide();
  dlg.SetPageVisible(TFormSettings::pgAVI, false);
  const auto restore = [&dlg] {
    dlg.PanelSize->show();
    dlg.SetPageVisible(TFormSettings::pgAVI, true);
  };
  bool accepted = false;
  try {
    accepted = dlg.exec() == QDialog::Accepted;
  } catch (...) {
    restore();
    throw;
  }
  restore();
  if (!accepted) return;
  dlg.ObtainSettings(*m);
  if (m->Modified()) FMultiMorph->SetModified(true);
  FSequencePage->ShowSeqMorph();
}

TMultiMorph& TForm1::MultiMorph() { return *FMultiMorph; }

TSequencePage& TForm1::SequencePage() { return *FSequencePage; }

void TForm1::OpenSequence(const std::string& fileName) {
  FMultiMorph->LoadFromFile(fileName);
  FFileHistory->MenuAppendFile(fileName, true);
  ShowSequencePage();
  FSequencePage->RefreshSeqList();
  FSequencePage->SelectRow(0);
  FSequencePage->ShowSeqMorph();
}

void TForm1::ShowSequencePage() {
  PageControl1->setCurrentWidget(TabSheetMorphSeq);
  // Once the page is there its file commands are, too: they would be unreachable otherwise.
  for (QAction* a : {ActionSeqNew, ActionSeqOpen, ActionSeqSave, ActionSeqSaveAs})
    a->setVisible(true);
  UpdateCaption();
}

void TForm1::SequenceOpen() {
  if (!QuerySaveBoth()) return;
  FOpenDialog.Kind = TFileDialogKind::Open;
  FOpenDialog.Title = "Morphingsequenz öffnen";
  FOpenDialog.Filter = "*.msq|*.msq";
  FOpenDialog.FilterIndex = 1;
  FOpenDialog.InitialDir = DefaultProjectDir();
  if (!Dialogs().ExecuteFileDialog(FOpenDialog)) return;
  OpenSequence(FOpenDialog.FileName);
}

bool TForm1::SaveSequenceAs() {
  FSaveDialog.Kind = TFileDialogKind::Save;
  FSaveDialog.Title = "Morphing Sequenz speichern";
  FSaveDialog.DefaultExt = "msq";
  FSaveDialog.Filter = "Morphing Sequenzen *.msq|*.msq";
  FSaveDialog.FilterIndex = 1;
  FSaveDialog.OverwritePrompt = true;
  FSaveDialog.RefuseReadOnly = true;
  FSaveDialog.FileName = FMultiMorph->FileName().empty() ? FreeSequenceName(DefaultProjectDir())
                                                          : FMultiMorph->FileName();
  FSaveDialog.InitialDir = FolderOf(FSaveDialog.FileName);
  if (!Dialogs().ExecuteFileDialog(FSaveDialog)) return false;
  StoreFileFolder("ProjDir", FSaveDialog.FileName);
  FMultiMorph->SaveToFile(FSaveDialog.FileName);
  FFileHistory->MenuAppendFile(FSaveDialog.FileName, true);
  UpdateCaption();
  return true;
}

bool TForm1::QuerySaveBoth() {
  if (FMorphing->Modified()) {
    const TSaveAnswer a = Dialogs().AskSave(
        "Der momentane Bearbeitungszustand des Morphings ist noch nicht gespeichert.\r"
        "Jetzt speichern?");
    if (a == TSaveAnswer::Cancel) return false;
    // Without a name there is nothing to save under: the name is asked for.
    if (a == TSaveAnswer::Yes && FMorphing->FileName().empty() && !SaveProjectAs()) return false;
    if (a == TSaveAnswer::Yes && !FMorphing->FileName().empty()) FMorphing->Save();
  }
  if (FMultiMorph->Modified()) {
    const TSaveAnswer a = Dialogs().AskSave(
        "Der momentane Bearbeitungszustand der Morphsequenz ist noch nicht gespeichert.\r"
        "Jetzt speichern?");
    if (a == TSaveAnswer::Cancel) return false;
    if (a == TSaveAnswer::Yes && FMultiMorph->FileName().empty() && !SaveSequenceAs())
      return false;
    if (a == TSaveAnswer::Yes && !FMultiMorph->FileName().empty()) FMultiMorph->Save();
  }
  return true;
}

bool TForm1::RenderMultiMorphAVI(TMultiMorph& multiMorph) {
  FStopped = false;
  FSaveDialog.Kind = TFileDialogKind::Save;
  FSaveDialog.Title = "AVI-Datei speichern als";
  FSaveDialog.DefaultExt = "avi";
  FSaveDialog.Filter = "AVI-Dateien *.avi|*.avi";
  FSaveDialog.FilterIndex = 1;
  FSaveDialog.OverwritePrompt = true;
  FSaveDialog.InitialDir = DefaultAVIDir();
  FSaveDialog.FileName = multiMorph.OutFileName();
  if (!Dialogs().ExecuteFileDialog(FSaveDialog)) return false;
  StoreFileFolder("AVI", FSaveDialog.FileName);
  TSequenceRenderHost host(*this);
  FFileCreating = true;
  try {
    qv::RenderMultiMorphAVI(host, multiMorph, FSaveDialog.FileName);
  } catch (...) {
    FFileCreating = false;
    throw;
  }
  FFileCreating = false;
  return false;
}

}  // namespace qv
