// File system helpers of the storage code. Paths use "/".
#pragma once

#include <string>
#include <string_view>

#include "Clock.h"

namespace qv {

bool FileExists(const std::string& path);  // an existing file that is no folder
bool DirectoryExists(const std::string& path);
// The last-write time, 0 when the file does not exist.
TDateTime FileLastWriteTime(const std::string& path);

// The folder part including its final "/" ("" for a bare name), and the name after it.
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);
// path with the extension of its name (from its last ".") replaced by ext ("" removes it).
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view path);

// The whole file; raises EMorphError when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Creates the folder with all missing parents (one trailing "/" is ignored). True when the
// folder exists afterwards (paths of fewer than 3 characters count as existing); raises
// EMorphError with the folder and the system's error number when creating it fails.
bool EnsureFolder(const std::string& path);
// Replaces the file as a whole: the bytes go into a new file in the same folder, which is
// flushed to the disk and then renamed over the old one, so that a failure at any point leaves
// the old file as it was. A symbolic link is followed. Raises EMorphError on failure.
void WriteFileAtomic(const std::string& path, std::string_view bytes);
// Raises EMorphError when an existing file cannot be removed.
void DeleteFileOrRaise(const std::string& path);

}  // namespace qv
