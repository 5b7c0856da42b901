#include "SequencePage.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "Guarded.h"
#include "HistoryComboBox.h"
#include "MorphForm.h"
#include "MultiMorph.h"
#include "QtStrings.h"

namespace qv {

namespace {

constexpr int kImageWidth = 120, kImageHeight = 105;

// The whole text as a decimal integer (an optional sign, then digits only).
bool ParseInteger(const QString& text, int32_t& value) {
  bool ok = false;
  const int v = text.trimmed().toInt(&ok, 10);
  if (ok) value = v;
  return ok;
}

}  // namespace

TSequencePage::TSequencePage(TForm1& form, TMultiMorph& multiMorph, QWidget* parent)
    : QWidget(parent), FForm(form), FMultiMorph(multiMorph) {
  setObjectName(QStringLiteral("SequencePage"));
  CreateControls();
  ConnectControls();
}

void TSequencePage::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);

  auto* tools = new QWidget;
  tools->setObjectName(QStringLiteral("PanelSeqTop"));
  tools->setFixedHeight(29);
  auto* toolRow = new QHBoxLayout(tools);
  toolRow->setContentsMargins(2, 1, 2, 1);
  toolRow->setSpacing(1);
  for (QToolButton** b : {&SpeedButtonSeqSave, &SpeedButtonSeqSettings}) {
    *b = new QToolButton;
    (*b)->setAutoRaise(true);
    (*b)->setIconSize(QSize(22, 22));
    (*b)->setFocusPolicy(Qt::NoFocus);
    (*b)->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolRow->addWidget(*b);
  }
  SpeedButtonSeqSave->setObjectName(QStringLiteral("SpeedButtonSeqSave"));
  SpeedButtonSeqSettings->setObjectName(QStringLiteral("SpeedButtonSeqSettings"));
  toolRow->addStretch(1);
  outer->addWidget(tools);

  auto* body = new QWidget;
  auto* row = new QHBoxLayout(body);
  row->setContentsMargins(4, 4, 4, 4);
  ListBoxSequences = new QListWidget;
  ListBoxSequences->setObjectName(QStringLiteral("ListBoxSequences"));
  ListBoxSequences->setFixedWidth(198);
  ListBoxSequences->setMinimumHeight(353);
  ListBoxSequences->setContextMenuPolicy(Qt::CustomContextMenu);
  row->addWidget(ListBoxSequences, 0, Qt::AlignTop);

  auto* panel = new QWidget;
  auto* grid = new QGridLayout(panel);
  HistoryComboBoxMorphName = new THistoryComboBox(nullptr, "Form1\\HistoryComboBoxMorphName");
  HistoryComboBoxMorphName->setObjectName(QStringLiteral("HistoryComboBoxMorphName"));
  HistoryComboBoxMorphName->setMinimumWidth(300);
  SpeedButtonOpenMorph = new QToolButton;
  SpeedButtonOpenMorph->setObjectName(QStringLiteral("SpeedButtonOpenMorph"));
  SpeedButtonOpenMorph->setIcon(QIcon(QStringLiteral(":/icons/16/file-open.png")));
  SpeedButtonOpenMorph->setText(QStringLiteral("..."));
  grid->addWidget(HistoryComboBoxMorphName, 0, 0, 1, 2);
  grid->addWidget(SpeedButtonOpenMorph, 0, 2);

  SpinEditSubSeqNr = new QSpinBox;
  SpinEditSubSeqNr->setObjectName(QStringLiteral("SpinEditSubSeqNr"));
  SpinEditSubSeqNr->setRange(1, 10);
  SpinEditSubSeqNr->setValue(1);
  grid->addWidget(new QLabel(QStringLiteral("Teilsequenz:")), 1, 0);
  grid->addWidget(SpinEditSubSeqNr, 1, 1);

  ComboBoxAlign = new QComboBox;
  ComboBoxAlign->setObjectName(QStringLiteral("ComboBoxAlign"));
  // Only the four rows: a typed text would leave the member an alignment outside them.
  ComboBoxAlign->setEditable(false);
  ComboBoxAlign->addItems({QStringLiteral("angegebenes x-Offset"), QStringLiteral("links"),
                           QStringLiteral("rechts"), QStringLiteral("zentriert")});
  ComboBoxAlign->setCurrentIndex(ha_center);
  grid->addWidget(new QLabel(QStringLiteral("horizontale Ausrichtung:")), 2, 0);
  grid->addWidget(ComboBoxAlign, 2, 1);

  LabeledEditXPosition = new QLineEdit(QStringLiteral("0"));
  LabeledEditXPosition->setObjectName(QStringLiteral("LabeledEditXPosition"));
  LabeledEditXPosition->setEnabled(false);
  grid->addWidget(new QLabel(QStringLiteral("X-Position:")), 3, 0);
  grid->addWidget(LabeledEditXPosition, 3, 1);

  BitBtnMorphProps = new QPushButton(QStringLiteral("Eigenschaften"));
  BitBtnMorphProps->setObjectName(QStringLiteral("BitBtnMorphProps"));
  grid->addWidget(BitBtnMorphProps, 4, 1);

  auto* images = new QHBoxLayout;
  for (QLabel** image : {&ImageSeqMorph1, &ImageSeqMorph9}) {
    *image = new QLabel;
    (*image)->setFixedSize(kImageWidth, kImageHeight);
    (*image)->setAlignment(Qt::AlignCenter);
    (*image)->setFrameShape(QFrame::StyledPanel);
    images->addWidget(*image);
  }
  ImageSeqMorph1->setObjectName(QStringLiteral("ImageSeqMorph1"));
  ImageSeqMorph9->setObjectName(QStringLiteral("ImageSeqMorph9"));
  images->addStretch(1);
  grid->addLayout(images, 5, 0, 1, 3);

  BitBtnRenderNow = new QPushButton(QStringLiteral("jetzt rendern"));
  BitBtnRenderNow->setObjectName(QStringLiteral("BitBtnRenderNow"));
  grid->addWidget(BitBtnRenderNow, 6, 1);
  grid->setRowStretch(7, 1);
  grid->setColumnStretch(3, 1);
  row->addWidget(panel, 1);
  outer->addWidget(body, 1);

  PopupMenuSeq = new QMenu(this);
  PopupMenuSeq->setObjectName(QStringLiteral("PopupMenuSeq"));
}

