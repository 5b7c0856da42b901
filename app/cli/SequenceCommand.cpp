// quorvel-cli sequence: the video of a sequence file with the sequence's own settings; the
// codec comes from the command line instead of the codec dialog.
#include <filesystem>
#include <iostream>

#include "CliCommands.h"
#include "CliProgress.h"
#include "CliSupport.h"
#include "MorphError.h"
#include "MultiMorph.h"
#include "RenderMultiMorph.h"

namespace qv::cli {

namespace {

// Loads the sequence file fn into mm; raises EReported when the loader refused it (it said
// why) and EMorphError when there is no such file.
void LoadSequence(const std::string& fn, TMultiMorph& mm) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(fn, ec);
  const std::string name = ec ? fn : full.lexically_normal().string();
  if (!std::filesystem::is_regular_file(name, ec))
    throw EMorphError("Die Sequenzdatei \"" + fn + "\" gibt es nicht.");
  mm.LoadFromFile(name);
  if (mm.FileName().empty()) throw EReported();
}

}  // namespace

int RunSequenceCommand(const TCliArgs& args) {
  const TAVICompressOptions options = CompressOptionsOf(args);
  TMultiMorph mm;
  LoadSequence(args.Positionals[0], mm);
  mm.SetShowCompressDialog(true);
  mm.InitializeSequences();
  return RunVideoRender(
      args, options, mm.FrameCount(),
      [&](TCliRenderHost& host) { return RenderMultiMorphAVI(host, mm, args.Value("-o")); },
      [&]() -> std::string {
        return mm.FrameCount() == 0 ? "Die Sequenz enthält kein Morphing, das gerendert werden kann."
                                    : "";
      });
}

}  // namespace qv::cli
