// zyl/zyl_c.hpp on libc++ (clang++ -stdlib=libc++), calling the library built on libstdc++.
#include <cstdio>
#include <string>

#include "zyl/zyl_c.hpp"

using namespace std::string_literals;

int main() {
  zyl_c::SetLogName("zyl_c_wrapper_test.log");
  const bool passed[] = {
      zyl_c::Trim(" \0a\0b \r\n"s) == "a\0b"s,
      zyl_c::Pad("x", '-', 1000, false) == "x" + std::string(999, '-'),  // past the first buffer
      zyl_c::ExtractFilePath("C:\\d\\f.txt") == "C:\\d\\",
      zyl_c::LogName() == "zyl_c_wrapper_test.log"s,
  };
  int failed = 0;
  for (const bool p : passed) failed += p ? 0 : 1;
  std::printf("%d failed\n", failed);
  return failed != 0;
}
