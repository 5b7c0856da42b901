// What several commands of quorvel-cli share: the messages of the engine on stderr, loading a
// project, the codec options and the names of written pictures.
#pragma once

#include <stdexcept>
#include <string>

#include "CliArgs.h"
#include "CompressOptions.h"
#include "Dialogs.h"

namespace qv {
class TBitmap;
class TMorphing;
}  // namespace qv

namespace qv::cli {

// A failure whose message has already been printed: the program exits with 1.
class EReported : public std::runtime_error {
 public:
  EReported() : std::runtime_error("") {}
};

// The engine's messages on stderr (questions are answered No or Cancel), counted so that a
// command can tell whether the engine has explained a failure.
class TCliDialogs : public TStderrDialogs {
 public:
  void ShowInformation(const std::string& text) override;
  void ShowMessage(const std::string& text, TMessagePlacement placement) override;
  void ShowError(const std::string& text) override;
  int MessagesShown() const { return FShown; }

 private:
  int FShown = 0;
};
// The instance main installs.
TCliDialogs& CliDialogs();

// Loads the project file fn into m; raises EReported when the loader refused it (it said
// why) and EMorphError for other failures.
void LoadProject(const std::string& fn, TMorphing& m);

// The codec of --codec (default uncompressed) with the quality of --quality; EUsage for an
// unknown codec or quality, EMorphError for a codec the installed FFmpeg cannot encode.
TAVICompressOptions CompressOptionsOf(const TCliArgs& args);

// EUsage unless fn ends in ".bmp", ".jpg" or ".jpeg" (any case).
void CheckPictureName(const std::string& fn);
// Writes an exported frame as the editor does: BMP in the bitmap's format, JPEG with EXIF.
void SavePicture(const std::string& fn, const TBitmap& bitmap);

// Whether the progress is shown: stderr is a terminal and --quiet is not given.
bool ShowProgress(const TCliArgs& args);

}  // namespace qv::cli
