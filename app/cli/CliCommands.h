// The command table of quorvel-cli: one entry per command with its usage, its options and the
// function that runs it. A new command is one more entry in CliCommands.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CliArgs.h"
#include "CompressOptions.h"

namespace qv::cli {

// Exit codes of the program.
constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

struct TCliCommand {
  std::string Name;
  std::string Synopsis;     // the usage line after the program name
  std::string Description;  // one line for the overview
  std::vector<TOptionDef> Options;
  size_t Positionals = 1;
  // Runs the command; answers the exit code. Errors are raised as EMorphError (exit 1) or
  // EUsage (exit 2).
  int (*Run)(const TCliArgs& args) = nullptr;
};

const std::vector<TCliCommand>& CliCommands();
const TCliCommand* FindCommand(const std::string& name);
// The overview printed by --help and after wrong usage without a known command.
std::string UsageText();

class TCliRenderHost;

// A video of totalFrames frames written by render with the codec options, a progress bar and
// Ctrl+C as stop. render answers whether the file was made. Answers kExitOk, or kExitError
// after a stop; when no file was made raises EMorphError with the text failure answers then
// (when given and not empty), else with the writer's reason.
int RunVideoRender(const TCliArgs& args, const TAVICompressOptions& options, int64_t totalFrames,
                   const std::function<bool(TCliRenderHost&)>& render,
                   const std::function<std::string()>& failure = {});

int RunRenderCommand(const TCliArgs& args);
int RunFrameCommand(const TCliArgs& args);
int RunBlendCommand(const TCliArgs& args);
int RunInfoCommand(const TCliArgs& args);
int RunConvertCommand(const TCliArgs& args);
int RunSequenceCommand(const TCliArgs& args);

}  // namespace qv::cli
