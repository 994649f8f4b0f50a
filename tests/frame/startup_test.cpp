#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "pin_probe.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using zyl::testing::ExecutablePath;
using zyl::testing::LibraryPath;
using zyl::testing::RunProcess;
using zyl::testing::TempDir;

// Copies `from` to `relative` under `dir`, making the directories on the way; returns the copy's
// full path, or "" when the copy failed. Permissions travel along, so a copied program still runs.
std::string CopyInto(const TempDir& dir, const std::string& relative, const std::string& from) {
  fs::path to = fs::path(dir.path()) / relative;
  to.make_preferred();
  std::error_code error;
  fs::create_directories(to.parent_path(), error);
  if (!fs::copy_file(from, to, error)) return "";
  return to.string();
}

// Each case runs a copy of the probe in its own process: only a process's first load of the
// library runs its start-up.
TEST(OnProcessAttach, PinsTheLibraryOnlyWhenTheExecutablePathNamesTheHost) {
  const std::string probe = ExecutablePath("zyl_pin_probe");
  const std::string library = LibraryPath();
  ASSERT_TRUE(fs::exists(probe)) << probe;
  ASSERT_TRUE(fs::exists(library)) << library;
  const std::string library_name = fs::path(library).filename().string();

  const struct {
    const char* probe_at;    // where the probe runs from, under a fresh directory
    const char* library_in;  // where the library is loaded from; null: where it was built
    int want;
  } cases[] = {
      {"RIROVIVE.EXE", nullptr, kProbeStillMapped},
      {"rirovive.exe", nullptr, kProbeStillMapped},              // any letter case
      {"OLD_RIROVIVE.EXE", nullptr, kProbeStillMapped},          // a substring of the path will do,
      {"rirovive.exe.d/probe.exe", nullptr, kProbeStillMapped},  // in a directory's name too
      {"probe.exe", nullptr, kProbeUnmapped},
      {"RIROVIVE_EXE.exe", nullptr, kProbeUnmapped},
      {"probe.exe", "RIROVIVE.EXE", kProbeUnmapped},  // the library's own path does not count
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.probe_at) + " loading from " +
                 (c.library_in != nullptr ? c.library_in : "the build"));
    TempDir dir;
    const std::string probe_copy = CopyInto(dir, c.probe_at, probe);
    ASSERT_FALSE(probe_copy.empty());
    std::string library_path = library;
    if (c.library_in != nullptr) {
      library_path = CopyInto(dir, std::string(c.library_in) + "/" + library_name, library);
      ASSERT_FALSE(library_path.empty());
    }
    EXPECT_EQ(RunProcess(probe_copy, {library_path}), c.want);
  }
}

}  // namespace
