// Helpers of the video tests: a scratch folder, the ffprobe/ffmpeg command line as the real
// client of the files written, test pictures, and a small RIFF parser.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qv::test {

// A fresh folder below the system's temp folder, removed with everything in it.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  std::string File(const std::string& name) const { return (FPath / name).string(); }

 private:
  std::filesystem::path FPath;
};

// Runs a shell command; answers its exit code and collects its standard output.
int RunCommand(const std::string& command, std::string* output = nullptr);
// A file name quoted for the shell.
std::string Quoted(const std::string& s);

struct TProbe {
  bool Ok = false;
  std::string Codec;  // codec_name of the first video stream
  std::string Rate;   // r_frame_rate, e.g. "25/1"
  int Width = 0, Height = 0;
  int64_t Packets = -1;  // packets counted by reading the file
};
TProbe Probe(const std::string& file);

// Encodes test pictures 0 .. frames-1 of w x h with ffmpeg itself (codecArgs choose the
// codec); false when ffmpeg failed.
bool EncodeTestFrames(const std::string& file, int w, int h, int fps, int frames,
                      const std::string& codecArgs);
// An AVI file with one second of sound and no video, made by ffmpeg.
bool MakeSoundOnlyAVI(const std::string& file);

// Every frame ffmpeg decodes from file as 24-bit BGR rows from the top, no padding.
std::vector<std::vector<uint8_t>> DecodeWithFFmpeg(const std::string& file, int width, int height);

// Bottom-up BGR rows padded to four bytes (the layout of a 24-bit DIB) with a picture that
// changes from frame to frame: smooth gradients and a moving square.
std::vector<uint8_t> TestFrame(int width, int height, int n);
// The same picture as rows from the top without padding.
std::vector<uint8_t> TopDown(const std::vector<uint8_t>& dib, int width, int height);
// Mean absolute difference of two equally long byte arrays.
double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

uint32_t Tag(const char* s);
uint32_t Le32(const uint8_t* p);
uint16_t Le16(const uint8_t* p);

// One chunk or list of a RIFF file.
struct TChunk {
  uint32_t Id = 0;
  uint32_t ListType = 0;      // for "RIFF" and "LIST"
  uint64_t Offset = 0;        // of the chunk header
  uint32_t Size = 0;          // of the data (for lists including the type)
  std::vector<uint8_t> Data;  // data of plain chunks, read when small or asked for
  std::vector<TChunk> Children;
  // The first child (searched depth first) with that id, or list type for lists.
  const TChunk* Find(const char* id) const;
  std::vector<const TChunk*> FindAll(const char* id) const;
};
// The top-level chunks of a RIFF file; frame data is not read.
std::vector<TChunk> ParseRiff(const std::string& file);

}  // namespace qv::test
