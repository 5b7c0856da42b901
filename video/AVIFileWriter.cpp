#include "AVIFileWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace qv {

namespace {

constexpr uint32_t AVIF_HASINDEX = 0x10;
constexpr uint32_t AVIF_ISINTERLEAVED = 0x100;
constexpr uint32_t AVIIF_KEYFRAME = 0x10;
constexpr uint8_t AVI_INDEX_OF_INDEXES = 0x00;
constexpr uint8_t AVI_INDEX_OF_CHUNKS = 0x01;
constexpr uint32_t AVISTDINDEX_DELTAFRAME = 0x80000000u;
constexpr size_t kChunkHeader = 8;
constexpr size_t kListHeader = 12;
constexpr size_t kIndexHeader = 24;  // index data before the entries ('indx' and 'ix00')
constexpr size_t kDmlhSize = 248;

// Little-endian bytes of a header under construction.
class TBytes {
 public:
  void U8(uint8_t v) { FData.push_back(v); }
  void U16(uint16_t v) {
    U8(uint8_t(v));
    U8(uint8_t(v >> 8));
  }
  void U32(uint32_t v) {
    U16(uint16_t(v));
    U16(uint16_t(v >> 16));
  }
  void U64(uint64_t v) {
    U32(uint32_t(v));
    U32(uint32_t(v >> 32));
  }
  void Zeros(size_t n) { FData.insert(FData.end(), n, 0); }
  void Bytes(const std::vector<uint8_t>& b) { FData.insert(FData.end(), b.begin(), b.end()); }
  // Starts a chunk (or, with a list type, a list); answers the position of its size field.
  size_t Begin(uint32_t fourcc, uint32_t listType = 0) {
    U32(fourcc);
    size_t sizePos = FData.size();
    U32(0);
    if (listType) U32(listType);
    return sizePos;
  }
  // Ends the chunk whose size field is at sizePos, padding it to an even length.
  void End(size_t sizePos) {
    uint32_t size = uint32_t(FData.size() - sizePos - 4);
    for (int i = 0; i < 4; ++i) FData[sizePos + i] = uint8_t(size >> (8 * i));
    if (size & 1) U8(0);
  }
  size_t Size() const { return FData.size(); }
  const uint8_t* Data() const { return FData.data(); }

 private:
  std::vector<uint8_t> FData;
};

uint32_t Clamp32(uint64_t v) {
  return v > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                  : uint32_t(v);
}

}  // namespace

TAVIFileWriter::TAVIFileWriter(uint64_t maxPartSize) : FMaxPartSize(maxPartSize) {}

TAVIFileWriter::~TAVIFileWriter() {
  if (IsOpen()) Finish();
}

bool TAVIFileWriter::Create(const std::string& fileName) {
  Abandon();
  FFile = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  FPos = 0;
  return FFile >= 0;
}

void TAVIFileWriter::Abandon() {
  if (FFile >= 0) ::close(FFile);
  FFile = -1;
}

bool TAVIFileWriter::Append(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    ssize_t n = ::write(FFile, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
    FPos += uint64_t(n);
  }
  return true;
}

bool TAVIFileWriter::PatchU32(uint64_t offset, uint32_t value) {
  uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  return ::pwrite(FFile, b, 4, off_t(offset)) == 4;
}