void TSequencePage::ConnectControls() {
  connect(ListBoxSequences, &QListWidget::itemClicked, this,
          [this] { Guarded([this] { ShowSeqMorph(); }); });
  QAction* add = PopupMenuSeq->addAction(QStringLiteral("Morhing hinzufügen"));
  add->setObjectName(QStringLiteral("ActionSeqAddMorph"));
  QAction* del = PopupMenuSeq->addAction(QStringLiteral("Morphing entfernen"));
  del->setObjectName(QStringLiteral("ActionSeqDelMorph"));
  // The pop-up position decides which entry "Morphing entfernen" removes.
  connect(ListBoxSequences, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    FPopupPos = pos;
    PopupMenuSeq->popup(ListBoxSequences->viewport()->mapToGlobal(pos));
  });
  connect(add, &QAction::triggered, this, [this] { Guarded([this] { AddMorphingClick(); }); });
  connect(del, &QAction::triggered, this,
          [this] { Guarded([this] { DelMorphingAt(FPopupPos); }); });
  connect(HistoryComboBoxMorphName, &QComboBox::currentTextChanged, this,
          [this] { Guarded([this] { HistoryComboBoxMorphNameChange(); }); });
  connect(SpeedButtonOpenMorph, &QToolButton::clicked, this,
          [this] { Guarded([this] { OpenMorphClick(); }); });
  connect(SpinEditSubSeqNr, &QSpinBox::valueChanged, this,
          [this] { Guarded([this] { SpinEditSubSeqNrChange(); }); });
  connect(ComboBoxAlign, &QComboBox::currentIndexChanged, this,
          [this] { Guarded([this] { ComboBoxAlignChange(); }); });
  connect(LabeledEditXPosition, &QLineEdit::textChanged, this,
          [this] { Guarded([this] { LabeledEditXPositionChange(); }); });
  connect(BitBtnRenderNow, &QPushButton::clicked, this,
          [this] { Guarded([this] { FForm.RenderMultiMorphAVI(FMultiMorph); }); });
}

// --- list -----------------------------------------------------------------------------------

TMorphing* TSequencePage::SelectedSeqMorph() const {
  const int row = ListBoxSequences->currentRow();
  if (row < 0 || row >= FMultiMorph.Count()) return nullptr;
  return &FMultiMorph.Morphs(row);
}

void TSequencePage::SelectRow(int row) {
  if (row < 0 || row >= ListBoxSequences->count()) {
    ListBoxSequences->setCurrentRow(-1);
    ListBoxSequences->clearSelection();
  } else {
    ListBoxSequences->setCurrentRow(row);
  }
}

void TSequencePage::RefreshSeqList() {
  const int selected = ListBoxSequences->currentRow();
  ListBoxSequences->clear();
  for (int i = 0; i < FMultiMorph.Count(); ++i)
    ListBoxSequences->addItem(ToQ(FMultiMorph.Morphs(i).Name()));
  SelectRow(selected >= 0 && selected < FMultiMorph.Count() ? selected : FMultiMorph.Count() - 1);
}

