// Killing a process while it saves: a project file and the settings file are afterwards always
// exactly one complete version, the old one or a newer one, never a mix or a torn file.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "TestFiles.h"
#include "UserSettings.h"
#include "crash/SaveVersions.h"

extern char** environ;

namespace qv {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& fn) {
  return test::ReadFile(fn.string());
}

pid_t StartSaveLoop(const std::string& kind, const std::string& file, int32_t firstVersion) {
  std::vector<std::string> args = {QUORVEL_SAVE_LOOP, kind, file, std::to_string(firstVersion)};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, QUORVEL_SAVE_LOOP, nullptr, nullptr, argv.data(), environ), 0);
  return pid;
}

// The file's inode: every save renames a new file over the old one.
ino_t InodeOf(const fs::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Waits until the loop has replaced the file once (at most ten seconds), so that the kill
// that follows lands in the middle of its saving whatever the machine's load.
void WaitForFirstSave(const fs::path& file, ino_t before) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (InodeOf(file) == before && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
}

using TVersionOf = int32_t (*)(const std::string& bytes, const std::string& scratchFile);

// Starts the save loop 50 times, each time killing it at a random moment after its first
// save; after each kill the file must be a complete version newer than the one before. The only other file a
// killed writer may leave is its temporary file, not yet renamed over the file.
void KillWhileSaving(const std::string& kind, TVersionOf versionOf, const fs::path& file,
                     const fs::path& scratch) {
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> delayUs(0, 60000);
  int32_t version = versionOf(Bytes(file), scratch.string());
  ASSERT_EQ(version, 0);
  for (int round = 0; round < 50; ++round) {
    const ino_t before = InodeOf(file);
    const pid_t pid = StartSaveLoop(kind, file.string(), version + 1);
    ASSERT_GT(pid, 0);
    WaitForFirstSave(file, before);
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop ended by itself";
    const int32_t now = versionOf(Bytes(file), scratch.string());
    ASSERT_GT(now, version) << "round " << round << ": the file is no complete version";
    version = now;
    for (const auto& e : fs::directory_iterator(file.parent_path())) {
      const std::string name = e.path().filename().string();
      if (e.path() == file || e.is_directory()) continue;
      ASSERT_EQ(name.rfind("." + file.filename().string() + ".", 0), 0u) << name;
      fs::remove(e.path());  // the temporary file the killed writer had not renamed yet
    }
  }
}

TEST(CrashSafety, ProjectIsOldOrNewAfterKill) {
  test::TTempDir dir;
  const fs::path file = dir.Path("projekt.qvp"), scratch = dir.Path("vergleich/projekt.qvp");
  test::SaveProjectVersion(file.string(), 0);
  KillWhileSaving("project", test::ProjectVersionOf, file, scratch);
}

TEST(CrashSafety, SettingsAreOldOrNewAfterKill) {
  test::TTempDir dir;
  const fs::path file = dir.Path("Quorvel.ini"), scratch = dir.Path("vergleich/Quorvel.ini");
  {
    TUserSettingsFile settings(file.string());
    test::SaveSettingsVersion(settings, 0);
  }
  KillWhileSaving("settings", test::SettingsVersionOf, file, scratch);
}

}  // namespace
}  // namespace qv
