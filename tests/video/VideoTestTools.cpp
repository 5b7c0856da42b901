#include "VideoTestTools.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace qv::test {

TTempDir::TTempDir() {
  std::random_device rd;
  FPath = std::filesystem::temp_directory_path() /
          ("quorvel-video-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
  std::filesystem::create_directories(FPath);
}

TTempDir::~TTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}

std::string Quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

int RunCommand(const std::string& command, std::string* output) {
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return -1;
  std::array<char, 65536> buf;
  size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0)
    if (output) output->append(buf.data(), n);
  int status = ::pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TProbe Probe(const std::string& file) {
  TProbe r;
  std::string out;
  if (RunCommand("ffprobe -v error -select_streams v:0 -count_packets -show_entries "
                 "stream=codec_name,width,height,r_frame_rate,nb_read_packets -of "
                 "default=noprint_wrappers=1 " +
                     Quoted(file) + " 2>/dev/null",
                 &out) != 0)
    return r;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "codec_name") r.Codec = value;
    if (key == "r_frame_rate") r.Rate = value;
    if (key == "width") r.Width = std::atoi(value.c_str());
    if (key == "height") r.Height = std::atoi(value.c_str());
    if (key == "nb_read_packets") r.Packets = std::atoll(value.c_str());
  }
  r.Ok = !r.Codec.empty();
  return r;
}

std::vector<std::vector<uint8_t>> DecodeWithFFmpeg(const std::string& file, int width, int height) {
  std::string out;
  RunCommand("ffmpeg -v quiet -i " + Quoted(file) + " -f rawvideo -pix_fmt bgr24 - 2>/dev/null",
             &out);
  const size_t frameBytes = size_t(width) * height * 3;
  std::vector<std::vector<uint8_t>> frames;
  for (size_t pos = 0; pos + frameBytes <= out.size(); pos += frameBytes)
    frames.emplace_back(out.begin() + pos, out.begin() + pos + frameBytes);
  return frames;
}

bool EncodeTestFrames(const std::string& file, int w, int h, int fps, int frames,
                      const std::string& codecArgs) {
  const std::string raw = file + ".bgr";
  {
    std::ofstream out(raw, std::ios::binary);
    for (int n = 0; n < frames; ++n) {
      auto pixels = TopDown(TestFrame(w, h, n), w, h);
      out.write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size()));
    }
  }
  const bool ok =
      RunCommand("ffmpeg -v error -y -f rawvideo -pix_fmt bgr24 -s " + std::to_string(w) + "x" +
                 std::to_string(h) + " -r " + std::to_string(fps) + " -i " + Quoted(raw) + " " +
                 codecArgs + " " + Quoted(file) + " 2>&1") == 0;
  std::filesystem::remove(raw);
  return ok;
}

bool MakeSoundOnlyAVI(const std::string& file) {
  return RunCommand("ffmpeg -v error -y -f lavfi -i sine=duration=1 -c:a pcm_s16le " +
                    Quoted(file) + " 2>&1") == 0;
}

std::vector<uint8_t> TestFrame(int width, int height, int n) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<uint8_t> dib(size_t(stride) * height, 0);
  const int sq = std::max(4, std::min(width, height) / 4);
  const int sx = (n * 7) % std::max(1, width - sq), sy = (n * 3) % std::max(1, height - sq);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = dib.data() + size_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      bool inSquare = x >= sx && x < sx + sq && y >= sy && y < sy + sq;
      row[3 * x] = uint8_t(inSquare ? 230 : x * 255 / std::max(1, width - 1));
      row[3 * x + 1] = uint8_t(inSquare ? 40 : y * 255 / std::max(1, height - 1));
      row[3 * x + 2] = uint8_t((x + y) / 2 + 37 * n);  // wraps: every frame differs clearly
    }
  }
  return dib;
}

std::vector<uint8_t> TopDown(const std::vector<uint8_t>& dib, int width, int height) {
  const size_t stride = size_t(width * 3 + 3) / 4 * 4, row = size_t(width) * 3;
  std::vector<uint8_t> out(row * height);
  for (int y = 0; y < height; ++y)
    std::copy_n(dib.begin() + (height - 1 - y) * stride, row, out.begin() + y * row);
  return out;
}

double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size() || a.empty()) return 1e9;
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
  return sum / double(a.size());
}

uint32_t Tag(const char* s) {
  return Le32(reinterpret_cast<const uint8_t*>(s));
}
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) {
  return uint16_t(p[0] | (p[1] << 8));
}

const TChunk* TChunk::Find(const char* id) const {
  for (const TChunk& c : Children) {
    if (c.Id == Tag(id) || (c.ListType && c.ListType == Tag(id))) return &c;
    if (const TChunk* f = c.Find(id)) return f;
  }
  return nullptr;
}

std::vector<const TChunk*> TChunk::FindAll(const char* id) const {
  std::vector<const TChunk*> out;
  for (const TChunk& c : Children) {
    if (c.Id == Tag(id) || (c.ListType && c.ListType == Tag(id))) out.push_back(&c);
    auto sub = c.FindAll(id);
    out.insert(out.end(), sub.begin(), sub.end());
  }
  return out;
}

namespace {

std::vector<TChunk> ParseRange(std::ifstream& in, uint64_t start, uint64_t end) {
  std::vector<TChunk> out;
  uint64_t pos = start;
  while (pos + 8 <= end) {
    uint8_t h[12];
    in.seekg(std::streamoff(pos));
    if (!in.read(reinterpret_cast<char*>(h), 8)) break;
    TChunk c;
    c.Id = Le32(h);
    c.Offset = pos;
    c.Size = Le32(h + 4);
    const uint64_t dataEnd = std::min(end, pos + 8 + c.Size);
    if (c.Id == Tag("RIFF") || c.Id == Tag("LIST")) {
      if (!in.read(reinterpret_cast<char*>(h + 8), 4)) break;
      c.ListType = Le32(h + 8);
      c.Children = ParseRange(in, pos + 12, dataEnd);
    } else if (c.Size <= (1u << 20) && c.Id != Tag("00db") && c.Id != Tag("00dc")) {
      c.Data.resize(size_t(dataEnd - pos - 8));
      in.read(reinterpret_cast<char*>(c.Data.data()), std::streamsize(c.Data.size()));
    }
    pos += 8 + uint64_t(c.Size) + (c.Size & 1);
    out.push_back(std::move(c));
  }
  return out;
}

}  // namespace

std::vector<TChunk> ParseRiff(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return ParseRange(in, 0, std::filesystem::file_size(file));
}

}  // namespace qv::test