void TSequencePage::ShowPicture(QLabel* image, const std::string& fileName) {
  QPixmap picture;
  if (!fileName.empty() && QFileInfo(ToQ(fileName)).isFile() && picture.load(ToQ(fileName)))
    image->setPixmap(picture.scaled(kImageWidth, kImageHeight, Qt::KeepAspectRatio,
                                    Qt::SmoothTransformation));
  else
    image->clear();
}

void TSequencePage::ShowSeqMorph() {
  TMorphing* m = SelectedSeqMorph();
  if (m) {
    FShowing = true;
    ShowPicture(ImageSeqMorph1, m->Source1().SourceImageName());
    ShowPicture(ImageSeqMorph9, m->Source2().SourceImageName());
    SpinEditSubSeqNr->setValue(m->SubSeq());
    if (m->HorzAlign() >= ha_none && m->HorzAlign() <= ha_center)
      ComboBoxAlign->setCurrentIndex(m->HorzAlign());
    LabeledEditXPosition->setText(QString::number(m->Offset().X));
    HistoryComboBoxMorphName->SetText(m->FileName());
    FShowing = false;
  } else if (FMultiMorph.Count() == 0) {
    ImageSeqMorph1->clear();
    ImageSeqMorph9->clear();
  }
  ListBoxSequences->viewport()->update();
}

// --- commands -------------------------------------------------------------------------------

void TSequencePage::AddMorphingClick() {
  FMultiMorph.AddMorphing(std::make_unique<TMorphing>());
  RefreshSeqList();
  SelectRow(FMultiMorph.Count() - 1);
  ShowSeqMorph();
}

void TSequencePage::DelMorphingAt(const QPoint& pos) {
  QListWidgetItem* item = ListBoxSequences->itemAt(pos);
  if (!item) return;
  const int index = ListBoxSequences->row(item);
  FMultiMorph.DelMorphing(index);
  RefreshSeqList();
  SelectRow(index - 1);
  ShowSeqMorph();
}

void TSequencePage::HistoryComboBoxMorphNameChange() {
  if (FShowing) return;
  TMorphing* m = SelectedSeqMorph();
  const std::string fn = HistoryComboBoxMorphName->Text();
  if (m && !fn.empty() && QFileInfo(ToQ(fn)).isFile()) {
    m->LoadFromFile(fn);
    m->SetwithBG(false);  // the sequence's background stands in for the member's own
    if (QListWidgetItem* item = ListBoxSequences->currentItem()) item->setText(ToQ(m->Name()));
  }
  ShowSeqMorph();
}

void TSequencePage::OpenMorphClick() {
  TFileDialog& dlg = FForm.OpenDialog();
  dlg.Kind = TFileDialogKind::Open;
  dlg.Title = "Quorvel-Projekt wählen";
  dlg.Filter = "Quorvel-Projekte *.qvp|*.qvp";
  dlg.FilterIndex = 1;
  if (!Dialogs().ExecuteFileDialog(dlg)) return;
  HistoryComboBoxMorphName->SetText(dlg.FileName);
  HistoryComboBoxMorphName->SaveItems();
  HistoryComboBoxMorphNameChange();
}

void TSequencePage::SpinEditSubSeqNrChange() {
  if (FShowing) return;
  if (TMorphing* m = SelectedSeqMorph()) m->SetSubSeq(SpinEditSubSeqNr->value());
}

void TSequencePage::ComboBoxAlignChange() {
  if (FShowing) return;
  TMorphing* m = SelectedSeqMorph();
  const int row = ComboBoxAlign->currentIndex();
  if (!m || row < ha_none || row > ha_center) return;
  LabeledEditXPosition->setEnabled(false);
  const THorzAlign align = THorzAlign(row);
  m->SetHorzAlign(align);
  int32_t x = m->Offset().X;
  if (align == ha_none) {
    // The member takes the number the box shows, which is what the user sees and edits.
    LabeledEditXPosition->setEnabled(true);
    ParseInteger(LabeledEditXPosition->text(), x);
  } else {
    x = AlignedLeft(align, x, m->Width(), FMultiMorph.Width());
  }
  m->SetOffset(TPoint{x, m->Offset().Y});
}

void TSequencePage::LabeledEditXPositionChange() {
  if (FShowing) return;
  TMorphing* m = SelectedSeqMorph();
  int32_t x = 0;
  if (m && ParseInteger(LabeledEditXPosition->text(), x)) m->SetOffset(TPoint{x, m->Offset().Y});
}

}  // namespace qv
