// Decoding text for display: UTF-8 when the whole text is valid UTF-8, otherwise the text is
// taken as Windows-1252 (the code page older files of the system were written in).
#pragma once

#include <string>

namespace qv {

std::u32string DecodeText(const std::string& text);

}  // namespace qv
