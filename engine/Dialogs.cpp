#include "Dialogs.h"

#include <iostream>

namespace qv {

namespace {
TStderrDialogs gStderrDialogs;
IDialogs* gDialogs = &gStderrDialogs;

void PrintToStderr(const char* kind, const std::string& text) {
  std::cerr << kind << MessageLinesToNewlines(text) << std::endl;
}
}  // namespace

IDialogs& Dialogs() { return *gDialogs; }

IDialogs* SetDialogs(IDialogs* d) {
  IDialogs* previous = gDialogs;
  gDialogs = d ? d : &gStderrDialogs;
  return previous;
}

std::string MessageLinesToNewlines(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c == '\r') c = '\n';
  return out;
}

void TStderrDialogs::ShowInformation(const std::string& text) { PrintToStderr("", text); }
void TStderrDialogs::ShowMessage(const std::string& text, TMessagePlacement) {
  PrintToStderr("", text);
}
void TStderrDialogs::ShowError(const std::string& text) { PrintToStderr("Fehler: ", text); }
TSaveAnswer TStderrDialogs::AskSave(const std::string& text) {
  PrintToStderr("", text);
  return TSaveAnswer::Cancel;
}
bool TStderrDialogs::AskYesNo(const std::string& text) {
  PrintToStderr("", text);
  return false;
}
bool TStderrDialogs::Confirm(const std::string& text) {
  PrintToStderr("", text);
  return false;
}
bool TStderrDialogs::ExecuteFileDialog(TFileDialog&) { return false; }
bool TStderrDialogs::ChooseColor(TColor&) { return false; }

}  // namespace qv
