#include "FormOpt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "FileUtil.h"
#include "HistoryComboBox.h"
#include "IniValues.h"
#include "Morph.h"
#include "UserSettings.h"

namespace qv {

const TSizePreset kSizePresets[kPresetCount] = {
    {"3:4-Porträt Full HD (810 x 1080)", 810, 1080},
    {"3:4-Porträt HD 720p (540 x 720)", 540, 720},
    {"3:4-Porträt DV (432 x 576)", 432, 576},
    {"Full HD (1920 x 1080)", 1920, 1080},
    {"HD 720p (1280 x 720)", 1280, 720},
    {"DV (768 x 576)", 768, 576},
    {"nutzerdefiniertes Format", 0, 0},
};

int SizeToFormatIndex(int32_t w, int32_t h) {
  for (int i = 0; i < kCustomFormatIndex; ++i)
    if (kSizePresets[i].Width == w && kSizePresets[i].Height == h) return i;
  return kCustomFormatIndex;
}

int32_t BoxNumber(const std::string& text) {
  return ScanInteger(text, 1).Value;
}

namespace {

constexpr const char* kOpt = "Opt";
// The colour of a frame rate the dialog does not take: dark red (204 as colour value).
const QColor kInvalidRateColor(204, 0, 0);

QString ToQ(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
QString Number(int32_t v) {
  return QString::number(v);
}
// The document's "\r\n" line breaks as a text field shows them.
QString FieldText(const std::string& s) {
  QString t = ToQ(s);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

bool ReadOpt(const char* key, bool def) {
  TUserSettings* s = CurrentUserSettings();
  return s ? s->readBool(kOpt, key, def) : def;
}
void WriteOpt(const char* key, bool value) {
  if (TUserSettings* s = CurrentUserSettings()) s->writeBool(kOpt, key, value);
}

// Seconds rounded up, as the duration box shows a transition counted in frames.
int32_t SecondsRoundedUp(int32_t frames, int32_t fps) {
  return (frames + fps - 1) / fps;
}

// "Breite:" and "Höhe:" with their boxes in two rows of grid, from row on.
void AddSizeRows(QGridLayout& grid, int row, const char* widthHist, const char* heightHist,
                 THistoryComboBox*& width, THistoryComboBox*& height) {
  width = new THistoryComboBox(nullptr, widthHist);
  height = new THistoryComboBox(nullptr, heightHist);
  grid.addWidget(new QLabel("Breite:"), row, 0);
  grid.addWidget(width, row, 1);
  grid.addWidget(new QLabel("Höhe:"), row + 1, 0);
  grid.addWidget(height, row + 1, 1);
}

constexpr const char* kEasingHint =
    "gleichmäßig beschleunigt/gebremst:\n"
    "Das Morphing beginnt langsam, wird dann schneller\n"
    "und zum Ende hin wieder langsamer.\n"
    "So schließt es ohne Ruck an vorangehende\n"
    "und folgende Standbilder an.";

}  // namespace

// --- colour field ----------------------------------------------------------------------------

TColorField::TColorField(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  setCursor(Qt::PointingHandCursor);
  setMinimumSize(60, 22);
  SetColor(clBlack);
}

void TColorField::SetColor(TColor c) {
  FColor = c;
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
  setPalette(p);
}

void TColorField::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && OnClick) OnClick();
  QFrame::mousePressEvent(e);
}

// --- creation --------------------------------------------------------------------------------

TFormSettings::TFormSettings(QWidget* parent) : QDialog(parent) {
  setObjectName("FormSettings");
  setWindowTitle("Einstellungen");
  setModal(true);
  PageControl1 = new QTabWidget(this);
  PageControl1->addTab(CreateBackgroundPage(), "Hintergrund");
  PageControl1->addTab(CreateMorphingPage(), "Morphing");
  PageControl1->addTab(CreateAVIPage(), "AVI");
  PageControl1->addTab(CreatePropertiesPage(), "Eigenschaften");

  auto* buttons = new QDialogButtonBox(this);
  ButtonOK = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ButtonCancel = buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole);
  ButtonOK->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border