bool TAVIFileWriter::WriteHeaders(const TAVIVideoFormat* format) {
  if (!IsOpen()) return false;
  FHasVideo = format != nullptr;
  FFormat = FHasVideo ? *format : TAVIVideoFormat{};
  FChunkId = FFormat.Compressed ? FourCC("00dc") : FourCC("00db");
  FLargestChunk = FFormat.SuggestedBufferSize;
  const uint32_t fps = FFormat.FPS ? FFormat.FPS : 1;

  TBytes h;
  size_t riff = h.Begin(FourCC("RIFF"), FourCC("AVI "));
  size_t hdrl = h.Begin(FourCC("LIST"), FourCC("hdrl"));
  size_t avih = h.Begin(FourCC("avih"));
  FAvihPos = h.Size();
  h.U32(1000000 / fps);                                         // dwMicroSecPerFrame
  h.U32(Clamp32(uint64_t(FFormat.SuggestedBufferSize) * fps));  // dwMaxBytesPerSec
  h.U32(0);                                                     // dwPaddingGranularity
  h.U32(AVIF_HASINDEX | AVIF_ISINTERLEAVED);                    // dwFlags
  h.U32(0);                                                     // dwTotalFrames
  h.U32(0);                                                     // dwInitialFrames
  h.U32(FHasVideo ? 1 : 0);                                     // dwStreams
  h.U32(FFormat.SuggestedBufferSize);
  h.U32(uint32_t(FFormat.Width));
  h.U32(uint32_t(FFormat.Height));
  h.Zeros(16);
  h.End(avih);
  if (FHasVideo) {
    size_t strl = h.Begin(FourCC("LIST"), FourCC("strl"));
    size_t strh = h.Begin(FourCC("strh"));
    FStrhPos = h.Size();
    h.U32(FourCC("vids"));
    h.U32(FFormat.Handler);
    h.U32(0);  // dwFlags
    h.U16(0);  // wPriority
    h.U16(0);  // wLanguage
    h.U32(0);  // dwInitialFrames
    h.U32(1);  // dwScale
    h.U32(FFormat.FPS);
    h.U32(0);  // dwStart
    h.U32(0);  // dwLength
    h.U32(FFormat.SuggestedBufferSize);
    h.U32(0);  // dwQuality
    h.U32(0);  // dwSampleSize
    h.U16(0);
    h.U16(0);
    h.U16(uint16_t(FFormat.Width));
    h.U16(uint16_t(FFormat.Height));
    h.End(strh);
    size_t strf = h.Begin(FourCC("strf"));
    h.Bytes(FFormat.Format);
    h.End(strf);
    // Room for the super index, which replaces this chunk once the file has a second part.
    FIndxPos = h.Size();
    size_t junk = h.Begin(FourCC("JUNK"));
    h.Zeros(kIndexHeader + 16 * SuperIndexEntries);
    h.End(junk);
    h.End(strl);
  }
  size_t odml = h.Begin(FourCC("LIST"), FourCC("odml"));
  size_t dmlh = h.Begin(FourCC("dmlh"));
  FDmlhPos = h.Size();
  h.Zeros(kDmlhSize);
  h.End(dmlh);
  h.End(odml);
  h.End(hdrl);
  FPart = TPart{};
  FPart.MoviStart = h.Size();
  h.Begin(FourCC("LIST"), FourCC("movi"));
  h.End(riff);
  FPartCount = 1;
  FTotalFrames = 0;
  FFirstPartFrames = 0;
  FSuperIndex.clear();
  return Append(h.Data(), h.Size()) && UpdateSizes() && UpdateCounts();
}

uint64_t TAVIFileWriter::ProjectedPartSize(size_t chunkBytes) const {
  uint64_t frames = FPart.Entries.size() + 1;
  uint64_t size = FPos - FPart.RiffStart + kChunkHeader + chunkBytes + (chunkBytes & 1);
  size += kChunkHeader + kIndexHeader + 8 * frames;         // 'ix00'
  if (FPartCount == 1) size += kChunkHeader + 16 * frames;  // 'idx1'
  return size;
}

bool TAVIFileWriter::WriteFrame(const uint8_t* data, size_t size, bool keyFrame) {
  if (!IsOpen() || !FHasVideo || size >= std::numeric_limits<uint32_t>::max()) return false;
  if (!FPart.Entries.empty() && ProjectedPartSize(size) > FMaxPartSize) {
    if (FPartCount >= SuperIndexEntries) return false;
    if (!EndPart(false) || !StartPart()) return false;
  }
  TBytes header;
  header.U32(FChunkId);
  header.U32(uint32_t(size));
  TEntry entry{FPos, uint32_t(size), keyFrame};
  static const uint8_t pad = 0;
  if (!Append(header.Data(), header.Size()) || !Append(data, size) ||
      ((size & 1) && !Append(&pad, 1)))
    return false;
  FPart.Entries.push_back(entry);
  ++FTotalFrames;
  if (FPartCount == 1) ++FFirstPartFrames;
  if (size > FLargestChunk) {
    FLargestChunk = uint32_t(size);
    if (!PatchU32(FAvihPos + 28, FLargestChunk) || !PatchU32(FStrhPos + 36, FLargestChunk))
      return false;
  }
  return UpdateSizes() && UpdateCounts();
}

bool TAVIFileWriter::UpdateSizes() {
  return PatchU32(FPart.RiffStart + 4, uint32_t(FPos - FPart.RiffStart - kChunkHeader)) &&
         PatchU32(FPart.MoviStart + 4, uint32_t(FPos - FPart.MoviStart - kChunkHeader));
}

