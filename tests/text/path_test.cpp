#include <gtest/gtest.h>

#include <random>
#include <string>

#include "properties.h"
#include "test_support.h"
#include "zyl/zyl.h"

namespace {

TEST(ExtractFileName, SplitsAtTheLastBackslashOrColon) {
  const struct {
    std::string path, dir, name;
  } cases[] = {
      {"C:\\DIR\\FILE.TXT", "C:\\DIR\\", "FILE.TXT"},
      {"C:FILE.TXT", "C:", "FILE.TXT"},
      {"C:\\DIR\\", "C:\\DIR\\", ""},
      {"FILE.TXT", "", ""},  // no separator: no name either
      {"dir/file.txt", "", ""},
      {"C:\\dir/file.txt", "C:\\", "dir/file.txt"},  // '/' is part of the name
      {"", "", ""},
      {"\\", "\\", ""},
      {":", ":", ""},
      {"a:b\\c", "a:b\\", "c"},
      {"a\\b:c", "a\\b:", "c"},
      {"\\\\server\\share\\x.dll", "\\\\server\\share\\", "x.dll"},
      {std::string("C:\\a\0b", 6), "C:\\", std::string("a\0b", 3)},  // NUL is a plain byte
      {"C:\\\xDC\xBA\x5D\x3B\x7C", "C:\\", "\xDC\xBA\x5D\x3B\x7C"},  // near misses
      {"C:\\Program Files\\Vendor Name\\Product\\bin\\program-launcher.exe",
       "C:\\Program Files\\Vendor Name\\Product\\bin\\", "program-launcher.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.path));
    EXPECT_EQ(ExtractFilePath(c.path), c.dir);
    EXPECT_EQ(ExtractFileName(c.path), c.name);
  }
}

// Every separator position and every length up to a few vectors: the scan goes 16 bytes, or two
// overlapping halves of 8, at a time, so a separator at each offset of each must be found.
TEST(ExtractFileName, FindsTheSeparatorAtEveryOffset) {
  for (const char separator : {'\\', ':'}) {
    for (std::size_t length = 1; length <= 40; ++length) {
      for (std::size_t at = 0; at < length; ++at) {
        std::string path(length, 'n');
        path[at] = separator;
        if (at > 3) path[at / 2] = separator == '\\' ? ':' : '\\';  // an earlier one, ignored
        SCOPED_TRACE(testing::PrintToString(path));
        EXPECT_EQ(ExtractFilePath(path), path.substr(0, at + 1));
        EXPECT_EQ(ExtractFileName(path), path.substr(at + 1));
      }
    }
  }
}

TEST(ExtractFileName, PropertiesHoldForRandomPaths) {
  static const char palette[] = "\\:/a.\xDC\xBA\x5C\x3A\x5D\x3B\x1C\x1A\x7A\xFF";
  std::mt19937 rng(3127);
  for (int i = 0; i < 4000; ++i) {
    std::string path(rng() % 80, '\0');
    for (char& c : path) {
      // Mostly name bytes, so that separators are far apart as in real paths.
      c = rng() % 8 == 0 ? palette[rng() % (sizeof palette - 1)] : 'a';
    }
    EXPECT_EQ(zyl::fuzz::CheckSplit(path), nullptr) << testing::PrintToString(path);
  }
}

TEST(ExtractShortPathName, IsEmptyForPathsThatDoNotExist) {
  const zyl::testing::TempDir dir;
  const std::string missing = dir.path() + "no such file.txt";
  for (const std::string& path :
       {std::string(), missing, dir.path() + "no such dir" + zyl::testing::PathSeparator() + "x"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(ExtractShortPathName(path), "");
  }
}

TEST(ExtractShortPathName, ReadsThePathUpToItsFirstNul) {
  const zyl::testing::TempDir dir;
  const std::string path = dir.path() + std::string("\0no such file", 13);
  const ZYLString short_form = ExtractShortPathName(path);
  EXPECT_NE(short_form, "");
  EXPECT_EQ(short_form.find('\0'), std::string::npos);
  EXPECT_EQ(ExtractShortPathName(short_form), short_form);
}

}  // namespace