  ConnectControls();
  FormCreate();
}

TFormSettings::~TFormSettings() = default;

QWidget* TFormSettings::CreateBackgroundPage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->addWidget(new QLabel("Format des umgebenden Hintergrunds:"), 0, 0, 1, 3);
  ComboBoxBGFormat = new QComboBox;
  grid->addWidget(ComboBoxBGFormat, 1, 0, 1, 3);
  AddSizeRows(*grid, 2, "FormSettings\\HistoryComboBoxBGWidth",
              "FormSettings\\HistoryComboBoxBGHeight", HistoryComboBoxBGWidth,
              HistoryComboBoxBGHeight);
  ComboBoxBgType = new QComboBox;
  ComboBoxBgType->addItems({"Hintergrundfarbe", "Hintergrundbild", "Hintergrundvideo", " "});
  grid->addWidget(ComboBoxBgType, 4, 0, 1, 3);
  ShapeBgColor = new TColorField;
  ShapeBgColor->setToolTip("Hier Klicken, um die Farbe zu ändern");
  grid->addWidget(ShapeBgColor, 5, 0, 1, 3);
  HistoryComboBoxBgFileName =
      new THistoryComboBox(nullptr, "FormSettings\\HistoryComboBoxBgFileName");
  HistoryComboBoxBgFileName->setMinimumWidth(260);
  grid->addWidget(HistoryComboBoxBgFileName, 6, 0, 1, 2);
  SpeedButtonBgFile = new QToolButton;
  SpeedButtonBgFile->setIcon(QIcon(":/icons/picture-open.png"));
  SpeedButtonBgFile->setText("...");
  grid->addWidget(SpeedButtonBgFile, 6, 2);
  grid->setRowStretch(7, 1);
  return page;
}

QWidget* TFormSettings::CreateMorphingPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);

  PanelSize = new QWidget;
  auto* size = new QGridLayout(PanelSize);
  size->setContentsMargins(0, 0, 0, 0);
  size->addWidget(new QLabel("Format:"), 0, 0);
  ComboBoxFormat = new QComboBox;
  for (const TSizePreset& p : kSizePresets) ComboBoxFormat->addItem(p.Text);
  size->addWidget(ComboBoxFormat, 0, 1, 1, 2);
  AddSizeRows(*size, 1, "FormSettings\\HistoryComboBoxWidth", "FormSettings\\HistoryComboBoxHeight",
              HistoryComboBoxWidth, HistoryComboBoxHeight);
  CheckBoxAspect = new QCheckBox("Seitenverhältnis erhalten");
  CheckBoxAspect->setChecked(true);
  CheckBoxAspect->setToolTip(
      "Soll bei Eingabe der Breite bzw. der Höhe der jeweils andere Wert proportional mit "
      "verändert werden?");
  size->addWidget(CheckBoxAspect, 1, 2);
  CheckBoxWithBG = new QCheckBox("mit umgebendem Hintergrund");
  size->addWidget(CheckBoxWithBG, 2, 2);
  layout->addWidget(PanelSize);

  auto* timing = new QGridLayout;
  timing->addWidget(new QLabel("Dauer des Morphings:"), 0, 0);
  HistoryComboBoxDuration = new THistoryComboBox(nullptr, "FormSettings\\HistoryComboBoxDuration");
  timing->addWidget(HistoryComboBoxDuration, 0, 1);
  ComboBoxUnit = new QComboBox;
  ComboBoxUnit->addItems({"Sekunden", "Frames"});
  timing->addWidget(ComboBoxUnit, 0, 2);
  timing->addWidget(new QLabel("zusätzliche Standbilder"), 1, 0, 1, 3);
  EditStillStart = new QLineEdit("0");
  LabelStillStart = new QLabel("Frames/Sekunden am Anfang");
  timing->addWidget(EditStillStart, 2, 1);
  timing->addWidget(LabelStillStart, 2, 2);
  EditStillEnd = new QLineEdit("0");
  LabelStillEnd = new QLabel("Frames/Sekunden am Ende");
  timing->addWidget(EditStillEnd, 3, 1);
  timing->addWidget(LabelStillEnd, 3, 2);
  layout->addLayout(timing);

  RadioGroupEasing = new QGroupBox("Verlauf: ");
  RadioGroupEasing->setToolTip(kEasingHint);
  auto* easing = new QVBoxLayout(RadioGroupEasing);
  EasingButtons = new QButtonGroup(this);
  const char* rows[] = {"linearer Fortschritt", "gleichmäßig beschleunigt/gebremst",
                        "gleichmäßig beschleunigt am Anfang", "gleichmäßig gebremst am Ende"};
  for (int i = 0; i < 4; ++i) {
    auto* b = new QRadioButton(rows[i]);
    EasingButtons->addButton(b, i);
    easing->addWidget(b);
  }
  SetEasingIndex(1);
  layout->addWidget(RadioGroupEasing);
  layout->addStretch(1);
  return page;
}

