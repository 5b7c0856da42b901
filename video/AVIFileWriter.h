// The RIFF layer of the AVI writer: one video stream (or none), frames appended as chunks of
// the 'movi' list, an idx1 index at the end. Past MaxPartSize the file continues in OpenDML
// form: further RIFF "AVIX" parts, a standard index 'ix00' at the end of every part's 'movi'
// list, the super index 'indx' in the stream header and the total frame count in 'dmlh'.
//
// The file stays readable when writing stops at any point: sizes and frame counts in the
// headers are brought up to date after every frame, and frames lie as plain chunks in the
// 'movi' list, so a reader without index finds them by walking the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

constexpr uint32_t FourCC(const char (&s)[5]) {
  return uint32_t(uint8_t(s[0])) | (uint32_t(uint8_t(s[1])) << 8) |
         (uint32_t(uint8_t(s[2])) << 16) | (uint32_t(uint8_t(s[3])) << 24);
}

// What the stream headers of the video stream hold.
struct TAVIVideoFormat {
  uint32_t FPS = 25;                 // stream rate; the scale is 1
  int32_t Width = 0, Height = 0;     // frame rectangle (0, 0, Width, Height)
  uint32_t Handler = 0;              // fccHandler of the stream header
  std::vector<uint8_t> Format;       // the 'strf' block (BITMAPINFO and codec data)
  uint32_t SuggestedBufferSize = 0;  // raised when a larger frame arrives
  bool Compressed = false;           // chunk id "00dc" instead of "00db"
};

class TAVIFileWriter {
 public:
  static constexpr uint64_t DefaultMaxPartSize = uint64_t(1) << 30;
  // Number of parts the super index has room for.
  static constexpr uint32_t SuperIndexEntries = 256;

  explicit TAVIFileWriter(uint64_t maxPartSize = DefaultMaxPartSize);
  TAVIFileWriter(const TAVIFileWriter&) = delete;
  TAVIFileWriter& operator=(const TAVIFileWriter&) = delete;
  // Finishes a file still open; failures are ignored here.
  ~TAVIFileWriter();

  // Creates (or empties) the file. False when it cannot be created.
  bool Create(const std::string& fileName);
  bool IsOpen() const { return FFile >= 0; }
  // Writes the headers and opens the 'movi' list; format nullptr writes a file without streams.
  bool WriteHeaders(const TAVIVideoFormat* format);
  // Appends one frame. False on a write failure, or when no video stream was declared.
  bool WriteFrame(const uint8_t* data, size_t size, bool keyFrame);
  // Writes the indexes and the final counts, and closes the file. False on a write failure;
  // the file is closed in any case.
  bool Finish();
  // Closes the file as it is, without index.
  void Abandon();

  int64_t FramesWritten() const { return FTotalFrames; }

 private:
  struct TEntry {
    uint64_t Offset;  // of the chunk header, from the start of the file
    uint32_t Size;    // of the chunk data
    bool Key;
  };
  struct TPart {
    uint64_t RiffStart = 0;  // position of "RIFF"
    uint64_t MoviStart = 0;  // position of "LIST" of the 'movi' list
    std::vector<TEntry> Entries;
  };
  struct TSuperEntry {
    uint64_t Offset;
    uint32_t Size;
    uint32_t Duration;
  };

  bool Append(const void* data, size_t size);
  bool PatchU32(uint64_t offset, uint32_t value);
  bool StartPart();
  bool EndPart(bool last);
  bool WriteStandardIndex();
  bool WriteIdx1();
  bool WriteSuperIndex();
  bool UpdateSizes();
  bool UpdateCounts();
  uint64_t ProjectedPartSize(size_t chunkBytes) const;

  uint64_t FMaxPartSize;
  int FFile = -1;
  uint64_t FPos = 0;
  bool FHasVideo = false;
  TAVIVideoFormat FFormat;
  uint32_t FChunkId = 0;
  uint32_t FLargestChunk = 0;
  // Positions of the header values brought up to date while writing.
  uint64_t FAvihPos = 0, FStrhPos = 0, FIndxPos = 0, FDmlhPos = 0;
  TPart FPart;
  uint32_t FPartCount = 0;
  uint32_t FFirstPartFrames = 0;
  int64_t FTotalFrames = 0;
  std::vector<TSuperEntry> FSuperIndex;
};

}  // namespace qv
