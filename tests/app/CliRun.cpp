#include "CliRun.h"

#include <fstream>
#include <sstream>

#include "VideoTestTools.h"

namespace qv::test {

namespace {

std::string ReadAll(const std::string& fn) {
  std::ifstream in(fn, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TCliResult RunCli(const std::vector<std::string>& args) {
  TTempDir dir;
  const std::string out = dir.File("out.txt"), err = dir.File("err.txt");
  std::string command = Quoted(QUORVEL_CLI);
  for (const std::string& a : args) command += " " + Quoted(a);
  command += " >" + Quoted(out) + " 2>" + Quoted(err) + " </dev/null";
  TCliResult r;
  r.ExitCode = RunCommand(command);
  r.Out = ReadAll(out);
  r.Err = ReadAll(err);
  return r;
}

}  // namespace qv::test