QWidget* TFormSettings::CreateAVIPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* form = new QFormLayout;
  ComboBoxFPS = new QComboBox;
  ComboBoxFPS->setEditable(true);
  ComboBoxFPS->setInsertPolicy(QComboBox::NoInsert);
  ComboBoxFPS->addItems({"25", "24", "30", "50", "60"});
  form->addRow("Bilder/Sekunde:", ComboBoxFPS);
  ComboBoxInterlace = new QComboBox;
  ComboBoxInterlace->addItems(
      {"progressiv (kein Zeilensprung)", "oberes Halbbild zuerst", "unteres Halbbild zuerst"});
  form->addRow(ComboBoxInterlace);
  layout->addLayout(form);
  CheckBoxCompress = new QCheckBox("Videodaten komprimieren");
  CheckBoxCompress->setToolTip(
      "Soll beim Erzeugen der AVI-Datei die Auswahl eines Kompressionsverfahrens angeboten "
      "werden?");
  layout->addWidget(CheckBoxCompress);
  CheckBoxAutoPlay = new QCheckBox("nach Fertigstellung automatisch abspielen");
  CheckBoxAutoPlay->setToolTip("nach AVI-Erzeugung automatisch abspielen");
  layout->addWidget(CheckBoxAutoPlay);
  CheckBoxAutoPlayIntern = new QCheckBox("internen Player verwenden");
  layout->addWidget(CheckBoxAutoPlayIntern);
  layout->addStretch(1);
  return page;
}

QWidget* TFormSettings::CreatePropertiesPage() {
  MemoProperties = new QPlainTextEdit;
  MemoProperties->setReadOnly(true);
  return MemoProperties;
}

void TFormSettings::ConnectControls() {
  // Typing and choosing from the list run the handlers; setting a text from the program does
  // not, as with the controls this dialog was designed with.
  auto onEdit = [this](THistoryComboBox* box, void (TFormSettings::*handler)()) {
    connect(box->lineEdit(), &QLineEdit::textEdited, this, handler);
    connect(box, &QComboBox::activated, this, handler);
  };
  onEdit(HistoryComboBoxWidth, &TFormSettings::HistoryComboBoxWidthChange);
  onEdit(HistoryComboBoxHeight, &TFormSettings::HistoryComboBoxHeightChange);
  onEdit(HistoryComboBoxDuration, &TFormSettings::HistoryComboBoxDurationChange);
  connect(ComboBoxFPS->lineEdit(), &QLineEdit::textEdited, this, &TFormSettings::ComboBoxFPSChange);
  connect(ComboBoxFPS, &QComboBox::activated, this, &TFormSettings::ComboBoxFPSChange);
  connect(ComboBoxFormat, &QComboBox::activated, this, &TFormSettings::ComboBoxFormatChange);
  connect(ComboBoxBGFormat, &QComboBox::activated, this, &TFormSettings::ComboBoxBGFormatChange);
  connect(ComboBoxUnit, &QComboBox::activated, this, &TFormSettings::ComboBoxUnitChange);
  connect(ComboBoxInterlace, &QComboBox::activated, this, &TFormSettings::ComboBoxInterlaceChange);
  connect(ComboBoxBgType, &QComboBox::activated, this, &TFormSettings::ComboBoxBgTypeChange);
  connect(EditStillStart, &QLineEdit::textEdited, this, &TFormSettings::EditStillStartChange);
  connect(EditStillEnd, &QLineEdit::textEdited, this, &TFormSettings::EditStillEndChange);
  ShapeBgColor->OnClick = [this] { ShapeBgColorClick(); };
  connect(SpeedButtonBgFile, &QToolButton::clicked, this, &TFormSettings::SpeedButtonBgFileClick);
  connect(CheckBoxWithBG, &QCheckBox::clicked, this, &TFormSettings::CheckBoxWithBGClick);
  connect(CheckBoxCompress, &QCheckBox::clicked, this, &TFormSettings::CheckBoxCompressClick);
  connect(CheckBoxAutoPlay, &QCheckBox::clicked, this, &TFormSettings::CheckBoxAutoPlayClick);
  connect(CheckBoxAutoPlayIntern, &QCheckBox::clicked, this,
          &TFormSettings::CheckBoxAutoPlayInternClick);
}

