// Scratch folders and file helpers of the storage tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "JpegFile.h"

namespace qv::test {

// A fresh folder below the build tree, removed with the object.
class TTempDir {
 public:
  TTempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "misc";
    FPath = std::filesystem::path(QUORVEL_BINARY_DIR) / "test-scratch" / "storage" / name;
    std::filesystem::remove_all(FPath);
    std::filesystem::create_directories(FPath);
  }
  ~TTempDir() { std::filesystem::remove_all(FPath); }
  // The folder with a trailing "/", or a path inside it.
  std::string Path(const std::string& rel = "") const { return FPath.string() + "/" + rel; }

 private:
  std::filesystem::path FPath;
};

// Sets (or with nullopt unsets) an environment variable for the lifetime of the object.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, std::optional<std::string> value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  ~TScopedEnv() {
    if (FOld)
      setenv(FName.c_str(), FOld->c_str(), 1);
    else
      unsetenv(FName.c_str());
  }
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;

 private:
  std::string FName;
  std::optional<std::string> FOld;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A black w x h JPEG picture at path, its folders made.
inline void MakeJpeg(const std::string& path, int32_t w, int32_t h) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  TBitmap bmp(pf24bit);
  bmp.SetSize(w, h);
  SaveJpegFile(path, bmp, 90);
}

// Lines joined with CR LF after each, as the documents write them.
inline std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

}  // namespace qv::test
