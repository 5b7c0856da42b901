// quorvel-cli render: the whole video of a project with its own settings; the codec comes
// from the command line instead of the project's codec dialog.
#include <iostream>

#include "CliCommands.h"
#include "CliProgress.h"
#include "CliSupport.h"
#include "CompressorDialog.h"
#include "Morph.h"
#include "MorphError.h"
#include "RenderMorph.h"

namespace qv::cli {

int RunRenderCommand(const TCliArgs& args) {
  const TAVICompressOptions options = CompressOptionsOf(args);
  const std::string out = args.Value("-o");
  TMorphing m;
  LoadProject(args.Positionals[0], m);

  TFixedCompressorDialog codec(options);
  TCompressorDialogScope codecScope(codec);
  m.SetShowCompressDialog(true);
  const int64_t total =
      int64_t(m.StillImagesAtStart()) + m.FramesMorph() + m.StillImagesAtEnd() + 2;
  TInterruptScope interrupt;
  TCliRenderHost host(ShowProgress(args), total);
  bool done = false;
  try {
    done = RenderMorphAVI(host, m, out);
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
  if (!done)
    throw EMorphError(host.NotOpenedReason().empty() ? "Konnte AVI-Datei nicht erstellen."
                                                     : host.NotOpenedReason());
  return kExitOk;
}

}  // namespace qv::cli
