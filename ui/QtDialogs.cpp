#include "QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>

#include "QtStrings.h"

namespace qv {

namespace {

// The answer values a box's buttons report through exec().
enum TBoxAnswer { baOk = 1, baYes = 2, baNo = 3, baCancel = 4 };

QMessageBox::Icon IconOf(TQtDialogs::TBoxKind kind) {
  switch (kind) {
    case TQtDialogs::TBoxKind::Information:
      return QMessageBox::Information;
    case TQtDialogs::TBoxKind::Message:
      return QMessageBox::NoIcon;
    case TQtDialogs::TBoxKind::Error:
      return QMessageBox::Critical;
    case TQtDialogs::TBoxKind::SaveQuestion:
    case TQtDialogs::TBoxKind::Question:
    case TQtDialogs::TBoxKind::Confirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// The buttons of a box carry their answer as a property, so that exec() can report it.
QPushButton* AddButton(QMessageBox& box, const QString& text, QMessageBox::ButtonRole role,
                       TBoxAnswer answer) {
  QPushButton* b = box.addButton(text, role);
  b->setProperty("qvAnswer", int(answer));
  return b;
}

// A small preview of the picture under the cursor of a picture-open dialog.
void AddPicturePreview(QFileDialog& qd) {
  auto* grid = qobject_cast<QGridLayout*>(qd.layout());
  if (!grid) return;
  auto* preview = new QLabel(&qd);
  preview->setObjectName("PicturePreview");
  preview->setFixedSize(180, 180);
  preview->setAlignment(Qt::AlignCenter);
  preview->setFrameShape(QFrame::StyledPanel);
  grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
  QObject::connect(&qd, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid()) reader.setScaledSize(size.scaled(preview->size(), Qt::KeepAspectRatio));
    QImage img = reader.read();
    if (img.isNull())
      preview->clear();
    else
      preview->setPixmap(QPixmap::fromImage(img));
  });
}

bool IsReadOnlyChoice(const QString& path) {
  QFileInfo fi(path);
  if (fi.exists()) return !fi.isWritable();
  QFileInfo dir(fi.absolutePath());
  return dir.exists() && !dir.isWritable();
}

}  // namespace

TQtDialogs::TQtDialogs(QWidget* mainWindow) : FMainWindow(mainWindow) {}
TQtDialogs::~TQtDialogs() = default;

QWidget* TQtDialogs::Owner() const {
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  if (QWidget* w = QApplication::activeWindow()) return w;
  return FMainWindow;
}

std::unique_ptr<QMessageBox> TQtDialogs::MakeMessageBox(TBoxKind kind, const std::string& text,
                                                        QWidget* owner) {
  auto box = std::make_unique<QMessageBox>(owner);
  box->setWindowTitle(owner ? owner->windowTitle() : QStringLiteral("???"));
  box->setTextFormat(Qt::PlainText);
  box->setText(DisplayText(text));
  box->setIcon(IconOf(kind));
  switch (kind) {
    case TBoxKind::Information:
    case TBoxKind::Message:
    case TBoxKind::Error: {
      QPushButton* ok = AddButton(*box, QStringLiteral("OK"), QMessageBox::AcceptRole, baOk);
      box->setDefaultButton(ok);
      box->setEscapeButton(ok);
      break;
    }
    case TBoxKind::SaveQuestion: {
      QPushButton* yes = AddButton(*box, QStringLiteral("Ja"), QMessageBox::YesRole, baYes);
      AddButton(*box, QStringLiteral("Nein"), QMessageBox::NoRole, baNo);
      QPushButton* cancel =
          AddButton(*box, QStringLiteral("Abbrechen"), QMessageBox::RejectRole, baCancel);
      box->setDefaultButton(yes);
      box->setEscapeButton(cancel);
      break;
    }
    case TBoxKind::Question:
    case TBoxKind::Confirmation: {
      AddButton(*box, QStringLiteral("Ja"), QMessageBox::YesRole, baYes);
      QPushButton* no = AddButton(*box, QStringLiteral("Nein"), QMessageBox::NoRole, baNo);
      box->setDefaultButton(no);
      box->setEscapeButton(no);
      break;
    }
  }
  return box;
}

int TQtDialogs::RunBox(TBoxKind kind, const std::string& text, QWidget* owner) {
  std::unique_ptr<QMessageBox> box = MakeMessageBox(kind, text, owner);
  box->exec();
  QAbstractButton* clicked = box->clickedButton();
  if (!clicked) clicked = box->escapeButton();
  return clicked ? clicked->property("qvAnswer").toInt() : int(baCancel);
}

void TQtDialogs::ShowInformation(const std::string& text) {
  RunBox(TBoxKind::Information, text, Owner());
}

void TQtDialogs::ShowMessage(const std::string& text, TMessagePlacement placement) {
  if (placement == TMessagePlacement::MainWindow) {
    RunBox(TBoxKind::Message, text, FMainWindow ? FMainWindow : Owner());
    return;
  }
  // Centred on the screen: a box without parent, with the caption of the would-be owner.
  QWidget* owner = Owner();
  std::unique_ptr<QMessageBox> box = MakeMessageBox(TBoxKind::Message, text, nullptr);
  if (owner) box->setWindowTitle(owner->windowTitle());
  box->exec();
}

void TQtDialogs::ShowError(const std::string& text) {
  RunBox(TBoxKind::Error, text, Owner());
}

TSaveAnswer TQtDialogs::AskSave(const std::string& text) {
  switch (RunBox(TBoxKind::SaveQuestion, text, Owner())) {
    case baYes:
      return TSaveAnswer::Yes;
    case baNo:
      return TSaveAnswer::No;
    default:
      return TSaveAnswer::Cancel;
  }
}

bool TQtDialogs::AskYesNo(const std::string& text) {
  return RunBox(TBoxKind::Question, text, Owner()) == baYes;
}

bool TQtDialogs::Confirm(const std::string& text) {
  return RunBox(TBoxKind::Confirmation, text, Owner()) == baYes;
}

QStringList TQtDialogs::QtNameFilters(const std::string& filter) {
  QStringList parts = ToQ(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) p = p.trimmed();
    out << parts[i].trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
               QLatin1Char(')');
  }
  return out;
}

