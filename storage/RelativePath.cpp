#include "RelativePath.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "CaseFold.h"
#include "FileUtil.h"

namespace qv {

namespace {

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of folder whose name equals name ignoring case (the smallest such name, so that
// the choice does not depend on the order of the folder); empty when there is none.
std::string FindEntryCaseBlind(const std::string& folder, const std::string& name) {
  std::error_code ec;
  std::string best;
  for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec), end;
       !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (SameText(entry, name) && (best.empty() || entry < best)) best = entry;
  }
  return best;
}

std::string Absolute(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.string();
}

}  // namespace

std::string MakeRelativePath(const std::string& file, const std::string& base) {
  const std::string B = IncludeTrailingPathDelimiter(base);
  const std::string name = ExtractFileName(file);
  const std::string dir = ExtractFilePath(file);
  size_t i = 0;
  const size_t n = std::min(dir.size(), B.size());
  while (i < n && dir[i] == B[i]) ++i;
  while (i > 0 && B[i - 1] != '/') --i;
  if (i <= 1) return file;  // nothing in common but the root
  std::string result;
  for (size_t k = i; k < B.size(); ++k)
    if (B[k] == '/') result += "../";
  return result + dir.substr(i) + name;
}

std::string ExpandRelativePath(const std::string& rel, const std::string& base) {
  std::string r = rel;
  std::string b = IncludeTrailingPathDelimiter(base);
  while (r.starts_with("../") || r.starts_with("..\\")) {
    r.erase(0, 3);
    if (b.size() > 1) b = ExtractFilePath(b.substr(0, b.size() - 1));
    if (b.empty()) b = "/";
  }
  return b + r;
}

std::string ResolveCaseBlind(const std::string& path) {
  if (path.empty() || PathExists(path)) return path;
  std::string resolved = path[0] == '/' ? "/" : "";
  size_t pos = path[0] == '/' ? 1 : 0;
  while (pos <= path.size()) {
    size_t next = path.find('/', pos);
    if (next == std::string::npos) next = path.size();
    std::string part = path.substr(pos, next - pos);
    pos = next + 1;
    if (part.empty() || part == "." || part == "..") {
      resolved += part;
    } else if (PathExists(resolved + part)) {
      resolved += part;
    } else {
      std::string entry = FindEntryCaseBlind(resolved, part);
      if (entry.empty()) return path;
      resolved += entry;
    }
    if (next < path.size()) resolved += '/';
  }
  return resolved;
}

std::string ResolveStoredFileName(const std::string& stored, const std::string& base) {
  if (stored.empty() || stored.find(':') != std::string::npos) return stored;
  std::string name = stored;
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name[0] != '/') name = ExpandRelativePath(name, base);
  return ResolveCaseBlind(name);
}

std::string StoredFileName(const std::string& fileName, const std::string& base) {
  if (fileName.empty() || fileName.find(':') != std::string::npos) return fileName;
  return MakeRelativePath(Absolute(fileName), base);
}

std::string AbsoluteFolderOf(const std::string& fileName) {
  return ExtractFilePath(Absolute(fileName));
}

}  // namespace qv
