// The RIFF parser with which the video tests take AVI files apart, on arbitrary bytes: it
// walks every chunk and list within the file and never reads past its end.
#include <cstdlib>
#include <functional>

#include "FuzzSupport.h"
#include "VideoTestTools.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = qv::fuzz::WriteScratchFile("fuzz.riff", data, size);
  const std::vector<qv::test::TChunk> top = qv::test::ParseRiff(path);
  std::function<void(const qv::test::TChunk&)> check = [&](const qv::test::TChunk& c) {
    if (c.Offset + 8 > size || c.Data.size() > size) std::abort();
    for (const qv::test::TChunk& child : c.Children) check(child);
  };
  for (const qv::test::TChunk& c : top) check(c);
  if (!top.empty()) top.front().FindAll("movi");
  return 0;
}
