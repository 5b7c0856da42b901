#include "ProgramVersion.h"

namespace qv {

std::string GetProgramVersion() {
  return QUORVEL_VERSION_STRING;
}

}  // namespace qv
