// The main window's project commands beyond opening and saving: a new morphing, the settings
// dialog on the morphing, the target size and its aspect-ratio question, the choice of the two
// pictures, and the commands that hand the frame, a picture section or the project to the
// outside.
#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "Dialogs.h"
#include "ExternalPrograms.h"
#include "FileFolders.h"
#include "FormOpt.h"
#include "FormPlay.h"
#include "FrameExport.h"
#include "Guarded.h"
#include "Morph.h"
#include "MorphForm.h"
#include "PaintBox.h"
#include "StorageAccess.h"

namespace qv {

namespace {

// Runs a command when the left mouse button is pressed on the watched widget.
class TClickFilter : public QObject {
 public:
  TClickFilter(QObject* parent, std::function<void()> onClick)
      : QObject(parent), FOnClick(std::move(onClick)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      Guarded(FOnClick);
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> FOnClick;
};

constexpr const char* kPictureFilter =
    "Alle (*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|"
    "*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
    "Portable Network Graphics (*.png)|*.png|GIF-Bild (*.gif)|*.gif|"
    "JPEG-Grafikdatei (*.jpg)|*.jpg|JPEG-Grafikdatei (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|"
    "Symbole (*.ico)|*.ico|Erweiterte Metadateien (*.emf)|*.emf|Metadateien (*.wmf)|*.wmf|"
    "von Quorvel akzeptierte Bilder|*.gif;*.jpg;*.jpeg;*.bmp";

}  // namespace

void TForm1::CreateCommandWindows() {
  FFormSettings = std::make_unique<TFormSettings>(this);
  connect(FFormSettings.get(), &TFormSettings::SettingsActivated, this,
          &TForm1::PanelImagesResize);
  FFormPlayer = std::make_unique<TFormPlayer>();
  FFormPlayer->SetOpenDialog(&FOpenDialog);
  InitPictureSaveDialog(FPictureSaveDialog);
  FPictureOpenDialog.Kind = TFileDialogKind::PictureOpen;
  ConnectCommands();
}

void TForm1::ConnectCommands() {
  auto on = [this](QAction* a, std::function<void()> f) {
    connect(a, &QAction::triggered, this, [f = std::move(f)] { Guarded(f); });
  };
  on(ActionFileNew, [this] { FileNew(); });
  on(ActionSettings, [this] { EditSettings(*FMorphing, TFormSettings::pgMorphing); });
  on(ActionSource1, [this] { SelectSourcePicture(1); });
  on(ActionSource2, [this] { SelectSourcePicture(2); });
  on(ActionPanePicture, [this] { SelectSourcePicture(FPopupSourceIndex); });
  on(ActionFrameSave, [this] { Zwischenbildspeichern1Click(); });
  on(ActionPaneSaveRect, [this] { SaveImageSection(); });
  on(ActionPaneSaveRectEdit, [this] {
    const std::string file = SaveImageSection();
    if (!file.empty()) ShellOpen(file);
  });
  on(ActionPaneEdit, [this] { EditPictureExternally(&SourceOf(FPopupSourceIndex)); });
  on(ActionTibo, [this] { OpenProjectInTextEditor(); });
  on(ActionVideo, [this] { CreateMorphAVI(); });
  auto click = [this](QToolButton* b, void (TForm1::*f)()) {
    connect(b, &QToolButton::clicked, this, [this, f] { Guarded([&] { (this->*f)(); }); });
  };
  click(SpeedButtonLastAVI, &TForm1::SpeedButton2Click);
  click(SpeedButtonConvert, &TForm1::SpeedButtonConvertClick);
  LabelPictSize->installEventFilter(new TClickFilter(
      LabelPictSize, [this] { EditSettings(*FMorphing, TFormSettings::pgBackground); }));
}

// --- new morphing, settings, size -------------------------------------------------------------

void TForm1::FileNew() {
  if (!FMorphing->SaveIfModified()) return;
  DefaultProjectDir();  // creates the default folder when it is missing
  if (!EditSettings(*FMorphing, TFormSettings::pgMorphing)) return;
  SetEditMode(mm_ImgSel);
  SpeedButtonBlend->setChecked(true);
  FMorphing->NewProject("", FFormSettings->MWidth(), FFormSettings->MHeight());
  UpdateCaption();
  SetAutoZoom(true);
  RepaintTarget();
  ShowMorphPage();
}

bool TForm1::EditSettings(TMorph0& document, int pageIndex) {
  FFormSettings->ActivateSettings(document);
  FFormSettings->SetActivePage(pageIndex);
  if (FFormSettings->exec() != QDialog::Accepted) return false;
  FFormSettings->ObtainSettings(document);
  auto* morphing = dynamic_cast<TMorphing*>(&document);
  if (!morphing) return true;
  ChangeTargetSize(FFormSettings->MWidth(), FFormSettings->MHeight());
  if (morphing->Paintable()) {
    // The size may have changed: the triangle caches are built anew before the frame.
    morphing->MakeFramesInit();
    RenderMorphFrame(*morphing, TrackBar1->value(), TrackBar1->maximum(), oe_both, true);
    morphing->MakeFramesClose();
  }
  invalidateAll();
  return true;
}

void TForm1::ChangeTargetSize(int32_t w, int32_t h) {
  const int64_t W = FMorphing->Width(), H = FMorphing->Height();
  const int64_t m = std::min({int64_t(w), int64_t(h), H, W});
  const int64_t d = std::llabs(int64_t(w) * H - int64_t(h) * W);
  if (m < d && FMorphing->AngleCount() > 0 &&
      !Dialogs().AskYesNo("Das Seitenverhältnis soll geändert werden.\r"
                          "Dabei werden bereits gesetzte Punkte und Dreiecke\r"
                          "in unpassende Positionen verschoben.\r\r"
                          "Wollen Sie dennoch die Bildgröße des Morphings ändern?"))
    return;
  FMorphing->setTargetImageSize(w, h);
  ShowTargetSize(w, h);
}

void TForm1::SelectSourcePicture(int sourceIndex) {
  FPictureOpenDialog.Kind = TFileDialogKind::PictureOpen;
  FPictureOpenDialog.Filter = kPictureFilter;
  FPictureOpenDialog.FilterIndex = 10;
  FPictureOpenDialog.Title = "Bild auswählen";
  FPictureOpenDialog.InitialDir = ReadFileFolder("ImgDir");
  if (!Dialogs().ExecuteFileDialog(FPictureOpenDialog)) return;
  StoreFileFolder("ImgDir", FPictureOpenDialog.FileName);
  SourceOf(sourceIndex).SetSourceImageName(FPictureOpenDialog.FileName);
  invalidateAll();
}

// --- export and external editing --------------------------------------------------------------

void TForm1::Zwischenbildspeichern1Click() {
  SaveIntermediateFrame(FPictureSaveDialog, FMorphing->TargetBmp());
}

std::string TForm1::SaveImageSection() {
  return qv::SaveImageSection(FPictureSaveDialog, &SourceOf(FPopupSourceIndex));
}

void TForm1::OpenProjectInTextEditor() {
  if (QuerySaveBoth()) OpenInTextEditor(FMorphing->FileName());
}

}  // namespace qv
