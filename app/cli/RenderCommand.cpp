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

int RunVideoRender(const TCliArgs& args, const TAVICompressOptions& options, int64_t totalFrames,
                   const std::function<bool(TCliRenderHost&)>& render,
                   const std::function<std::string()>& failure) {
  const std::string out = args.Value("-o");
  TFixedCompressorDialog codec(options);
  TCompressorDialogScope codecScope(codec);
  TInterruptScope interrupt;
  TCliRenderHost host(ShowProgress(args), totalFrames);
  bool done = false;
  try {
    done = render(host);
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
  if (!done) {
    if (failure)
      if (const std::string text = failure(); !text.empty()) throw EMorphError(text);
    throw EMorphError(host.NotOpenedReason().empty() ? "Konnte AVI-Datei nicht erstellen."
                                                     : host.NotOpenedReason());
  }
  return kExitOk;
}

int RunRenderCommand(const TCliArgs& args) {
  const TAVICompressOptions options = CompressOptionsOf(args);
  TMorphing m;
  LoadProject(args.Positionals[0], m);
  m.SetShowCompressDialog(true);
  const int64_t total =
      int64_t(m.StillImagesAtStart()) + m.FramesMorph() + m.StillImagesAtEnd() + 2;
  return RunVideoRender(args, options, total, [&](TCliRenderHost& host) {
    return RenderMorphAVI(host, m, args.Value("-o"));
  });
}

}  // namespace qv::cli
