#include "FileLocations.h"

#include <cstdlib>
#include <fstream>
#include <optional>

#include "FileUtil.h"
#include "MorphError.h"

namespace qv {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string WithoutTrailingSlash(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

// The value of one line `XDG_DOCUMENTS_DIR="$HOME/Dokumente"` of user-dirs.dirs: quoted with
// backslash escapes, "$HOME" only at the start, else an absolute path.
std::optional<std::string> ParseUserDirValue(std::string_view v, const std::string& home) {
  std::string path;
  if (!v.empty() && v.front() == '"') {
    v.remove_prefix(1);
    bool closed = false;
    for (size_t i = 0; i < v.size(); ++i) {
      if (v[i] == '\\' && i + 1 < v.size()) {
        path += v[++i];
      } else if (v[i] == '"') {
        closed = true;
        break;
      } else {
        path += v[i];
      }
    }
    if (!closed) return std::nullopt;
  } else {
    path = std::string(v.substr(0, v.find_first_of(" \t#")));
  }
  if (path.starts_with("$HOME")) {
    if (home.empty() || (path.size() > 5 && path[5] != '/')) return std::nullopt;
    path = home + path.substr(5);
  }
  if (path.empty() || path[0] != '/') return std::nullopt;
  return WithoutTrailingSlash(path);
}

std::optional<std::string> XdgDocumentsDir(const std::string& home) {
  std::string config = RoamingAppDataFolder();
  if (config.empty()) return std::nullopt;
  std::ifstream in(IncludeTrailingPathDelimiter(config) + "user-dirs.dirs");
  std::string line;
  std::optional<std::string> result;
  while (std::getline(in, line)) {
    std::string_view l = line;
    while (!l.empty() && (l.front() == ' ' || l.front() == '\t')) l.remove_prefix(1);
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
    if (!l.starts_with(kKey)) continue;
    if (auto v = ParseUserDirValue(l.substr(kKey.size()), home)) result = v;  // last one wins
  }
  return result;
}

}  // namespace

std::string RoamingAppDataFolder() {
  std::string xdg = Env("XDG_CONFIG_HOME");
  if (!xdg.empty() && xdg[0] == '/') return WithoutTrailingSlash(xdg);
  std::string home = Env("HOME");
  if (home.empty()) return {};
  return IncludeTrailingPathDelimiter(home) + ".config";
}

std::string UserDocumentsFolder() {
  std::string home = WithoutTrailingSlash(Env("HOME"));
  if (auto dir = XdgDocumentsDir(home)) return *dir;
  if (home.empty()) return {};
  return IncludeTrailingPathDelimiter(home) + "Documents";
}

std::string DefaultDocumentFolder() {
  std::string docs = UserDocumentsFolder();
  if (docs.empty()) throw EMorphError("can't obtain DocumentFolder");
  std::string folder = IncludeTrailingPathDelimiter(docs) + "Morphings/";
  EnsureFolder(folder);
  return folder;
}

}  // namespace qv
