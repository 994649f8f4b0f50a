#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

// A Linux path is split at a colon too, so a program whose path holds one has a title: its boxes
// are captioned with it.
TEST(Zyl, TitlesItselfAfterAColonInItsPath) {
  const TempDir dir;
  const std::string host = dir.path() + "tools:zyl";
  ASSERT_TRUE(CopyFileTo(ZylPath(), host));
  std::filesystem::permissions(host, std::filesystem::perms::owner_all);
  const std::string in = dir.path() + "in", out = dir.path() + "out", err = dir.path() + "err";
  std::ofstream(in).close();
  const struct {
    std::vector<std::string> args;
    std::string out, err;
  } cases[] = {
      {{"title"}, "zyl\n", ""},
      {{"msg", "Saved."}, "", "[zyl] Saved.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0]);
    EXPECT_EQ(RunRedirected(host, c.args, in, out, err, 30000), 0);
    EXPECT_EQ(ReadWholeFile(out), c.out);
    EXPECT_EQ(ReadWholeFile(err), c.err);
  }
}

}  // namespace
}  // namespace zyl::testing
