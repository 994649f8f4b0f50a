#include <gtest/gtest.h>
#include <sys/stat.h>  // mkfifo, mkdir
#include <unistd.h>

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

// Only regular files are generations, each stranger named once; a number past the highest is none,
// and a rotation that cannot be made is said by 'log' and 'rotate'.
TEST(ZylShow, TakesOnlyRegularFilesForGenerations) {
  const TempDir dir;
  const std::string log = dir.path() + "app.log", secret = dir.path() + "secret";
  const std::string record = "APP: /x: Wed Mar 15 09:05:07 2006\nmine\n";
  std::ofstream(log, std::ios::binary) << record;
  std::ofstream(secret, std::ios::binary) << "APP: /x: Wed Mar 15 09:05:07 2006\nsecret\n";
  ASSERT_EQ(symlink(secret.c_str(), (dir.path() + "app.7.log").c_str()), 0);
  ASSERT_EQ(symlink("/dev/zero", (dir.path() + "app.4.log").c_str()), 0);
  ASSERT_EQ(mkfifo((dir.path() + "app.3.log").c_str(), 0600), 0);
  ASSERT_EQ(mkdir((dir.path() + "app.5.log").c_str(), 0700), 0);
  std::ofstream(dir.path() + "app.18446744073709551615.log") << record;
  const ZylRun run = RunZyl({"show", "-f", "--until", "2006-03-16", log});  // two looks
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, record);
  EXPECT_EQ(Lines(run.err).size(), 4u) << run.err;
  EXPECT_EQ(RunZyl({"rotate", log}).out, dir.path() + "app.8.log\n");

  const std::string stem = dir.path() + std::string(249, 'x');  // app.10.log is one byte too long
  std::ofstream(stem + ".9.log") << record;
  const ScopedEnv rotate("ZYL_LOG_ROTATE", "1");
  EXPECT_NE(RunZyl({"log", "-f", stem + ".log", "x"}).err.find("could not rotate"),
            std::string::npos);
  EXPECT_EQ(RunZyl({"rotate", stem + ".log"}).status, 3);
}

}  // namespace
}  // namespace zyl::testing
