#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>  // mkfifo, mkdir
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>

#include "syslog_sink.h"
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

// Each record goes whole, as one datagram: only the LF that ends every whole record is left out.
TEST(SyslogSink, HandsEachRecordOnWhole) {
  const TempDir dir;
  const std::string path = dir.path() + "socket", header = "APP: /x: Wed Mar 15 09:05:07 2006\n";
  const struct {
    std::string record, message;
  } cases[] = {
      {header + "one line\n", header + "one line"},
      {header + "CR LF\r\nends\r\n\n", header + "CR LF\r\nends\r\n"},
      {header + "\x01\t\x7f\n\n", header + "\x01\t\x7f\n"},  // control bytes kept
      {header + "cut short", header + "cut short"},
  };
  const int daemon = socket(AF_UNIX, SOCK_DGRAM, 0);
  sockaddr_un address{AF_UNIX, {}};
  std::memcpy(address.sun_path, path.c_str(), path.size());
  ASSERT_EQ(bind(daemon, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  tool::SyslogSink sink(path);
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.record));
    ASSERT_TRUE(sink.Send(c.record));
    std::string got(4096, '\0');
    got.resize(static_cast<std::size_t>(recv(daemon, got.data(), got.size(), 0)));
    EXPECT_EQ(got, "<14>zyl: " + c.message);
  }
  close(daemon);
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

// A record that can never go is not passed over: zyl stops there, and says it failed.
TEST(ZylShow, FailsAtARecordThatCannotBeHandedOn) {
  const TempDir dir;
  const std::string log = dir.path() + "app.log", socket = dir.path() + std::string(120, 's');
  std::ofstream(log, std::ios::binary) << "APP: /x: Wed Mar 15 09:05:07 2006\nready\n";
  const ZylRun run = RunZyl({"show", "--syslog", socket, log});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("File name too long"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace zyl::testing
