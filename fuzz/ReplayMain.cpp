// Runs a fuzz target once on every file of the folders (or files) named on the command line,
// in name order, as the regression test of its seed corpus and of the reproducers of fixed
// findings. A folder that does not exist is skipped (a target without findings has no
// reproducer folder); a run that finds no file at all fails, as the folders were named wrong.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& p) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  if (std::filesystem::is_regular_file(p, ec)) {
    files.push_back(p);
  } else if (std::filesystem::is_directory(p, ec)) {
    for (const auto& e : std::filesystem::directory_iterator(p, ec))
      if (e.is_regular_file() && e.path().filename().string()[0] != '.') files.push_back(e.path());
    std::sort(files.begin(), files.end());
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  size_t runs = 0;
  for (int i = 1; i < argc; ++i) {
    for (const std::filesystem::path& file : FilesOf(argv[i])) {
      std::ifstream in(file, std::ios::binary);
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
      if (!in.eof() && in.fail()) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
      }
      std::fprintf(stderr, "%s\n", file.c_str());
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
      ++runs;
    }
  }
  std::fprintf(stderr, "%zu inputs replayed\n", runs);
  return runs > 0 ? 0 : 1;
}