std::unique_ptr<QFileDialog> TQtDialogs::MakeFileDialog(const TFileDialog& dlg, QWidget* owner) {
  auto qd = std::make_unique<QFileDialog>(owner, ToQ(dlg.Title));
  // Qt's own dialog everywhere: the same behaviour on every desktop, and room for a preview.
  qd->setOption(QFileDialog::DontUseNativeDialog, true);
  const bool save = dlg.Kind == TFileDialogKind::Save || dlg.Kind == TFileDialogKind::PictureSave;
  qd->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  qd->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  qd->setOption(QFileDialog::DontConfirmOverwrite, !dlg.OverwritePrompt);

  QStringList filters = QtNameFilters(dlg.Filter);
  if (!filters.isEmpty()) {
    qd->setNameFilters(filters);
    int index = dlg.FilterIndex >= 1 && dlg.FilterIndex <= filters.size() ? dlg.FilterIndex : 1;
    qd->selectNameFilter(filters[index - 1]);
  }
  QString ext = ToQ(dlg.DefaultExt);
  if (ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
  qd->setDefaultSuffix(ext);
  if (!dlg.InitialDir.empty()) qd->setDirectory(ToQ(dlg.InitialDir));
  if (!dlg.FileName.empty()) qd->selectFile(ToQ(dlg.FileName));
  if (dlg.Kind == TFileDialogKind::PictureOpen) AddPicturePreview(*qd);
  return qd;
}

void TQtDialogs::TakeFileDialogResult(const QFileDialog& qd, TFileDialog& dlg) {
  QStringList files = qd.selectedFiles();
  if (!files.isEmpty()) dlg.FileName = FromQ(files.first());
  qsizetype index = qd.nameFilters().indexOf(qd.selectedNameFilter());
  if (index >= 0) dlg.FilterIndex = int(index) + 1;
}

bool TQtDialogs::ExecuteFileDialog(TFileDialog& dlg) {
  std::unique_ptr<QFileDialog> qd = MakeFileDialog(dlg, Owner());
  for (;;) {
    if (qd->exec() != QDialog::Accepted || qd->selectedFiles().isEmpty()) return false;
    const QString chosen = qd->selectedFiles().first();
    if (dlg.RefuseReadOnly && IsReadOnlyChoice(chosen)) {
      RunBox(TBoxKind::Information,
             FromQ(chosen) + "\rist schreibgeschützt.\r" +
                 "Bitte wählen Sie einen anderen Dateinamen.",
             qd.get());
      continue;
    }
    TakeFileDialogResult(*qd, dlg);
    return true;
  }
}

bool TQtDialogs::ChooseColor(TColor& color) {
  QColorDialog qd(QColor(GetRValue(color), GetGValue(color), GetBValue(color)), Owner());
  qd.setOption(QColorDialog::DontUseNativeDialog, true);
  if (qd.exec() != QDialog::Accepted) return false;
  QColor c = qd.selectedColor();
  color = RGB(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
  return true;
}

}  // namespace qv
