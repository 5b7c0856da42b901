// quorvel-cli convert: an existing video written again frame by frame with the chosen codec.
#include <iostream>

#include "CliCommands.h"
#include "CliProgress.h"
#include "CliSupport.h"
#include "CompressorDialog.h"
#include "ConvertAVI.h"
#include "MorphError.h"

namespace qv::cli {

int RunConvertCommand(const TCliArgs& args) {
  const TAVICompressOptions options = CompressOptionsOf(args);
  const std::string out = args.Value("-o");
  TFixedCompressorDialog codec(options);
  TCompressorDialogScope codecScope(codec);
  TInterruptScope interrupt;
  TProgressBar bar(ShowProgress(args), 0);
  int32_t written = 0;
  const int shownBefore = CliDialogs().MessagesShown();
  bool done = false;
  try {
    done = ConvertAVI(args.Positionals[0], out, [&](const TBitmap&, int32_t frameNr) {
      written = frameNr + 1;
      bar.Update(written);
      return TInterruptScope::Interrupted();
    });
  } catch (...) {
    bar.Finish();
    throw;
  }
  bar.Finish();
  if (!done) {
    if (CliDialogs().MessagesShown() != shownBefore) throw EReported();
    throw EMorphError("Konnte AVI-Datei nicht erstellen.");
  }
  if (TInterruptScope::Interrupted()) {
    std::cerr << "Abgebrochen: " << written << " Bilder in \"" << out << "\" geschrieben."
              << std::endl;
    return kExitError;
  }
  return kExitOk;
}

}  // namespace qv::cli
