#include <gtest/gtest.h>
#include <sys/socket.h>
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

// Each record goes whole, as one datagram: only the LF that ends every whole record is left out.
TEST(SyslogSink, HandsEachRecordOnWhole) {
  const TempDir dir;
  const std::string path = dir.path() + "socket";
  const std::string header = "APP: /bin/x: Wed Mar 15 09:05:07 2006\n";
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
