// quorvel-cli without a project: help, version, wrong usage and a project that is not there.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "ProgramVersion.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

using test::RunCli;

TEST(CliUsage, HelpAndVersion) {
  const auto help = RunCli({"--help"});
  EXPECT_EQ(help.ExitCode, 0);
  for (const char* command : {"render", "frame", "blend", "info", "convert", "sequence"})
    EXPECT_NE(help.Out.find(std::string("quorvel-cli ") + command), std::string::npos) << command;
  const auto commandHelp = RunCli({"frame", "--help"});
  EXPECT_EQ(commandHelp.ExitCode, 0);
  EXPECT_NE(commandHelp.Out.find("--field even|odd|both"), std::string::npos);

  const auto version = RunCli({"--version"});
  EXPECT_EQ(version.ExitCode, 0);
  EXPECT_EQ(version.Out, "quorvel-cli " + GetProgramVersion() + "\n");
}

TEST(CliUsage, WrongUsageExitsWithTwoAndTheUsage) {
  test::TTempDir dir;
  const std::string p = dir.File("p.qvp");
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"paint", p},
      {"render", p},                        // no -o
      {"render", "-o", dir.File("a.avi")},  // no project
      {"render", p, "-o", dir.File("a.avi"), "--codec", "divx"},
      {"render", p, "-o", dir.File("a.avi"), "--quality", "0"},
      {"render", p, "-o", dir.File("a.avi"), "--quality", "101"},
      {"render", p, "-o", dir.File("a.avi"), "--quality", "9x"},
      {"render", p, "-o", dir.File("a.avi"), "--loud"},
      {"render", p, p, "-o", dir.File("a.avi")},
      {"render", p, "-o"},
      {"frame", p, "-o", dir.File("f.bmp")},  // no --at
      {"frame", p, "--at", "3/2", "-o", dir.File("f.bmp")},
      {"frame", p, "--at", "1/0", "-o", dir.File("f.bmp")},
      {"frame", p, "--at", "-1/4", "-o", dir.File("f.bmp")},
      {"frame", p, "--at", "half", "-o", dir.File("f.bmp")},
      {"frame", p, "--at", "1/2", "-o", dir.File("f.png")},
      {"frame", p, "--at", "1/2", "-o", dir.File("f.bmp"), "--field", "top"},
      {"frame", p, "--at=1/2", "-o", dir.File("f.bmp"), "--composed=yes"},
      {"blend", p, "--at", "1/2"},
      {"info", p, "--yaml"},
      {"convert", dir.File("in.avi")},
      {"sequence", dir.File("s.msq")},  // no -o
  };
  for (const auto& args : cases) {
    const auto r = RunCli(args);
    std::string shown;
    for (const auto& a : args) shown += a + " ";
    EXPECT_EQ(r.ExitCode, 2) << shown;
    EXPECT_NE(r.Err.find("quorvel-cli "), std::string::npos) << shown << "\n" << r.Err;
    EXPECT_TRUE(r.Out.empty()) << shown;
  }
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(p).parent_path()))
      << "nothing is written after wrong usage";
}

TEST(CliUsage, MissingProjectIsAnErrorWithAGermanText) {
  test::TTempDir dir;
  const std::string missing = dir.File("fehlt.qvp");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"info", missing},
        {"render", missing, "-o", dir.File("a.avi")},
        {"frame", missing, "--at", "1/2", "-o", dir.File("f.bmp")},
        {"blend", missing, "--at", "1/2", "-o", dir.File("b.bmp")}}) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.ExitCode, 1) << args[0];
    EXPECT_NE(r.Err.find("ist keine Morphing-Datei"), std::string::npos) << r.Err;
    EXPECT_EQ(r.Err.find('\r'), std::string::npos) << "line breaks are printed as newlines";
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.avi")));
  }
}

}  // namespace
}  // namespace qv
