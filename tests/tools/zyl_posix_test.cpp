#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "test_support.h"
#include "zyl_runner.h"

namespace zyl::testing {
namespace {

// On a terminal (a pseudo-terminal that script(1) opens) a log's escape sequences arrive as text,
// unless --escape never asks for the bytes.
TEST(ZylShow, EscapesControlBytesOnATerminal) {
  const TempDir dir;
  const std::string log = dir.path() + "esc.log";
  std::ofstream(log, std::ios::binary) << "APP: /x: Wed Mar 15 09:05:07 2006\n\x1b]0;PWNED\a\n";
  const std::string in = dir.path() + "in", out = dir.path() + "out", err = dir.path() + "err";
  std::ofstream(in).close();
  for (const char* when : {"auto", "never"}) {
    SCOPED_TRACE(when);
    const std::string command = ZylPath() + " show --escape " + when + " " + log;
    ASSERT_EQ(RunRedirected("/usr/bin/script", {"-qec", command, "/dev/null"}, in, out, err, 30000),
              0);
    const bool escaped = ReadWholeFile(out).find("\\x1b]0;PWNED\\x07") != std::string::npos;
    EXPECT_EQ(escaped, std::string(when) == "auto") << ReadWholeFile(out);
  }
}

}  // namespace
}  // namespace zyl::testing
