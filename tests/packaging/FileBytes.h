// Small readers for the packaging tests: whole files and little- and big-endian numbers.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace qv::test {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline uint32_t Le(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | uint8_t(b.at(at + i));
  return v;
}

inline uint32_t Be32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | uint8_t(b.at(at + i));
  return v;
}

inline std::string SourcePath(const std::string& rel) {
  return std::string(QUORVEL_SOURCE_DIR) + "/" + rel;
}

}  // namespace qv::test
