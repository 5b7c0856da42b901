// Saving the morphing under a new name, with the optional copying of its pictures.
#include <QFileInfo>
#include <filesystem>
#include <functional>

#include "Dialogs.h"
#include "FileFolders.h"
#include "Morph.h"
#include "MorphForm.h"
#include "QtFileMenu.h"
#include "QtStrings.h"
#include "StorageAccess.h"

namespace qv {

namespace {

bool SameFolder(const std::string& a, const std::string& b) {
  return QString::compare(ToQ(a), ToQ(b), Qt::CaseInsensitive) == 0;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The proposed name of a project that has none: Morph.qvp, else the first free MorphNN.qvp.
std::string ProposedProjectName() {
  const std::string dir = DefaultProjectDir();
  std::string name = dir + "Morph.qvp";
  for (int n = 0; QFileInfo::exists(ToQ(name)) && n < 100; ++n)
    name = dir + "Morph" + (n < 10 ? "0" : "") + std::to_string(n) + ".qvp";
  return name;
}

// One picture taken into the folder of the project; false when the user cancelled.
struct TPictureCopy {
  std::string Name;                                // the picture's present file name
  std::function<void(const std::string&)> CopyTo;  // copies into a folder, renames on success
  std::function<void(const std::string&)> Rename;  // uses another file without copying
};

bool CopyPictureInto(const TPictureCopy& picture, const std::string& folder) {
  if (picture.Name.empty()) return true;  // nothing assigned, nothing to take along
  const std::string target = folder + FileNameOf(picture.Name);
  if (QFileInfo::exists(ToQ(target))) {
    switch (Dialogs().AskSave("Die Datei\r" + target + "\rexistiert bereits.\r\r" +
                              "Soll sie überschrieben werden?")) {
      case TSaveAnswer::Cancel:
        return false;
      case TSaveAnswer::Yes:
        break;
      case TSaveAnswer::No:
        switch (Dialogs().AskSave("Soll die im Zielordner existierende Datei verwendet werden?")) {
          case TSaveAnswer::Cancel:
            return false;
          case TSaveAnswer::Yes:
            picture.Rename(target);
            return true;
          case TSaveAnswer::No:
            return true;
        }
    }
  }
  picture.CopyTo(folder);
  return true;
}

}  // namespace

bool TForm1::SaveProjectAs() {
  FSaveDialog.Kind = TFileDialogKind::Save;
  FSaveDialog.Title = "Quorvel-Projekt speichern";
  FSaveDialog.DefaultExt = ".qvp";
  FSaveDialog.Filter = "Quorvel-Projekte *.qvp|*.qvp";
  FSaveDialog.FilterIndex = 1;
  FSaveDialog.OverwritePrompt = true;
  FSaveDialog.InitialDir.clear();
  FSaveDialog.FileName =
      FMorphing->FileName().empty() ? ProposedProjectName() : FMorphing->FileName();
  if (!Dialogs().ExecuteFileDialog(FSaveDialog)) return false;
  const std::string fileName = FSaveDialog.FileName;
  const std::string folder = FolderOf(fileName);
  if (!SameFolder(folder, FolderOf(FMorphing->FileName()))) {
    const TSaveAnswer a = Dialogs().AskSave("Sollen auch die Ausgangsbilder in den Ordner\r" +
                                            folder + "\r" + "kopiert werden?");
    if (a == TSaveAnswer::Cancel) return false;
    if (a == TSaveAnswer::Yes && !CopyPicturesInto(folder)) return false;
  }
  StoreFileFolder("ProjDir", fileName);
  FMorphing->SaveToFile(fileName);
  UpdateCaption();
  FFileHistory->MenuAppendFile(fileName, true);
  return true;
}

bool TForm1::CopyPicturesInto(const std::string& folder) {
  for (TMorphSource* s : {&FMorphing->Source1(), &FMorphing->Source2()}) {
    TPictureCopy copy{s->SourceImageName(), [s](const std::string& f) { s->CopySourcePicture(f); },
                      [s](const std::string& t) { s->ChangeSourceImageName(t); }};
    if (!CopyPictureInto(copy, folder)) return false;
  }
  TBackGround& bg = FMorphing->BackGround();
  if (bg.BgType() != bg_Pict) return true;
  TPictureCopy copy{bg.BGPictureName(),
                    [&bg](const std::string& f) {
                      const std::string target = f + FileNameOf(bg.BGPictureName());
                      std::error_code ec;
                      std::filesystem::copy_file(bg.BGPictureName(), target,
                                                 std::filesystem::copy_options::overwrite_existing,
                                                 ec);
                      if (!ec) bg.ChangeSourceImageName(target);  // a failed copy is not reported
                    },
                    [&bg](const std::string& t) { bg.ChangeSourceImageName(t); }};
  return CopyPictureInto(copy, folder);
}

}  // namespace qv
