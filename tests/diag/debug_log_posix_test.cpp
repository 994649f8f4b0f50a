#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "diag/log_rotation.h"
#include "log_test_util.h"
#include "test_support.h"
#include "zyl/zyl.h"

namespace zyl::testing {
namespace {

// The default "C:\ZYL.LOG" is, here, a file of that odd name in the working directory: nothing
// to test beyond what any relative path gets.

TEST(SendDebugMsg, ReturnsAtOnceWhenTheLogIsAFifoNobodyReads) {
  TempDir dir;
  const std::string fifo = dir.path() + "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ScopedLogName name(fifo.c_str());
  auto done = std::async(std::launch::async, [] { SendDebugMsg("nobody reads this"); });
  if (done.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    // A reader lets the stuck open() through, so the thread and the test can end.
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    done.wait();
    close(reader);
    FAIL() << "blocked until a reader came";
  }
}

// A daemon's log may open as descriptor 0, stdin being closed; each record closes what it opens.
TEST(SendDebugMsg, WritesThroughDescriptorZeroAndClosesIt) {
  const TempDir dir;
  const std::string log = dir.path() + "app.log";
  ScopedLogName name(log.c_str());
  const int saved_stdin = dup(0);
  close(0);
  SendDebugMsg("record");
  const int lowest_free = dup(2);
  dup2(saved_stdin, 0);
  close(saved_stdin);
  EXPECT_EQ(lowest_free, 0);
  EXPECT_NE(ReadWholeFile(log).find("record"), std::string::npos);
}

// A rotation waits about a second for the lock that another open of the log holds, then leaves
// the record in the log for a later one to rotate: a stuck holder never holds a record up.
TEST(SendDebugMsg, RotatesOnceALockHeldElsewhereLetsGoWithinASecond) {
  const struct {
    int held_ms;
    bool rotated;
  } cases[] = {{150, true}, {2000, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.held_ms);
    const TempDir dir;
    const std::string log = dir.path() + "app.log";
    const ScopedLogName name(log.c_str());
    const ScopedEnv rotate(kRotateVariable, "1");
    const int other = open(log.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    std::thread holder([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(c.held_ms));
      close(other);
    });
    SendDebugMsg("past the lock");
    holder.join();
    EXPECT_EQ(FileExists(dir.path() + "app.1.log"), c.rotated);
    const std::string kept = ReadWholeFile(c.rotated ? dir.path() + "app.1.log" : log);
    EXPECT_NE(kept.find("past the lock"), std::string::npos);
  }
}

}  // namespace
}  // namespace zyl::testing
