#include "FrameExport.h"

#include "Dialogs.h"
#include "ExternalPrograms.h"
#include "FileFolders.h"
#include "FileUtil.h"
#include "Morph.h"
#include "PictureFile.h"

namespace qv {

void InitPictureSaveDialog(TFileDialog& dlg) {
  dlg.Kind = TFileDialogKind::PictureSave;
  dlg.Title = "Bild speichern unter";
  dlg.Filter =
      "Alle (*.bmp;*.jpg;*.jpeg)|*.bmp;*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp|"
      "JPEG-Grafikdatei (*.jpg)|*.jpg|JPEG-Grafikdatei (*.jpeg)|*.jpeg";
  dlg.FilterIndex = 1;
  dlg.DefaultExt = ".bmp";
  dlg.OverwritePrompt = false;  // the commands ask themselves, or replace without a question
}

void SaveIntermediateFrame(TFileDialog& dlg, const TBitmap& frame) {
  dlg.Kind = TFileDialogKind::PictureSave;
  dlg.InitialDir = ReadFileFolder("FrameDir");
  if (!Dialogs().ExecuteFileDialog(dlg)) return;
  const std::string file = dlg.FileName;
  if (FileExists(file) && !Dialogs().Confirm(file + "\rexistiert bereits\r\r" +
                                             "Wollen Sie diese Datei überschreiben?"))
    return;
  SaveFramePicture(file, frame);  // other extensions write nothing
  StoreFileFolder("FrameDir", file);
}

std::string SaveImageSection(TFileDialog& dlg, TMorphSource* source) {
  dlg.Kind = TFileDialogKind::PictureSave;
  dlg.Title = "Bild(ausschnitt) speichern";
  dlg.DefaultExt = ".bmp";
  dlg.Filter = "*.bmp|*.bmp";
  dlg.FilterIndex = 1;
  dlg.InitialDir = ReadFileFolder("PictSaveDir");
  if (!Dialogs().ExecuteFileDialog(dlg)) return {};
  StoreFileFolder("PictSaveDir", dlg.FileName);
  if (!source) return {};
  source->SaveImageToFile(dlg.FileName);
  return dlg.FileName;
}

void SaveImageSectionAndEdit(TFileDialog& dlg, TMorphSource* source) {
  const std::string file = SaveImageSection(dlg, source);
  if (!file.empty()) ShellOpen(file);
}

void EditPictureExternally(const TMorphSource* source) {
  if (source) ShellOpen(source->SourceImageName());
}

}  // namespace qv