void TFormSettings::FormCreate() {
  if (HistoryComboBoxWidth->Text().empty()) HistoryComboBoxWidth->SetText("810");
  if (HistoryComboBoxHeight->Text().empty()) HistoryComboBoxHeight->SetText("1080");
  if (HistoryComboBoxDuration->Text().empty()) HistoryComboBoxDuration->SetText("4");
  FFramesPerSecond = 25;
  FFramesMorph = 100;
  FAutoPlay = ReadOpt("Autoplay", true);
  CheckBoxAutoPlay->setChecked(FAutoPlay);
  FAutoPlayIntern = ReadOpt("AutoplayInt", true);
  CheckBoxAutoPlayIntern->setChecked(FAutoPlayIntern);
  CheckBoxAutoPlayIntern->setEnabled(FAutoPlay);
  CheckBoxCompress->setChecked(ReadOpt("CompressDia", false));
  SetInterlaceType(it_upperFirst);
  ComboBoxBGFormat->clear();
  for (int i = 0; i < ComboBoxFormat->count(); ++i)
    ComboBoxBGFormat->addItem(ComboBoxFormat->itemText(i));
  ComboBoxFPS->setCurrentIndex(0);
}

// --- pages -----------------------------------------------------------------------------------

void TFormSettings::SetPageVisible(int page, bool visible) {
  PageControl1->setTabVisible(page, visible);
}

bool TFormSettings::PageVisible(int page) const {
  return PageControl1->isTabVisible(page);
}

void TFormSettings::SetActivePage(int page) {
  PageControl1->setCurrentIndex(page);
}

int TFormSettings::ActivePage() const {
  return PageControl1->currentIndex();
}

int TFormSettings::EasingIndex() const {
  return EasingButtons->checkedId();
}

void TFormSettings::SetEasingIndex(int row) {
  if (QAbstractButton* b = EasingButtons->button(row)) b->setChecked(true);
}

// --- values ----------------------------------------------------------------------------------

bool TFormSettings::InSeconds() const {
  return FDurationUnit == du_seconds;
}

std::string TFormSettings::UnitName() const {
  return InSeconds() ? "Sekunden" : "Frames";
}

void TFormSettings::SetMWidth(int32_t v, bool fromBox) {
  FMWidth = v;
  if (!fromBox) HistoryComboBoxWidth->SetText(std::to_string(v));
  HistoryComboBoxWidth->SaveItems();
  ComboBoxFormat->setCurrentIndex(SizeToFormatIndex(FMWidth, FMHeight));
}

void TFormSettings::SetMHeight(int32_t v, bool fromBox) {
  FMHeight = v;
  if (!fromBox) HistoryComboBoxHeight->SetText(std::to_string(v));
  HistoryComboBoxHeight->SaveItems();
  ComboBoxFormat->setCurrentIndex(SizeToFormatIndex(FMWidth, FMHeight));
}

