#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "test_support.h"
#include "zyl_runner.h"

namespace zyl::testing {
namespace {

// On a terminal (a pseudo-terminal that script(1) opens) a log's control bytes, DEL and C1
// controls arrive as text, in JSON too, unless --escape never asks for the bytes.
TEST(ZylShow, EscapesControlBytesOnATerminal) {
  const TempDir dir;
  const std::string log = dir.path() + "esc.log";
  std::ofstream(log, std::ios::binary)
      << "APP: /x: Wed Mar 15 09:05:07 2006\n\x1b]0;\a\xc2\x9b\x7f\n";
  const std::string in = dir.path() + "in", out = dir.path() + "out", err = dir.path() + "err";
  std::ofstream(in).close();
  const struct {
    const char* options;
    std::string want;
  } cases[] = {
      {"--escape auto", "\\x1b]0;\\x07\\xc2\\x9b\\x7f"},
      {"--escape never", "\x1b]0;\a\xc2\x9b\x7f"},
      {"--json", "\\u001b]0;\\u0007\\u009b\\u007f"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    const std::string command = ZylPath() + " show " + c.options + " " + log;
    ASSERT_EQ(RunRedirected("/usr/bin/script", {"-qec", command, "/dev/null"}, in, out, err, 30000),
              0);
    EXPECT_NE(ReadWholeFile(out).find(c.want), std::string::npos) << ReadWholeFile(out);
  }
}

// A record piped in goes out before zyl waits for the next: the writer looks while it holds the
// pipe open.
TEST(ZylShow, PassesRecordsOnBeforeWaitingForMore) {
  const TempDir dir;
  const std::string in = dir.path() + "in", out = dir.path() + "out", seen = dir.path() + "seen";
  std::ofstream(in).close();
  for (const char* options : {"", "--json"}) {
    SCOPED_TRACE(options);
    const std::string command =
        "{ printf 'APP: /x: Wed Mar 15 09:05:07 2006\\nfirst\\n'; sleep 2; cp " + out + " " + seen +
        "; } | " + ZylPath() + " show - " + options + " >" + out;
    ASSERT_EQ(RunRedirected("/bin/sh", {"-c", command}, in, dir.path() + "o", dir.path() + "e"), 0);
    EXPECT_NE(ReadWholeFile(seen).find("first"), std::string::npos) << ReadWholeFile(out);
  }
}

}  // namespace
}  // namespace zyl::testing
