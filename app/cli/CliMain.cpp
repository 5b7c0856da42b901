// quorvel-cli: renders, inspects and converts Quorvel projects without the editor.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliSupport.h"
#include "MorphError.h"
#include "ProgramVersion.h"

namespace {

using namespace qv::cli;

int UsageError(const std::string& text, const TCliCommand* command) {
  std::cerr << "quorvel-cli: " << text << "\n";
  if (command)
    std::cerr << "Aufruf: quorvel-cli " << command->Synopsis << "\n";
  else
    std::cerr << UsageText();
  return kExitUsage;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) return UsageError("Es fehlt ein Befehl.", nullptr);
  if (args[0] == "--version") {
    std::cout << "quorvel-cli " << qv::GetProgramVersion() << "\n";
    return kExitOk;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << UsageText();
    return kExitOk;
  }
  const TCliCommand* command = FindCommand(args[0]);
  if (!command) return UsageError("Unbekannter Befehl: " + args[0], nullptr);
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (AsksForHelp(rest)) {
    std::cout << "Aufruf: quorvel-cli " << command->Synopsis << "\n";
    return kExitOk;
  }
  try {
    return command->Run(ParseArgs(rest, command->Options, command->Positionals));
  } catch (const EUsage& e) {
    return UsageError(e.what(), command);
  } catch (const EReported&) {
    return kExitError;
  } catch (const qv::EMorphError& e) {
    std::cerr << qv::MessageLinesToNewlines(e.what()) << std::endl;
    return kExitError;
  }
}

}  // namespace

int main(int argc, char** argv) {
  qv::SetDialogs(&CliDialogs());
  int code = kExitError;
  try {
    code = Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
  }
  qv::SetDialogs(nullptr);
  return code;
}
