#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "QtDialogs.h"

namespace qv {
namespace {

using Kind = TQtDialogs::TBoxKind;

QStringList ButtonTexts(const QMessageBox& box) {
  QStringList out;
  for (QAbstractButton* b : box.buttons()) out << b->text();
  out.sort();
  return out;
}

// Runs action on the next modal window that opens, so that no test waits for a user.
void OnNextModal(std::function<void(QWidget*)> action) {
  QTimer::singleShot(0, [action] {
    QWidget* w = QApplication::activeModalWidget();
    ASSERT_NE(w, nullptr) << "no modal window opened";
    action(w);
  });
}

void ClickButton(QWidget* w, const QString& text) {
  auto* box = qobject_cast<QMessageBox*>(w);
  ASSERT_NE(box, nullptr);
  for (QAbstractButton* b : box->buttons())
    if (b->text() == text) return b->click();
  FAIL() << "no button " << text.toStdString();
}

TEST(QtDialogs, EachBoxKindHasItsIconButtonsAndDefault) {
  struct Case {
    Kind kind;
    QMessageBox::Icon icon;
    QStringList buttons;  // sorted
    QString defaultButton, escapeButton;
  } cases[] = {
      {Kind::Information, QMessageBox::Information, {"OK"}, "OK", "OK"},
      {Kind::Message, QMessageBox::NoIcon, {"OK"}, "OK", "OK"},
      {Kind::Error, QMessageBox::Critical, {"OK"}, "OK", "OK"},
      {Kind::SaveQuestion, QMessageBox::Question, {"Abbrechen", "Ja", "Nein"}, "Ja", "Abbrechen"},
      {Kind::Question, QMessageBox::Question, {"Ja", "Nein"}, "Nein", "Nein"},
      {Kind::Confirmation, QMessageBox::Question, {"Ja", "Nein"}, "Nein", "Nein"},
  };
  for (const Case& c : cases) {
    auto box = TQtDialogs::MakeMessageBox(c.kind, "Text", nullptr);
    SCOPED_TRACE(int(c.kind));
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(ButtonTexts(*box), c.buttons);
    ASSERT_NE(box->defaultButton(), nullptr);
    EXPECT_EQ(box->defaultButton()->text(), c.defaultButton);
    ASSERT_NE(box->escapeButton(), nullptr);
    EXPECT_EQ(box->escapeButton()->text(), c.escapeButton);
  }
}

TEST(QtDialogs, CaptionIsTheOwnersTitleAndLineBreaksShow) {
  QWidget owner;
  owner.setWindowTitle("Quorvel - Morphing: a.qvp");
  auto owned = TQtDialogs::MakeMessageBox(Kind::Information, "eins\rzwei\r\rdrei", &owner);
  EXPECT_EQ(owned->windowTitle(), "Quorvel - Morphing: a.qvp");
  EXPECT_EQ(owned->text(), "eins\nzwei\n\ndrei");
  EXPECT_EQ(owned->textFormat(), Qt::PlainText) << "file names with < or & show as they are";
  auto orphan = TQtDialogs::MakeMessageBox(Kind::Information, "x", nullptr);
  EXPECT_EQ(orphan->windowTitle(), "???");
}

TEST(QtDialogs, QuestionsReportTheClickedButton) {
  QWidget main;
  main.setWindowTitle("Hauptfenster");
  TQtDialogs dialogs(&main);
  const std::pair<QString, TSaveAnswer> answers[] = {
      {"Ja", TSaveAnswer::Yes}, {"Nein", TSaveAnswer::No}, {"Abbrechen", TSaveAnswer::Cancel}};
  for (const auto& [button, answer] : answers) {
    QString caption;
    OnNextModal([&caption, button = button](QWidget* w) {
      caption = w->windowTitle();
      ClickButton(w, button);
    });
    EXPECT_EQ(dialogs.AskSave("Speichern?"), answer) << button.toStdString();
    EXPECT_EQ(caption, "Hauptfenster");
  }
  OnNextModal([](QWidget* w) { ClickButton(w, "Ja"); });
  EXPECT_TRUE(dialogs.AskYesNo("Wirklich?"));
  OnNextModal([](QWidget* w) { w->close(); });  // closing the box counts as "Nein"
  EXPECT_FALSE(dialogs.Confirm("Überschreiben?"));
}

TEST(QtDialogs, FilterListsBecomeQtNameFilters) {
  EXPECT_EQ(TQtDialogs::QtNameFilters("Quorvel-Projekte *.qvp|*.qvp"),
            QStringList{"Quorvel-Projekte *.qvp (*.qvp)"});
  EXPECT_EQ(TQtDialogs::QtNameFilters("Bilder|*.png;*.gif|Alle|*"),
            (QStringList{"Bilder (*.png *.gif)", "Alle (*)"}));
  EXPECT_TRUE(TQtDialogs::QtNameFilters("").isEmpty());
  EXPECT_EQ(TQtDialogs::QtNameFilters("ohne Muster").size(), 0) << "an unpaired entry is dropped";
}

TEST(QtDialogs, FileDialogTakesEverySetting) {
  QTemporaryDir dir;
  TFileDialog d;
  d.Kind = TFileDialogKind::Save;
  d.Title = "AVI-Datei speichern";
  d.Filter = "Quorvel-Projekte *.avi|*.avi|Alle|*";
  d.FilterIndex = 2;
  d.DefaultExt = ".avi";
  d.InitialDir = dir.path().toStdString();
  d.FileName = "Morph.AVI";
  d.OverwritePrompt = true;
  auto qd = TQtDialogs::MakeFileDialog(d, nullptr);
  EXPECT_EQ(qd->windowTitle(), "AVI-Datei speichern");
  EXPECT_EQ(qd->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(qd->selectedNameFilter(), "Alle (*)");
  EXPECT_EQ(qd->defaultSuffix(), "avi");
  EXPECT_EQ(QDir(qd->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
  EXPECT_FALSE(qd->testOption(QFileDialog::DontConfirmOverwrite));
  d.OverwritePrompt = false;
  EXPECT_TRUE(
      TQtDialogs::MakeFileDialog(d, nullptr)->testOption(QFileDialog::DontConfirmOverwrite));

  TFileDialog pic;
  pic.Kind = TFileDialogKind::PictureOpen;
  pic.Filter = "A|*.png|B|*.gif|C|*.jpg";
  pic.FilterIndex = 3;
  auto qp = TQtDialogs::MakeFileDialog(pic, nullptr);
  EXPECT_EQ(qp->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(qp->fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(qp->selectedNameFilter(), "C (*.jpg)");
  EXPECT_NE(qp->findChild<QLabel*>("PicturePreview"), nullptr);
}

TEST(QtDialogs, SaveDialogAppendsTheDefaultExtensionAndReportsTheFilter) {
  QTemporaryDir dir;
  TQtDialogs dialogs;
  TFileDialog d;
  d.Kind = TFileDialogKind::Save;
  d.Filter = "Videos|*.avi|Alle|*.*";
  d.FilterIndex = 1;
  d.DefaultExt = ".avi";
  d.InitialDir = dir.path().toStdString();
  OnNextModal([](QWidget* w) {
    auto* qd = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(qd, nullptr);
    qd->selectNameFilter("Alle (*.*)");
    qd->findChild<QLineEdit*>("fileNameEdit")->setText("clip");
    static_cast<QDialog*>(qd)->accept();  // the file dialog's own accept checks the name
  });
  ASSERT_TRUE(dialogs.ExecuteFileDialog(d));
  EXPECT_EQ(d.FileName, QDir(dir.path()).filePath("clip.avi").toStdString());
  EXPECT_EQ(d.FilterIndex, 2);

  OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  d.FileName = "unverändert";
  EXPECT_FALSE(dialogs.ExecuteFileDialog(d));
  EXPECT_EQ(d.FileName, "unverändert");
}

}  // namespace
}  // namespace qv