void TFormSettings::SetFramesPerSecond(int32_t v) {
  FFramesPerSecond = v;
  ComboBoxFPS->setEditText(Number(v));
}

void TFormSettings::SetInterlaceType(TInterlaceType v) {
  FInterlaceType = v;
  ComboBoxInterlace->setCurrentIndex(int(v));
}

void TFormSettings::SetFramesMorph(int32_t v) {
  if (v == FFramesMorph) return;
  FFramesMorph = v;
  ComboBoxUnitChange();
}

void TFormSettings::ShowDuration() {
  const int32_t shown =
      InSeconds() ? SecondsRoundedUp(FFramesMorph, FFramesPerSecond) : FFramesMorph;
  HistoryComboBoxDuration->SetText(std::to_string(shown));
}

void TFormSettings::ShowStillImages() {
  const int32_t div = InSeconds() ? FFramesPerSecond : 1;
  EditStillStart->setText(Number(FStillImagesAtStart / div));
  EditStillEnd->setText(Number(FStillImagesAtEnd / div));
  LabelStillStart->setText(ToQ(UnitName() + " am Anfang"));
  LabelStillEnd->setText(ToQ(UnitName() + " am Ende"));
}

void TFormSettings::ApplyBgTypeVisibility() {
  const int kind = ComboBoxBgType->currentIndex();
  if (kind != bg_Color && kind != bg_Pict) return;  // the other entries change nothing
  ShapeBgColor->setVisible(kind == bg_Color);
  HistoryComboBoxBgFileName->setVisible(kind == bg_Pict);
  SpeedButtonBgFile->setVisible(kind == bg_Pict);
}

// --- handlers --------------------------------------------------------------------------------

void TFormSettings::HistoryComboBoxWidthChange() {
  const int32_t n = BoxNumber(HistoryComboBoxWidth->Text());
  SetMWidth(n, true);
  if (CheckBoxAspect->isChecked() && FOldWidth > 0) SetMHeight(MulDiv(n, FOldHeight, FOldWidth));
}

void TFormSettings::HistoryComboBoxHeightChange() {
  const int32_t n = BoxNumber(HistoryComboBoxHeight->Text());
  SetMHeight(n, true);
  if (CheckBoxAspect->isChecked() && FOldWidth > 0 && FOldHeight > 0)
    SetMWidth(MulDiv(n, FOldWidth, FOldHeight));
}

void TFormSettings::HistoryComboBoxDurationChange() {
  int32_t n = BoxNumber(HistoryComboBoxDuration->Text());
  if (n > 0 && ComboBoxUnit->currentIndex() == 0) n *= FFramesPerSecond;
  FFramesMorph = n;
}

void TFormSettings::ComboBoxFormatChange() {
  const int row = ComboBoxFormat->currentIndex();
  if (row < 0 || row >= kCustomFormatIndex) return;
  SetMWidth(kSizePresets[row].Width);
  SetMHeight(kSizePresets[row].Height);
}

void TFormSettings::ComboBoxBGFormatChange() {
  const int row = ComboBoxBGFormat->currentIndex();
  if (row < 0 || row >= kCustomFormatIndex) return;
  FBGWidth = kSizePresets[row].Width;
  FBGHeight = kSizePresets[row].Height;
  HistoryComboBoxBGWidth->SetText(std::to_string(FBGWidth));
  HistoryComboBoxBGWidth->SaveItems();
  HistoryComboBoxBGHeight->SetText(std::to_string(FBGHeight));
  HistoryComboBoxBGHeight->SaveItems();
}

void TFormSettings::ComboBoxUnitChange() {
  const int32_t fps = FFramesPerSecond;
  if (ComboBoxUnit->currentIndex() == 0) {
    if (FDurationUnit == du_Frames) {
      const int32_t a = SecondsRoundedUp(FFramesMorph, fps);
      FFramesMorph = a * fps;
      HistoryComboBoxDuration->SetText(std::to_string(a));
    } else {
      FStillImagesAtStart = FStillImagesAtStart / fps * fps;
      FStillImagesAtEnd = FStillImagesAtEnd / fps * fps;
    }
    FDurationUnit = du_seconds;
  } else if (FDurationUnit == du_seconds) {
    FDurationUnit = du_Frames;
    HistoryComboBoxDuration->SetText(std::to_string(FFramesMorph));
  }
  ShowStillImages();
}

