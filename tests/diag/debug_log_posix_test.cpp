#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>

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

// Each record opens the log afresh: a host that writes many must not run out of descriptors.
TEST(SendDebugMsg, LeavesNoDescriptorOpen) {
  const TempDir dir;
  const std::string log = dir.path() + "app.log";
  ScopedLogName name(log.c_str());
  const int lowest_free = dup(2);
  close(lowest_free);
  SendDebugMsg("record");
  const int next = dup(2);
  close(next);
  EXPECT_EQ(next, lowest_free);
}

}  // namespace
}  // namespace zyl::testing
