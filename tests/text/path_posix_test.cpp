#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"
#include "zyl/zyl.h"

namespace {

namespace fs = std::filesystem;

// Without short names an existing path is its own short form, at any length: from 260 bytes on
// the library asks a second time, with the size it was told.
TEST(ExtractShortPathName, GivesAnExistingPathItselfAtAnyLength) {
  const zyl::testing::TempDir dir;
  std::vector<std::string> paths = {dir.path()};
  for (const std::size_t length : {258, 259, 260, 261}) {
    paths.push_back(dir.path() + std::string(length - dir.path().size(), 'x'));
    ASSERT_TRUE(fs::create_directory(paths.back())) << paths.back();
  }
  std::string deep = dir.path();
  while (deep.size() < 600) deep += std::string(40, 'd') + "/";
  ASSERT_TRUE(fs::create_directories(deep));
  paths.push_back(deep + "a file with blanks.txt");
  ASSERT_TRUE(std::ofstream(paths.back()).good());

  for (const std::string& path : paths) {
    SCOPED_TRACE(testing::Message() << path.size() << " bytes: " << path);
    EXPECT_EQ(ExtractShortPathName(path), path);
  }
}

}  // namespace
