// zyl/zyl_c.hpp built with another standard library than the library's (clang++ -stdlib=libc++).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "zyl/zyl_c.hpp"

using namespace std::string_literals;

int main() {
  static const char log[] = "zyl_c_wrapper_test.log";
  std::remove(log);
  zyl_c::SetLogName(log);
  zyl_c::SendDebugMsg("a\0b"s);
  std::ifstream in(log, std::ios::binary);
  const std::string record(std::istreambuf_iterator<char>(in), {});
  setenv("DEBUG", "oN", 1);
  const struct {
    std::string got, want;
  } cases[] = {
      {zyl_c::Trim(" \0a\0b \r\n"s), "a\0b"s},
      {zyl_c::TrimLeft("\t x "), "x "},
      {zyl_c::TrimRight("\t x "), "\t x"},
      {zyl_c::Pad("42", '0', 5, true), "00042"},
      {zyl_c::Pad("x", '-', 1000, false), "x" + std::string(999, '-')},  // past the first try
      {zyl_c::ExtractFileName("C:\\d\\f.txt"), "f.txt"},
      {zyl_c::ExtractFilePath("C:\\d\\f.txt"), "C:\\d\\"},
      {zyl_c::ShortPathName("."), "."},
      {zyl_c::WindowTitle(nullptr), ""},  // no windows on Linux
      {zyl_c::Debug() ? "on" : "off", "on"},
      {zyl_c::LogName(), log},
      {record.substr(record.find('\n') + 1), "a\0b\n"s},
  };
  int failed = 0;
  for (const auto& c : cases) {
    if (c.got == c.want) continue;
    std::fprintf(stderr, "got [%s], want [%s]\n", c.got.c_str(), c.want.c_str());
    ++failed;
  }
  std::remove(log);
  std::printf("%d failed\n", failed);
  return failed != 0;
}
