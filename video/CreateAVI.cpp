#include "CreateAVI.h"

#include <unistd.h>

#include <filesystem>

#include "AVIFileWriter.h"
#include "Canvas.h"
#include "CompressorDialog.h"
#include "Dialogs.h"
#include "DibFormat.h"
#include "FFmpegSetup.h"
#include "MorphError.h"
#include "VideoEncoder.h"

namespace qv {

namespace {

const char* const kNotInitialised =
    "Konnte Frame nicht hinzufügen. \rAVI-Datei wurde noch nicht initialisiert.";
const char* const kFrameFailed = "Konnte Frame nicht hinzufügen";
const char* const kNotCreated =
    "Konnte AVI-Datei nicht schließen. AVI-Datei wurde noch nicht erstellt.";

// Asks for the file to write; false when the user cancels or refuses to overwrite.
bool AskForFile(std::string& fileName) {
  TFileDialog dlg;
  dlg.Kind = TFileDialogKind::Save;
  dlg.DefaultExt = "avi";
  dlg.Filter = "AVI-Dateien (*.avi)|*.avi";
  dlg.RefuseReadOnly = true;
  if (!Dialogs().ExecuteFileDialog(dlg)) return false;
  std::error_code ec;
  if (std::filesystem::exists(dlg.FileName, ec) &&
      !Dialogs().Confirm("\"" + dlg.FileName + "\" überschreiben?"))
    return false;
  fileName = dlg.FileName;
  return true;
}

}  // namespace

TAVICreator::TAVICreator() : FAVIBitmap(pf24bit) {}

TAVICreator::~TAVICreator() {
  if (FFile && FFile->IsOpen()) Finish();
}

int32_t TAVICreator::Restricted(int32_t v) const {
  static constexpr int32_t kStep[] = {1, 2, 4, 8};
  return v / kStep[FResRestriction] * kStep[FResRestriction];
}

void TAVICreator::SetWidth(int32_t w) {
  if (w <= 0 || w == FWidth || FCreatorState == csWriting) return;
  FWidth = Restricted(w);
}

void TAVICreator::SetHeight(int32_t h) {
  if (h <= 0 || h == FHeight || FCreatorState == csWriting) return;
  FHeight = Restricted(h);
}

void TAVICreator::SetResRestriction(TResRestriction r) {
  if (r == FResRestriction) return;
  FResRestriction = r;
  FHeight = Restricted(FHeight);
  FWidth = Restricted(FWidth);
}

bool TAVICreator::CreateAVIFile(bool showCompressorDialog, TAVIStreamTypes aStreamTypes) {
  FFailureText.clear();
  FWorkFile = FFilename;
  try {
    if (FWorkFile.empty() && !AskForFile(FWorkFile)) return false;
  } catch (const EMorphError&) {
    return false;
  }
  InitFFmpegLibraries();
  FStreamTypes = aStreamTypes;
  FAVIFrameIndex = 0;
  FCreatorState = csWriting;
  FWriteFailed = false;
  FHasVideo = false;
  try {
    FFile = std::make_unique<TAVIFileWriter>();
    if (!FFile->Create(FWorkFile))
      throw EMorphError(
          "Konnte AVI-Datei nicht erstellen. \rFestplatte voll oder Datei in Benutzung?");
    if (!FStreamTypes.Contains(av_video)) {
      if (!FFile->WriteHeaders(nullptr))
        throw EMorphError(
            "Konnte AVI-Datei nicht erstellen. \rFestplatte voll oder Datei in Benutzung?");
      return true;
    }
    OpenVideoStream(showCompressorDialog);
    return FCreatorState == csWriting;
  } catch (const std::exception& e) {
    FFailureText = e.what();
    CloseAVIFile(true);
    return false;
  }
}

void TAVICreator::OpenVideoStream(bool showCompressorDialog) {
  FAVIBitmap.SetPixelFormat(pf24bit);
  FAVIBitmap.SetSize(FWidth, FHeight);
  FBitmapSize = uint32_t(FAVIBitmap.ImageSize());
  if (FAVIBitmap.Empty() || FFPS == 0) throw EMorphError("Konnte keinen AVI-Stream erzeugen.");

  FAVIOptions = TAVICompressOptions{};
  if (showCompressorDialog && !CompressorDialog().Execute(FAVIOptions)) {
    CloseAVIFile(true);
    return;
  }
  TAVIVideoFormat format;
  format.FPS = FFPS;
  format.Width = FAVIBitmap.Width();
  format.Height = FAVIBitmap.Height();
  format.SuggestedBufferSize = FBitmapSize;
  TBitmapInfoHeader info = DibHeader(format.Width, format.Height);
  if (FAVIOptions.Codec == vc_Uncompressed) {
    format.Handler = FourCC("DIB ");
    format.Format = DibHeaderBlock(info, std::vector<uint8_t>(4, 0));  // one colour entry
  } else {
    FEncoder = TVideoEncoder::Open(FAVIOptions, format.Width, format.Height, FFPS);
    if (!FEncoder) throw EMorphError("Konnte keinen komprimierten Stream erzeugen.");
    info.biCompression = AVICodecFourCC(FAVIOptions.Codec);
    format.Handler = info.biCompression;
    format.Compressed = true;
    format.Format = DibHeaderBlock(info, FEncoder->ExtraData());
  }
  if (!FFile->WriteHeaders(&format)) throw EMorphError("AVIStreamSetFormat-Fehler");
  FHasVideo = true;
}

void TAVICreator::WriteFrame(const uint8_t* bits, size_t size) {
  bool ok = FHasVideo;
  if (ok && FEncoder) {
    ok = size >= FBitmapSize &&
         FEncoder->Encode(bits, FAVIBitmap.RowBytes(), [this](const uint8_t* d, size_t n, bool k) {
           return FFile->WriteFrame(d, n, k);
         });
  } else if (ok) {
    ok = FFile->WriteFrame(bits, size, true);
  }
  if (!ok) {
    FWriteFailed = FHasVideo;
    throw EMorphError(kFrameFailed);
  }
  ++FAVIFrameIndex;
}

void TAVICreator::AddAVIFrame(const TBitmap& graphic) {
  if (FCreatorState != csWriting) throw EMorphError(kNotInitialised);
  if (!FAVIBitmap.Empty()) FAVIBitmap.Canvas().Draw(0, 0, graphic);
  WriteFrame(FAVIBitmap.Bits(), FAVIBitmap.ImageSize());
}

void TAVICreator::AddDibFrame(const uint8_t* PDib, size_t dibSize) {
  if (FCreatorState != csWriting) throw EMorphError(kNotInitialised);
  TBitmapInfoHeader info;
  if (!ReadDibHeader(PDib, dibSize, info) || dibSize - DibHeaderSize < info.biSizeImage)
    throw EMorphError(kFrameFailed);
  WriteFrame(PDib + DibHeaderSize, info.biSizeImage);
}

bool TAVICreator::Finish() {
  bool ok = true;
  if (FEncoder)
    ok = FEncoder->Flush(
        [this](const uint8_t* d, size_t n, bool k) { return FFile->WriteFrame(d, n, k); });
  FEncoder.reset();
  ok = FFile->Finish() && ok;
  FFile.reset();
  return ok;
}

void TAVICreator::CloseAVIFile(bool Delete) {
  if (FCreatorState != csWriting) throw EMorphError(kNotCreated);
  FAVIBitmap.SetSize(0, 0);
  FCreatorState = csStopped;
  bool ok = true;
  if (Delete) {
    FEncoder.reset();
    if (FFile) FFile->Abandon();
    FFile.reset();
    ::unlink(FWorkFile.c_str());
  } else if (FFile) {
    ok = Finish();
  }
  // A failure already reported by a frame is not raised a second time.
  if (!ok && !FWriteFailed) throw EMorphError(kFrameFailed);
}

}  // namespace qv
