#include "CliSupport.h"

#include <unistd.h>

#include <filesystem>

#include "Morph.h"
#include "MorphError.h"
#include "PictureFile.h"

namespace qv::cli {

void TCliDialogs::ShowInformation(const std::string& text) {
  ++FShown;
  TStderrDialogs::ShowInformation(text);
}

void TCliDialogs::ShowMessage(const std::string& text, TMessagePlacement placement) {
  ++FShown;
  TStderrDialogs::ShowMessage(text, placement);
}

void TCliDialogs::ShowError(const std::string& text) {
  ++FShown;
  TStderrDialogs::ShowError(text);
}

TCliDialogs& CliDialogs() {
  static TCliDialogs dialogs;
  return dialogs;
}

void LoadProject(const std::string& fn, TMorphing& m) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(fn, ec);
  m.LoadFromFile(ec ? fn : full.lexically_normal().string());
  // A refused file leaves the document without a name, and the loader has said why.
  if (m.FileName().empty()) throw EReported();
}

TAVICompressOptions CompressOptionsOf(const TCliArgs& args) {
  TAVICompressOptions o;
  const std::string key = args.Value("--codec", "none");
  if (key != "none" && !AVICodecFromKey(key, o.Codec))
    throw EUsage("Unbekannter Codec: " + key + " (none, mjpeg, ffv1, h264 oder mpeg4)");
  if (args.Has("--quality")) o.Quality = ParseInteger(args.Value("--quality"), 1, 100, "--quality");
  if (!AVICodecAvailable(o.Codec))
    throw EMorphError("Der Codec \"" + AVICodecName(o.Codec) +
                      "\" ist in dieser FFmpeg-Installation nicht verfügbar.");
  return o;
}

void CheckPictureName(const std::string& fn) {
  const std::string e = PictureExtension(fn);
  if (e != ".BMP" && e != ".JPG" && e != ".JPEG")
    throw EUsage("Das Bild wird als .bmp, .jpg oder .jpeg gespeichert, nicht als \"" + fn + "\".");
}

void SavePicture(const std::string& fn, const TBitmap& bitmap) {
  if (!SaveFramePicture(fn, bitmap)) CheckPictureName(fn);
}

bool ShowProgress(const TCliArgs& args) {
  return !args.Has("--quiet") && ::isatty(STDERR_FILENO);
}

}  // namespace qv::cli
