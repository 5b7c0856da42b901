// Running quorvel-cli as a user does: arguments, exit code, standard output and error.
#pragma once

#include <string>
#include <vector>

namespace qv::test {

struct TCliResult {
  int ExitCode = -1;
  std::string Out, Err;
};

// Runs the program with args and waits for it.
TCliResult RunCli(const std::vector<std::string>& args);

}  // namespace qv::test
