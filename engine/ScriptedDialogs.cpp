#include "ScriptedDialogs.h"

#include <stdexcept>

namespace qv {

TScriptedDialogs::TScriptedDialogs() : FPrevious(SetDialogs(this)) {}
TScriptedDialogs::~TScriptedDialogs() { SetDialogs(FPrevious); }

std::vector<std::string> TScriptedDialogs::Texts(TKind kind) const {
  std::vector<std::string> out;
  for (const auto& s : FShown)
    if (s.Kind == kind) out.push_back(s.Text);
  return out;
}

void TScriptedDialogs::ShowInformation(const std::string& text) {
  FShown.push_back({TKind::Information, text});
}
void TScriptedDialogs::ShowMessage(const std::string& text, TMessagePlacement) {
  FShown.push_back({TKind::Message, text});
}
void TScriptedDialogs::ShowError(const std::string& text) {
  FShown.push_back({TKind::Error, text});
}

TSaveAnswer TScriptedDialogs::AskSave(const std::string& text) {
  FShown.push_back({TKind::SaveQuestion, text});
  if (FSaveAnswers.empty()) throw std::logic_error("unscripted save question: " + text);
  TSaveAnswer a = FSaveAnswers.front();
  FSaveAnswers.pop_front();
  return a;
}

bool TScriptedDialogs::NextBool(const char* what) {
  if (FBoolAnswers.empty()) throw std::logic_error(std::string("unscripted ") + what);
  bool a = FBoolAnswers.front();
  FBoolAnswers.pop_front();
  return a;
}

bool TScriptedDialogs::AskYesNo(const std::string& text) {
  FShown.push_back({TKind::YesNo, text});
  return NextBool("question");
}

bool TScriptedDialogs::Confirm(const std::string& text) {
  FShown.push_back({TKind::Confirm, text});
  return NextBool("confirmation");
}

bool TScriptedDialogs::ExecuteFileDialog(TFileDialog& dlg) {
  FShown.push_back({TKind::File, dlg.Title});
  FFileDialogs.push_back(dlg);
  if (FFileAnswers.empty()) throw std::logic_error("unscripted file dialog: " + dlg.Title);
  std::string name = FFileAnswers.front();
  FFileAnswers.pop_front();
  if (name.empty()) return false;
  dlg.FileName = name;
  return true;
}

bool TScriptedDialogs::ChooseColor(TColor& color) {
  FShown.push_back({TKind::Color, ""});
  if (FColorAnswers.empty()) throw std::logic_error("unscripted colour dialog");
  auto [ok, c] = FColorAnswers.front();
  FColorAnswers.pop_front();
  if (ok) color = c;
  return ok;
}

}  // namespace qv
