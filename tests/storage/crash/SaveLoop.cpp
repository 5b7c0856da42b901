// Saves a project or the settings over and over, version after version, until it is killed:
//   quorvel-save-loop project|settings <file> <first version>
// After every project save the file's time is set a minute back, as for a project that was
// opened long ago: the case in which the INI document would write early.
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "SaveVersions.h"
#include "UserSettings.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s project|settings <file> <first version>\n", argv[0]);
    return 2;
  }
  const std::string kind = argv[1], file = argv[2];
  int32_t k = std::atoi(argv[3]);
  if (kind == "project") {
    for (;; ++k) {
      qv::test::SaveProjectVersion(file, k);
      struct stat st {};
      if (::stat(file.c_str(), &st) == 0) {
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        times[0].tv_sec -= 60;
        times[1].tv_sec -= 60;
        ::utimensat(AT_FDCWD, file.c_str(), times, 0);
      }
    }
  }
  if (kind == "settings") {
    qv::TUserSettingsFile settings(file);
    for (;; ++k) qv::test::SaveSettingsVersion(settings, k);
  }
  return 2;
}
