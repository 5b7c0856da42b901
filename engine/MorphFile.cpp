// The project file of a morphing. Reading and writing the INI text is not built yet: both
// operations refuse with a message instead of pretending to succeed.
#include "Morph.h"
#include "MorphError.h"

namespace qv {

void TMorphing::SaveToFile(const std::string&) {
  throw EMorphError("Projektdateien können noch nicht gespeichert werden.");
}

void TMorphing::LoadFromFile(const std::string&) {
  throw EMorphError("Projektdateien können noch nicht geöffnet werden.");
}

}  // namespace qv
