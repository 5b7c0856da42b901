// Message boxes, questions and file choices, as one interface. The application installs an
// implementation (Qt windows in the editor, stderr on the command line, a script in tests);
// engine, storage and video reach it only through Dialogs().
// Texts use "\r" as line break; an implementation that shows them turns it into a line break.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Types.h"

namespace qv {

enum class TSaveAnswer { Yes, No, Cancel };

// Where a plain message is centred.
enum class TMessagePlacement { Screen, MainWindow };

enum class TFileDialogKind { Open, Save, PictureOpen, PictureSave };

// One use of a file dialog. The caller sets what it needs; the owner keeps one object per
// dialog kind for the whole run, so fields not set keep the values of the previous use.
struct TFileDialog {
  TFileDialogKind Kind = TFileDialogKind::Open;
  std::string Title;
  std::string Filter;       // "description|patterns|description|patterns", patterns joined by ";"
  int FilterIndex = 1;      // 1-based, as the caller preselects it; set to the chosen entry
  std::string DefaultExt;   // appended (with ".") to a name typed without extension
  std::string InitialDir;
  std::string FileName;     // proposed name; the chosen full path on success
  bool OverwritePrompt = false;
  bool RefuseReadOnly = false;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // Information box with an information icon and OK.
  virtual void ShowInformation(const std::string& text) = 0;
  // Plain message box with OK, centred on the screen or on the main window.
  virtual void ShowMessage(const std::string& text, TMessagePlacement placement) = 0;
  // General error display for an error no command caught; the program goes on.
  virtual void ShowError(const std::string& text) = 0;
  // Save question: "Ja", "Nein", "Abbrechen" with a question icon.
  virtual TSaveAnswer AskSave(const std::string& text) = 0;
  // Question with "Ja" and "Nein", "Nein" preselected; true for "Ja".
  virtual bool AskYesNo(const std::string& text) = 0;
  // Confirmation ("Ja"/"Nein", "Nein" preselected), for example before overwriting a file.
  virtual bool Confirm(const std::string& text) = 0;
  // File dialog; true when the user chose a file (its path is then in dlg.FileName).
  virtual bool ExecuteFileDialog(TFileDialog& dlg) = 0;
  // Colour dialog starting with color; true and the chosen colour when confirmed.
  virtual bool ChooseColor(TColor& color) = 0;
};

// The installed implementation; a stderr implementation until the application installs one.
IDialogs& Dialogs();
// Installs d (not owned); nullptr restores the stderr implementation. Answers the previous one.
IDialogs* SetDialogs(IDialogs* d);

// Command-line implementation: messages go to stderr; questions answer No or Cancel, file and
// colour dialogs are cancelled.
class TStderrDialogs : public IDialogs {
 public:
  void ShowInformation(const std::string& text) override;
  void ShowMessage(const std::string& text, TMessagePlacement placement) override;
  void ShowError(const std::string& text) override;
  TSaveAnswer AskSave(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  bool ExecuteFileDialog(TFileDialog& dlg) override;
  bool ChooseColor(TColor& color) override;
};

// "\r" line breaks as "\n", for output outside the system.
std::string MessageLinesToNewlines(const std::string& text);

}  // namespace qv