void TFormSettings::ComboBoxFPSChange() {
  const int32_t n = BoxNumber(ComboBoxFPS->currentText().toStdString());
  QPalette p = ComboBoxFPS->lineEdit()->palette();
  if (n < 1 || n > 60) {
    p.setColor(QPalette::Text, kInvalidRateColor);
    ComboBoxFPS->lineEdit()->setPalette(p);
    return;
  }
  if (InSeconds()) FFramesMorph = MulDiv(FFramesMorph, n, FFramesPerSecond);
  FFramesPerSecond = n;
  p.setColor(QPalette::Text, Qt::black);
  ComboBoxFPS->lineEdit()->setPalette(p);
}

void TFormSettings::ComboBoxInterlaceChange() {
  const int row = ComboBoxInterlace->currentIndex();
  if (row >= 0 && row <= it_LowerFirst) FInterlaceType = TInterlaceType(row);
}

void TFormSettings::ComboBoxBgTypeChange() {
  ApplyBgTypeVisibility();
}

void TFormSettings::EditStillStartChange() {
  const int32_t n = BoxNumber(EditStillStart->text().toStdString());
  FStillImagesAtStart = InSeconds() ? n * FFramesPerSecond : n;
}

void TFormSettings::EditStillEndChange() {
  const int32_t n = BoxNumber(EditStillEnd->text().toStdString());
  FStillImagesAtEnd = InSeconds() ? n * FFramesPerSecond : n;
}

void TFormSettings::ShapeBgColorClick() {
  TColor c = ShapeBgColor->Color();
  if (Dialogs().ChooseColor(c)) ShapeBgColor->SetColor(c);
}

void TFormSettings::SpeedButtonBgFileClick() {
  TFileDialog dlg;
  dlg.Kind = TFileDialogKind::PictureOpen;
  dlg.Title = "Hintergrundbild wählen:";
  dlg.Filter = "Bilder (*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico)|*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico";
  dlg.FileName = HistoryComboBoxBgFileName->Text();
  dlg.InitialDir = ExtractFilePath(dlg.FileName);
  if (!Dialogs().ExecuteFileDialog(dlg)) return;
  HistoryComboBoxBgFileName->SetText(dlg.FileName);
  HistoryComboBoxBgFileName->SaveItems();
}

void TFormSettings::CheckBoxWithBGClick() {
  SetPageVisible(pgBackground, CheckBoxWithBG->isChecked());
}

void TFormSettings::CheckBoxCompressClick() {
  WriteOpt("CompressDia", CheckBoxCompress->isChecked());
}

void TFormSettings::CheckBoxAutoPlayClick() {
  FAutoPlay = CheckBoxAutoPlay->isChecked();
  CheckBoxAutoPlayIntern->setEnabled(FAutoPlay);
  WriteOpt("Autoplay", FAutoPlay);
}

void TFormSettings::CheckBoxAutoPlayInternClick() {
  FAutoPlayIntern = CheckBoxAutoPlayIntern->isChecked();
  WriteOpt("AutoplayInt", FAutoPlayIntern);
}

// --- showing ---------------------------------------------------------------------------------

void TFormSettings::FormShow() {
  FOldWidth = FMWidth;
  FOldHeight = FMHeight;
  ShowStillImages();
}

void TFormSettings::FormActivate() {
  auto replaceZero = [](THistoryComboBox* box, const char* text) {
    if (box->Text() != "0") return;
    box->SetText(text);
    box->SaveItems();
  };
  replaceZero(HistoryComboBoxWidth, "786");
  replaceZero(HistoryComboBoxHeight, "1024");
  replaceZero(HistoryComboBoxDuration, "4");
}

void TFormSettings::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) {
    FormShow();
    FormActivate();
  }
}

