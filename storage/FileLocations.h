// Where the system keeps its files: the user's settings folder and documents folder, after
// the XDG base directory and user directory conventions.
#pragma once

#include <string>

namespace qv {

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config; empty when neither
// variable helps.
std::string RoamingAppDataFolder();
// XDG_DOCUMENTS_DIR of user-dirs.dirs in the settings folder, else $HOME/Documents; empty when
// neither is known. No trailing "/".
std::string UserDocumentsFolder();
// The folder "Morphings/" in the user's documents folder, created when missing; the start
// folder of the file dialogs. Raises EMorphError when it cannot be created or no documents
// folder is known.
std::string DefaultDocumentFolder();

}  // namespace qv
