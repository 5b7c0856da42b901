// The folders of the file dialogs, kept in the settings section "File".
#pragma once

#include <string>

namespace qv {

// "AVI": the folder of the last video written, converted or opened; else the default
// document folder (created when missing).
std::string DefaultAVIDir();
// "AVISrc": the folder of the last video chosen for conversion; else the default document
// folder.
std::string DefaultAVISrcDir();
// The folder stored under key; empty when there is none.
std::string ReadFileFolder(const char* key);
// Stores the folder of fileName (with its trailing "/") under key in section "File".
void StoreFileFolder(const char* key, const std::string& fileName);

}  // namespace qv