void TFormSettings::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
  QDialog::changeEvent(e);
}

// --- document --------------------------------------------------------------------------------

void TFormSettings::ActivateSettings(TMorph0& Morph) {
  SetMWidth(Morph.Width());
  SetMHeight(Morph.Height());
  SetInterlaceType(Morph.InterlaceType());
  SetFramesPerSecond(Morph.FramesPerSecond() == 0 ? 25 : Morph.FramesPerSecond());
  const int bgRow = Morph.BGFormatIndex();
  ComboBoxBGFormat->setCurrentIndex(bgRow >= 0 && bgRow < kPresetCount ? bgRow
                                                                       : kCustomFormatIndex);

  auto* morphing = dynamic_cast<TMorphing*>(&Morph);
  if (morphing) {
    SetPageVisible(pgMorphing, true);
    SetPageVisible(pgProperties, true);
    FStillImagesAtStart = morphing->StillImagesAtStart();
    FStillImagesAtEnd = morphing->StillImagesAtEnd();
    ShowStillImages();
    SetFramesMorph(morphing->FramesMorph());
    ShowDuration();
    const bool s = morphing->SmoothAtStart(), e = morphing->SmoothAtEnd();
    SetEasingIndex(s && e ? 1 : s ? 2 : e ? 3 : 0);
    MemoProperties->setPlainText(
        FieldText("Morphing:\r\n" + morphing->FileName() + "\r\n" + "\r\n" + "Bild 1:" + "\r\n" +
                  morphing->Source1().SourceImageName() + "\r\n\r\n" + "Bild 2:" + "\r\n" +
                  morphing->Source2().SourceImageName() + "\r\n"));
    CheckBoxWithBG->setChecked(morphing->withBG());
    SetPageVisible(pgBackground, morphing->withBG());
  } else {
    SetPageVisible(pgMorphing, false);
    SetPageVisible(pgProperties, false);
    SetPageVisible(pgBackground, true);
  }

  const TBackGround& bg = Morph.BackGround();
  FBGWidth = bg.Width();
  FBGHeight = bg.Height();
  HistoryComboBoxBGWidth->SetText(std::to_string(FBGWidth));
  HistoryComboBoxBGHeight->SetText(std::to_string(FBGHeight));
  HistoryComboBoxBgFileName->SetText(bg.BGPictureName());
  ComboBoxBgType->setCurrentIndex(int(bg.BgType()));
  ShapeBgColor->SetColor(bg.BGColor());
  ApplyBgTypeVisibility();
  emit SettingsActivated();
}

void TFormSettings::ObtainSettings(TMorph0& Morph) {
  Morph.SetInterlaceType(FInterlaceType);
  Morph.SetFramesPerSecond(FFramesPerSecond);
  bool takeBackground = true;
  if (auto* morphing = dynamic_cast<TMorphing*>(&Morph)) {
    morphing->setTargetImageSize(FMWidth, FMHeight);
    morphing->SetStillImagesAtStart(FStillImagesAtStart);
    morphing->SetStillImagesAtEnd(FStillImagesAtEnd);
    morphing->SetFramesMorph(FFramesMorph);
    const int row = EasingIndex();
    morphing->SetSmoothAtStart(row == 1 || row == 2);
    morphing->SetSmoothAtEnd(row == 1 || row == 3);
    morphing->SetwithBG(CheckBoxWithBG->isChecked());
    takeBackground = CheckBoxWithBG->isChecked();
  }
  if (!takeBackground) return;
  Morph.SetBGFormatIndex(ComboBoxBGFormat->currentIndex());
  TBackGround& bg = Morph.BackGround();
  bg.SetWidth(FBGWidth);
  bg.SetHeight(FBGHeight);
  bg.SetBGPictureName(HistoryComboBoxBgFileName->Text());
  const int kind = ComboBoxBgType->currentIndex();
  if (kind >= bg_Color && kind <= bg_Video) bg.SetBgType(TBgType(kind));  // " " is no type
  bg.SetBGColor(ShapeBgColor->Color());
}

}  // namespace qv
