// quorvel-cli sequence: the video of a sequence file with the sequence's own settings; the
// codec comes from the command line instead of the codec dialog.
#include <filesystem>
#include <iostream>

#include "CliCommands.h"
#include "CliProgress.h"
#include "CliSupport.h"
#include "CompressorDialog.h"
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
  const std::string out = args.Value("-o");
  TMultiMorph mm;
  LoadSequence(args.Positionals[0], mm);

  TFixedCompressorDialog codec(options);
  TCompressorDialogScope codecScope(codec);
  mm.SetShowCompressDialog(true);
  mm.InitializeSequences();
  TInterruptScope interrupt;
  TCliRenderHost host(ShowProgress(args), mm.FrameCount());
  bool done = false;
  try {
    done = RenderMultiMorphAVI(host, mm, out);
  } catch (...) {
    host.Bar().Finish();
    throw;
  }
  host.Bar().Finish();
  if (host.FStopped) {
    std::cerr << "Abgebrochen: " << host.FramesWritten() << " Bilder in \"" << out
              << "\" geschrieben." << std::endl;
    return kExitError;
  }
  if (!done && mm.FrameCount() == 0)
    throw EMorphError("Die Sequenz enthält kein Morphing, das gerendert werden kann.");
  if (!done)
    throw EMorphError(host.NotOpenedReason().empty() ? "Konnte AVI-Datei nicht erstellen."
                                                     : host.NotOpenedReason());
  return kExitOk;
}

}  // namespace qv::cli
