// The program's version as the about box and the EXIF blocks show it.
#pragma once

#include <string>

namespace qv {

// The four numbers of the file version (major, minor, release, build), joined by ".".
std::string GetProgramVersion();

}  // namespace qv
