#include "diag/log_generations.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"
#include "zyl/config.h"

namespace zyl {
namespace {

using testing::FileExists;
using testing::TempDir;

TEST(GenerationName, PutsTheNumberBeforeTheFileNamesExtension) {
  const struct {
    const char* path;
    std::uint64_t number;
    const char* want;
    const char* want_posix = nullptr;  // where '\' and ':' are bytes of a file name
  } cases[] = {
      {"C:\\ZYL.LOG", 3, "C:\\ZYL.3.LOG"},
      {"ZYL.LOG", 12, "ZYL.12.LOG"},
      {"app", 3, "app.3"},
      {"/var/log/app", 1, "/var/log/app.1"},
      {".log", 2, ".log.2"},            // a dot file's only dot starts no extension
      {"a.b.c", 4, "a.b.4.c"},          // the last dot only
      {"dir.d/app", 5, "dir.d/app.5"},  // a dot of the folder is not the file name's
      {"C:\\dir.d\\app", 6, "C:\\dir.d\\app.6", "C:\\dir.6.d\\app"},
      {"C:app.log", 7, "C:app.7.log"},
      {"C:\\dir.d/log", 8, "C:\\dir.d/log.8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const bool posix = !ZYL_BUILT_FOR_WINDOWS && c.want_posix != nullptr;
    EXPECT_EQ(GenerationName(c.path, c.number), posix ? c.want_posix : c.want);
  }
}

// Among stray names, the generations are found in the order of their numbers, 10 after 9; a
// rotation takes the next number and leaves the highest `keep`. On Windows names match in any
// letter case, A to Z.
TEST(Rotate, RenamesToTheNextNumberAndKeepsTheHighest) {
  TempDir dir;
  const std::string log = dir.path() + "ZAP.LOG";
  const char* files[] = {
      "ZAP.LOG",    "ZAP.1.LOG",  "ZAP.9.LOG",  "ZAP.10.LOG",  "zap.2.log",
      "ZAP.1x.LOG", "ZAP..LOG",   "ZAP.01.LOG", "ZAP.-3.LOG",  "ZAP.+4.LOG",
      "ZAPX.5.LOG", "ZAP.6.LOGX", "ZAP.7",      "ZAP.8.LOG.1", "ZAP.99999999999999999999.LOG"};
  for (const char* name : files) std::ofstream(dir.path() + name) << name;
  const auto numbers = [&log] {
    std::vector<std::uint64_t> found;
    for (const Generation& g : ListGenerations(log)) found.push_back(g.number);
    return found;
  };
  const std::vector<std::uint64_t> want = ZYL_BUILT_FOR_WINDOWS
                                              ? std::vector<std::uint64_t>{1, 2, 9, 10}
                                              : std::vector<std::uint64_t>{1, 9, 10};
  EXPECT_EQ(numbers(), want);
  EXPECT_EQ(ListGenerations(log).back().path, dir.path() + "ZAP.10.LOG");

  const Rotation rotation = Rotate(log, 2);
  EXPECT_EQ(rotation.generation, dir.path() + "ZAP.11.LOG");
  EXPECT_EQ(rotation.problem, "");
  EXPECT_EQ(numbers(), (std::vector<std::uint64_t>{10, 11}));
  EXPECT_EQ(testing::ReadWholeFile(rotation.generation), "ZAP.LOG");
  EXPECT_FALSE(FileExists(log));
  EXPECT_TRUE(FileExists(dir.path() + "ZAP.1x.LOG"));
  EXPECT_NE(Rotate(log, 2).problem, "");  // nothing left to rename
  EXPECT_EQ(numbers(), (std::vector<std::uint64_t>{10, 11}));
}

}  // namespace
}  // namespace zyl
