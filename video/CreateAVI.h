// The AVI writer: one video stream of 24-bit frames, uncompressed or through a codec, written
// frame by frame. Calling order: construct; set FPS, Width, Height, Filename; CreateAVIFile;
// AddAVIFrame once per frame; CloseAVIFile(false); destroy. One writer serves one file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "Bitmap.h"
#include "CompressOptions.h"

namespace qv {

class TAVIFileWriter;
class TVideoEncoder;

enum TResRestriction : uint8_t { rrAny, rr2x2, rr4x4, rr8x8 };
enum TAVICreatorState : uint8_t { csStopped, csWriting };
enum TAVIStreamType : uint8_t { av_video, av_audio, av_text };

// A set of stream kinds, written {av_video, av_audio}.
class TAVIStreamTypes {
 public:
  constexpr TAVIStreamTypes() = default;
  constexpr TAVIStreamTypes(std::initializer_list<TAVIStreamType> types) {
    for (TAVIStreamType t : types) FBits |= uint8_t(1u << t);
  }
  constexpr bool Contains(TAVIStreamType t) const { return (FBits >> t) & 1u; }

 private:
  uint8_t FBits = 0;
};

class TAVICreator {
 public:
  TAVICreator();
  // Completes a file still open, also after an error or a stop in the middle.
  ~TAVICreator();
  TAVICreator(const TAVICreator&) = delete;
  TAVICreator& operator=(const TAVICreator&) = delete;

  uint8_t FPS() const { return FFPS; }
  void SetFPS(uint8_t fps) { FFPS = fps; }
  // The setters ignore values <= 0, the current value, and any change while writing; the value
  // stored is reduced to the granularity of ResRestriction.
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t w);
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t h);
  const std::string& Filename() const { return FFilename; }
  void SetFilename(const std::string& fn) { FFilename = fn; }
  TResRestriction ResRestriction() const { return FResRestriction; }
  // Stores a new granularity and reduces the current width and height to it.
  void SetResRestriction(TResRestriction r);

  TAVICreatorState CreatorState() const { return FCreatorState; }
  // Number of the next frame to write.
  int32_t AVIFrameIndex() const { return FAVIFrameIndex; }
  // The file written: Filename, or the one chosen in the save dialog.
  const std::string& WorkFile() const { return FWorkFile; }
  // The codec settings of the video stream (uncompressed unless the codec choice changed them).
  const TAVICompressOptions& CompressOptions() const { return FAVIOptions; }
  // Why the last CreateAVIFile answered false after the file was opened; empty otherwise.
  const std::string& FailureText() const { return FFailureText; }

  // Opens the file and prepares the video stream; true when frames can be written. Without a
  // Filename a save dialog asks for the file (and whether to overwrite it); with
  // showCompressorDialog the codec choice of CompressorDialog() is offered. Never raises: every
  // failure, and every cancel, answers false (files already opened are deleted).
  bool CreateAVIFile(bool showCompressorDialog, TAVIStreamTypes aStreamTypes);
  // Draws graphic at (0, 0) onto the frame canvas (cut at the right and bottom, the rest kept
  // from the frame before) and appends the canvas as the next frame.
  void AddAVIFrame(const TBitmap& graphic);
  // Appends a packed device-independent bitmap of dibSize bytes (40-byte header, then its
  // pixels): its biSizeImage pixel bytes are written as they are.
  void AddDibFrame(const uint8_t* PDib, size_t dibSize);
  // Ends writing and completes the file; with Delete the file is removed instead.
  void CloseAVIFile(bool Delete);

 private:
  int32_t Restricted(int32_t v) const;
  void OpenVideoStream(bool showCompressorDialog);
  void WriteFrame(const uint8_t* bits, size_t size);
  bool Finish();

  TBitmap FAVIBitmap;
  int32_t FAVIFrameIndex = 0;
  std::unique_ptr<TAVIFileWriter> FFile;
  std::unique_ptr<TVideoEncoder> FEncoder;
  bool FHasVideo = false;
  bool FWriteFailed = false;
  uint32_t FBitmapSize = 0;
  std::string FWorkFile;
  std::string FFilename;
  uint8_t FFPS = 25;
  int32_t FWidth = 320;
  int32_t FHeight = 240;
  TResRestriction FResRestriction = rr8x8;
  TAVICreatorState FCreatorState = csStopped;
  TAVICompressOptions FAVIOptions;
  TAVIStreamTypes FStreamTypes;
  std::string FFailureText;
};

}  // namespace qv
