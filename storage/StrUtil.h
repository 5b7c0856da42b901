// Small string helpers of the storage code.
#pragma once

#include <string>
#include <string_view>

namespace qv {

inline std::string ReplaceAll(std::string s, std::string_view from, std::string_view to) {
  if (from.empty()) return s;
  for (size_t pos = 0; (pos = s.find(from, pos)) != std::string::npos; pos += to.size())
    s.replace(pos, from.size(), to);
  return s;
}

}  // namespace qv
