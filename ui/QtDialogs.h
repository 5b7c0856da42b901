// The editor's message boxes, file dialogs and colour dialog as Qt windows. Installed by the
// application for the whole run; engine, storage and video reach it through Dialogs().
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "Dialogs.h"

class QFileDialog;
class QWidget;

namespace qv {

class TQtDialogs : public IDialogs {
 public:
  // The kinds of message box, each with its icon and buttons.
  enum class TBoxKind { Information, Message, Error, SaveQuestion, Question, Confirmation };

  explicit TQtDialogs(QWidget* mainWindow = nullptr);
  ~TQtDialogs() override;
  TQtDialogs(const TQtDialogs&) = delete;
  TQtDialogs& operator=(const TQtDialogs&) = delete;

  // The window that owns the boxes when no other window of the program is active.
  void SetMainWindow(QWidget* w) { FMainWindow = w; }

  void ShowInformation(const std::string& text) override;
  void ShowMessage(const std::string& text, TMessagePlacement placement) override;
  void ShowError(const std::string& text) override;
  TSaveAnswer AskSave(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  bool ExecuteFileDialog(TFileDialog& dlg) override;
  bool ChooseColor(TColor& color) override;

  // The owner of a box: the active window, else the main window, else none.
  QWidget* Owner() const;
  // A ready box of that kind, owned by owner (may be nullptr), with the owner's title as
  // caption ("???" without owner). The caller runs it.
  static std::unique_ptr<QMessageBox> MakeMessageBox(TBoxKind kind, const std::string& text,
                                                     QWidget* owner);
  // The file dialog set up from dlg (title, filters, preselected filter, default extension,
  // start folder, proposed name, overwrite prompt); a picture dialog gets a preview.
  static std::unique_ptr<QFileDialog> MakeFileDialog(const TFileDialog& dlg, QWidget* owner);
  // Copies the user's choice of an accepted dialog back into dlg.
  static void TakeFileDialogResult(const QFileDialog& qd, TFileDialog& dlg);

  // "desc|patterns|desc|patterns" as Qt name filters "desc (p1 p2)".
  static QStringList QtNameFilters(const std::string& filter);

 private:
  int RunBox(TBoxKind kind, const std::string& text, QWidget* owner);
  QWidget* FMainWindow;
};

}  // namespace qv
