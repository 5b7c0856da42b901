#include "FileUtil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "MorphError.h"

namespace qv {

namespace {

[[noreturn]] void RaiseFileError(const std::string& path, const char* what, int err) {
  throw EMorphError("Die Datei \r" + path + "\r" + what + " (" + std::to_string(err) + ")");
}

class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd) : FFd(fd) {}
  ~TFileDescriptor() {
    if (FFd >= 0) ::close(FFd);
  }
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  int Get() const { return FFd; }
  int Release() { return std::exchange(FFd, -1); }

 private:
  int FFd;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(size_t(n));
  }
  return true;
}

// The file a path names, through symbolic links (the link itself stays).
std::string ResolveLinks(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char buf[PATH_MAX];
  if (::realpath(path.c_str(), buf)) return buf;
  return path;
}

// A new file beside target, created exclusively; answers its descriptor and name.
int CreateTempBeside(const std::string& target, std::string& tempName) {
  static unsigned counter = 0;
  const std::string base = ExtractFilePath(target) + "." + ExtractFileName(target) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempName = base + std::to_string(::getpid()) + "-" + std::to_string(++counter) + "-" +
               std::to_string(std::time(nullptr)) + ".tmp";
    int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void SyncFolderOf(const std::string& path) {
  std::string dir = ExtractFilePath(path);
  TFileDescriptor fd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() >= 0) ::fsync(fd.Get());
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

TDateTime FileLastWriteTime(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return 0;
  return DateTimeFromTimespec(st.st_mtim);
}

std::string ExtractFilePath(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtractFileName(std::string_view path) {
  size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  size_t slash = path.rfind('/');
  size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    dot = path.size();
  return std::string(path.substr(0, dot)) + std::string(ext);
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
  std::string s(path);
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

std::string ReadFileBytes(const std::string& path) {
  TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) RaiseFileError(path, "kann nicht geöffnet werden", errno);
  std::string bytes;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd.Get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseFileError(path, "kann nicht gelesen werden", errno);
    if (n == 0) break;
    bytes.append(buf, size_t(n));
  }
  return bytes;
}

bool EnsureFolder(const std::string& path) {
  std::string dir = path;
  if (!dir.empty() && dir.back() == '/') dir.pop_back();
  if (dir.size() < 3 || DirectoryExists(dir)) return true;
  std::string parent = ExtractFilePath(dir);
  if (parent.size() >= dir.size() || !EnsureFolder(parent)) return false;
  if (::mkdir(dir.c_str(), 0777) != 0 && !(errno == EEXIST && DirectoryExists(dir)))
    throw EMorphError(dir + "\rkann nicht angelegt werden (" + std::to_string(errno) + ")");
  return true;
}

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const std::string target = ResolveLinks(path);
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  std::string tempName;
  TFileDescriptor fd(CreateTempBeside(target, tempName));
  if (fd.Get() < 0) RaiseFileError(path, "kann nicht geschrieben werden", errno);
  bool ok = WriteAll(fd.Get(), bytes) &&
            (!replacing || ::fchmod(fd.Get(), old.st_mode & 07777) == 0) && ::fsync(fd.Get()) == 0;
  int err = errno;
  if (::close(fd.Release()) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(tempName.c_str(), target.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(tempName.c_str());
    RaiseFileError(path, "kann nicht geschrieben werden", err);
  }
  SyncFolderOf(target);
}

void DeleteFileOrRaise(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT)
    RaiseFileError(path, "kann nicht gelöscht werden", errno);
}

}  // namespace qv
