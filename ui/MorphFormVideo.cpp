// The main window's video commands: "Video erzeugen" with its auto-play, the button for the
// last video, and the conversion of an existing video.
#include <QFile>
#include <exception>

#include "ConvertAVI.h"
#include "Dialogs.h"
#include "ExternalPrograms.h"
#include "FileFolders.h"
#include "FileUtil.h"
#include "FormOpt.h"
#include "FormPlay.h"
#include "Morph.h"
#include "MorphForm.h"
#include "QtStrings.h"
#include "RenderMorph.h"
#include "StorageAccess.h"

namespace qv {

namespace {

constexpr const char* kAVIFilter = "AVI-Dateien *.avi|*.avi";

void PrepareSaveDialog(TFileDialog& dlg, const char* title, const char* filter) {
  dlg.Kind = TFileDialogKind::Save;
  dlg.Title = title;
  dlg.DefaultExt = ".avi";
  dlg.Filter = filter;
  dlg.FilterIndex = 1;
  dlg.OverwritePrompt = true;
  dlg.InitialDir = DefaultAVIDir();
}

}  // namespace

void TForm1::CreateMorphAVI() {
  if (FFileCreating || FPlaying) return;  // one frame loop at a time
  PrepareSaveDialog(FSaveDialog, "AVI-Datei speichern", "Quorvel-Projekte *.avi|*.avi");
  const std::string name = ExtractFileName(FMorphing->FileName());
  FSaveDialog.FileName = name.empty() ? std::string() : ChangeFileExt(name, ".AVI");
  if (!Dialogs().ExecuteFileDialog(FSaveDialog)) return;
  const std::string file = FSaveDialog.FileName;
  StoreFileFolder("AVI", file);
  try {
    if (!qv::RenderMorphAVI(*this, *FMorphing, file) || !FFormSettings->AutoPlay()) return;
    if (FFormSettings->GetAutoPlayIntern()) {
      FLastAVIUsed = file;
      WriteSettingString("File", "LastAVI", FLastAVIUsed);
      FFormPlayer->PlayFile(FLastAVIUsed);
    } else {
      ShellOpen(file);
    }
  } catch (const std::exception& e) {
    Dialogs().ShowInformation(e.what());
  }
}

void TForm1::SpeedButton2Click() {
  if (FFormSettings->GetAutoPlayIntern()) {
    try {
      FFormPlayer->PlayFile(FLastAVIUsed);
    } catch (...) {
      WriteSettingString("File", "LastAVI", FLastAVIUsed);
      throw;
    }
    WriteSettingString("File", "LastAVI", FLastAVIUsed);
  } else if (!FLastAVIUsed.empty()) {
    ShellOpen(FLastAVIUsed);
  }
}

void TForm1::SpeedButtonConvertClick() {
  if (FFileCreating || FPlaying) return;
  FOpenDialog.Kind = TFileDialogKind::Open;
  FOpenDialog.Title = "AVI-Datei konvertieren";
  FOpenDialog.DefaultExt = ".avi";
  FOpenDialog.Filter = kAVIFilter;
  FOpenDialog.FilterIndex = 1;
  FOpenDialog.InitialDir = DefaultAVISrcDir();
  FOpenDialog.FileName =
      FMorphing->FileName().empty() ? std::string() : ChangeFileExt(FMorphing->FileName(), ".AVI");
  if (!Dialogs().ExecuteFileDialog(FOpenDialog)) return;
  const std::string source = FOpenDialog.FileName;
  StoreFileFolder("AVISrc", source);
  PrepareSaveDialog(FSaveDialog, "konvertierte AVI-Datei speichern als", kAVIFilter);
  FSaveDialog.FileName = ChangeFileExt(source, "_1.AVI");
  if (!Dialogs().ExecuteFileDialog(FSaveDialog)) return;
  const std::string target = FSaveDialog.FileName;
  StoreFileFolder("AVI", target);
  if (target == source) return;  // the source is read while the target is written
  if (FileExists(target)) QFile::remove(ToQ(target));
  FStopped = false;
  FFileCreating = true;
  struct TDone {
    TForm1* Form;
    ~TDone() {
      Form->FFileCreating = false;
      Form->FShownFrame = nullptr;  // the frames belonged to the conversion
    }
  } done{this};
  ConvertAVI(source, target, [this](const TBitmap& frame, int32_t) {
    ShowFrame(frame);
    ProcessMessages();
    return FStopped;
  });
}

}  // namespace qv