bool TAVIFileWriter::UpdateCounts() {
  const uint32_t frames = Clamp32(uint64_t(FTotalFrames));
  return PatchU32(FAvihPos + 16, FFirstPartFrames) &&
         (!FHasVideo || PatchU32(FStrhPos + 32, frames)) && PatchU32(FDmlhPos, frames);
}

bool TAVIFileWriter::StartPart() {
  FPart = TPart{};
  FPart.RiffStart = FPos;
  FPart.MoviStart = FPos + kListHeader;
  TBytes h;
  size_t riff = h.Begin(FourCC("RIFF"), FourCC("AVIX"));
  h.Begin(FourCC("LIST"), FourCC("movi"));
  h.End(riff);
  ++FPartCount;
  return Append(h.Data(), h.Size()) && UpdateSizes();
}

bool TAVIFileWriter::EndPart(bool last) {
  if (FHasVideo && (!last || FPartCount > 1)) {
    if (!WriteStandardIndex() || !WriteSuperIndex()) return false;
  }
  if (!PatchU32(FPart.MoviStart + 4, uint32_t(FPos - FPart.MoviStart - kChunkHeader))) return false;
  if (FPartCount == 1 && !WriteIdx1()) return false;
  return PatchU32(FPart.RiffStart + 4, uint32_t(FPos - FPart.RiffStart - kChunkHeader));
}

bool TAVIFileWriter::WriteStandardIndex() {
  const uint64_t base = FPart.MoviStart + 8;  // the 'movi' type code
  TBytes ix;
  ix.U32(FourCC("ix00"));
  ix.U32(uint32_t(kIndexHeader + 8 * FPart.Entries.size()));
  ix.U16(2);  // wLongsPerEntry
  ix.U8(0);   // bIndexSubType
  ix.U8(AVI_INDEX_OF_CHUNKS);
  ix.U32(uint32_t(FPart.Entries.size()));
  ix.U32(FChunkId);
  ix.U64(base);
  ix.U32(0);
  for (const TEntry& e : FPart.Entries) {
    ix.U32(uint32_t(e.Offset + kChunkHeader - base));
    ix.U32(e.Size | (e.Key ? 0 : AVISTDINDEX_DELTAFRAME));
  }
  FSuperIndex.push_back({FPos, uint32_t(ix.Size()), uint32_t(FPart.Entries.size())});
  return Append(ix.Data(), ix.Size());
}

bool TAVIFileWriter::WriteSuperIndex() {
  TBytes h;
  h.U32(FourCC("indx"));
  h.U32(uint32_t(kIndexHeader + 16 * SuperIndexEntries));
  h.U16(4);  // wLongsPerEntry
  h.U8(0);   // bIndexSubType
  h.U8(AVI_INDEX_OF_INDEXES);
  h.U32(uint32_t(FSuperIndex.size()));
  h.U32(FChunkId);
  h.Zeros(12);
  for (const TSuperEntry& e : FSuperIndex) {
    h.U64(e.Offset);
    h.U32(e.Size);
    h.U32(e.Duration);
  }
  h.Zeros(16 * (SuperIndexEntries - FSuperIndex.size()));
  return ::pwrite(FFile, h.Data(), h.Size(), off_t(FIndxPos)) == ssize_t(h.Size());
}

bool TAVIFileWriter::WriteIdx1() {
  const uint64_t base = FPart.MoviStart + 8;
  TBytes idx;
  idx.U32(FourCC("idx1"));
  idx.U32(uint32_t(16 * FPart.Entries.size()));
  for (const TEntry& e : FPart.Entries) {
    idx.U32(FChunkId);
    idx.U32(e.Key ? AVIIF_KEYFRAME : 0);
    idx.U32(uint32_t(e.Offset - base));
    idx.U32(e.Size);
  }
  return Append(idx.Data(), idx.Size());
}

bool TAVIFileWriter::Finish() {
  if (!IsOpen()) return false;
  const uint32_t fps = FFormat.FPS ? FFormat.FPS : 1;
  bool ok = EndPart(true) && UpdateCounts() &&
            PatchU32(FAvihPos + 4, Clamp32(uint64_t(FLargestChunk) * fps));
  FPart.Entries.clear();
  FPart.Entries.shrink_to_fit();
  ok = ::close(FFile) == 0 && ok;
  FFile = -1;
  return ok;
}

}  // namespace qv
