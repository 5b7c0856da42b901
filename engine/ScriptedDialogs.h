// Dialogs for tests: answers are queued beforehand, every shown text is recorded. A question
// without a queued answer fails loudly instead of waiting for a user.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "Dialogs.h"

namespace qv {

class TScriptedDialogs : public IDialogs {
 public:
  enum class TKind { Information, Message, Error, SaveQuestion, YesNo, Confirm, File, Color };
  struct TShown {
    TKind Kind;
    std::string Text;
  };

  TScriptedDialogs();  // installs itself
  ~TScriptedDialogs() override;  // restores the previous implementation

  void QueueSave(TSaveAnswer a) { FSaveAnswers.push_back(a); }
  void QueueYesNo(bool a) { FBoolAnswers.push_back(a); }
  // A file dialog answer: an empty name cancels the dialog.
  void QueueFile(const std::string& fileName) { FFileAnswers.push_back(fileName); }
  void QueueColor(bool ok, TColor c) { FColorAnswers.push_back({ok, c}); }

  const std::vector<TShown>& Shown() const { return FShown; }
  std::vector<std::string> Texts(TKind kind) const;
  void ClearShown() { FShown.clear(); }
  // The dialogs asked for, with their settings at the time.
  const std::vector<TFileDialog>& FileDialogs() const { return FFileDialogs; }

  void ShowInformation(const std::string& text) override;
  void ShowMessage(const std::string& text, TMessagePlacement placement) override;
  void ShowError(const std::string& text) override;
  TSaveAnswer AskSave(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  bool ExecuteFileDialog(TFileDialog& dlg) override;
  bool ChooseColor(TColor& color) override;

 private:
  bool NextBool(const char* what);
  IDialogs* FPrevious;
  std::vector<TShown> FShown;
  std::vector<TFileDialog> FFileDialogs;
  std::deque<TSaveAnswer> FSaveAnswers;
  std::deque<bool> FBoolAnswers;
  std::deque<std::string> FFileAnswers;
  std::deque<std::pair<bool, TColor>> FColorAnswers;
};

}  // namespace qv
