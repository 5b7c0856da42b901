// The one exception type of Quorvel: every failure carries a German text (UTF-8) that the
// command which started the work shows to the user. Line breaks inside the text are "\r".
#pragma once

#include <stdexcept>
#include <string>

namespace qv {

class EMorphError : public std::runtime_error {
 public:
  explicit EMorphError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace qv
