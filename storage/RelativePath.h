// File names inside project and sequence files: stored relative to the folder of the file
// that names them where the two share a folder below "/", read back with "\" accepted as "/"
// and resolved without regard to letter case when the exact path does not exist.
#pragma once

#include <string>

namespace qv {

// file relative to the folder base (ending with "/"): a bare name inside base, "sub/name"
// below it, "../name" beside it; file unchanged when the two share no folder but "/".
std::string MakeRelativePath(const std::string& file, const std::string& base);
// base followed by rel, after each leading "../" (or "..\") of rel moved base one folder up.
std::string ExpandRelativePath(const std::string& rel, const std::string& base);
// path itself when it exists; otherwise the path whose folders and name match it ignoring
// letter case, found one level at a time; path when there is none.
std::string ResolveCaseBlind(const std::string& path);
// A stored name as a path to use: empty stays empty, a name with ":" stays as it is, "\"
// counts as "/", a name not starting with "/" is relative to base; then ResolveCaseBlind.
std::string ResolveStoredFileName(const std::string& stored, const std::string& base);
// The stored form of a file name in a file whose folder is base: relative where possible.
// A relative fileName is taken as relative to the working folder first.
std::string StoredFileName(const std::string& fileName, const std::string& base);
// The folder (with final "/") of a file, made absolute against the working folder.
std::string AbsoluteFolderOf(const std::string& fileName);

}  // namespace qv
