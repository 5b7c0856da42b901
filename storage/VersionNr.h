// The version number stored in project files.
#pragma once

#include <string_view>

#include "Types.h"

namespace qv {

// "1.2.3.4" gives (1, 2, 3, 4), a number without "." below 2000 gives (n, 0, 0, 0), one of
// 2000 or more (2, n mod 100, 0, 0); a malformed text gives zeros.
TVersionNr ParseVersionNr(std::string_view text);

}  // namespace qv
