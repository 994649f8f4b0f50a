#include "diag/log_rotation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "test_support.h"
#include "zyl/config.h"

namespace zyl {
namespace {

TEST(RotationFromEnvironment, ReadsSizeAndKeepOrLeavesRotationOff) {
  const struct {
    const char* value;
    std::uint64_t size;  // 0: off
    std::size_t keep = 5;
  } cases[] = {
      {"1", 1},
      {"4096,2", 4096, 2},
      {"10K", 10240},
      {"10k,1", 10240, 1},
      {"3M", 3u << 20},
      {"2g,30", std::uint64_t{2} << 30, 30},
      {"16777215G", std::uint64_t{16777215} << 30},
      {"007", 7},
      {"", 0},
      {"0", 0},
      {"K", 0},
      {"1KB", 0},
      {" 1", 0},
      {"1, 2", 0},
      {"-1", 0},
      {"1,", 0},
      {"1,0", 0},
      {"1,2,3", 0},
      {",5", 0},
      {"17179869184G", 0},          // past 64 bits once multiplied
      {"18446744073709551616", 0},  // past 64 bits as written
      {"1,99999999999999999999", 0},
      {"100000000000000000000000000000000000000000000000000000000000000000000", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    testing::ScopedEnv env(kRotateVariable, c.value);
    const RotationSetting setting = RotationFromEnvironment();
    EXPECT_EQ(setting.set, c.value[0] != '\0');
    ASSERT_EQ(setting.policy.has_value(), c.size != 0);
    if (!setting.policy) continue;
    EXPECT_EQ(setting.policy->size, c.size);
    EXPECT_EQ(setting.policy->keep, c.keep);
  }
}

// A record that ends exactly at SIZE rotates the log, one a byte short of it does not; either
// way its place is the log's end as it was written, and nothing of it stays open.
TEST(AppendRecordAndPlace, RotatesOnceARecordReachesTheSize) {
  const std::string record = "APP: x: Wed Mar 15 09:05:07 2006\nm\n";
  for (const std::size_t beyond : {0, 1}) {
    SCOPED_TRACE(beyond);
    const testing::TempDir dir;
    const std::string log = dir.path() + "app.log";
    const std::string size = std::to_string(record.size() + beyond);
    testing::ScopedEnv env(kRotateVariable, size.c_str());
    const AppendResult result = AppendRecordAndPlace(log.c_str(), record);
    EXPECT_TRUE(result.whole);
    EXPECT_EQ(result.place ? result.place->end : 0, record.size());
    EXPECT_EQ(testing::FileExists(dir.path() + "app.1.log"), beyond == 0);
    // Its file was closed, its locks with it: the file rotates at once.
    EXPECT_EQ(RotateNow(beyond == 0 ? dir.path() + "app.1.log" : log, 5).problem, "");
  }
  // A lock that fails for want of a file is not busy: waiting would not help.
  EXPECT_EQ(platform::TryLockForRotation(platform::AppendFile{}), platform::Try::kFailed);
}

// Beside a rotating writer, a rotation asked for succeeds: its own, or the writer's just before.
TEST(RotateNow, CountsTheLogRotatedBesideWritersAsRotated) {
  const testing::TempDir dir;
  const std::string log = dir.path() + "app.log";
  const testing::ScopedEnv rotate(kRotateVariable, "100,3");
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    while (!stop) AppendRecord(log.c_str(), "APP: /x: Wed Mar 15 09:05:07 2006\nx\n");
  });
  int rotated = 0;  // called now and then, as a script does: in a tight loop it finds no log
  for (int call = 0; call < 300; ++call) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const Rotation rotation = RotateNow(log, 3);
    EXPECT_EQ(rotation.problem, "");
    rotated += !rotation.generation.empty() || rotation.elsewhere;
  }
  stop = true;
  writer.join();
  EXPECT_GT(rotated, 0);
}

// Runs `call` on a thread while the log is locked, as another writer holds it, and meanwhile
// rotates the log, and a new one after it, as writers would; then lets go. Returns the generation
// the log became and what `call` returned.
template <class Call>
auto WhileRotated(const std::string& log, Call call) {
  std::ofstream(log) << std::string(100, 'o');
  const platform::AppendFile held = platform::OpenForAppend(log.c_str(), true);
  EXPECT_EQ(platform::TryLockForRotation(held), platform::Try::kDone);
  auto waiting = std::async(std::launch::async, call);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // it opens the log, then waits
  const std::string became = Rotate(log, 9).generation;
  std::ofstream(log) << "new";
  Rotate(log, 9);
  platform::CloseFile(held);
  return std::make_pair(became, waiting.get());
}

// A rotation that waited for the lock while another renamed the log names the generation its
// file became, not a newer one.
TEST(RotateNow, NamesTheGenerationItsLogBecameMeanwhile) {
  const testing::TempDir dir;
  const std::string log = dir.path() + "app.log";
  for (int attempt = 0; attempt < 3; ++attempt) {
    const auto [became, rotation] = WhileRotated(log, [&] { return RotateNow(log, 9); });
    if (!rotation.elsewhere) continue;  // it started late and found no log
    EXPECT_EQ(rotation.generation, became);
    return;
  }
  FAIL() << "the rotation never opened the log in time";
}

// Where appends wait for a lock (Windows), a record that waited for a writer which rotated the
// full log goes to the new log, not behind the generation's last record.
TEST(AppendRecord, GoesToTheNewLogAfterWaitingForARotation) {
  if (!ZYL_BUILT_FOR_WINDOWS) GTEST_SKIP() << "appends take no lock";
  const testing::TempDir dir;
  const std::string log = dir.path() + "app.log", record = "APP: /x: Wed Mar 15 09:05:07 2006\nm\n";
  const testing::ScopedEnv rotate(kRotateVariable, "100");
  const auto [became, whole] = WhileRotated(log, [&] { return AppendRecord(log.c_str(), record); });
  EXPECT_TRUE(whole);
  EXPECT_EQ(testing::ReadWholeFile(became), std::string(100, 'o'));
  EXPECT_EQ(testing::ReadWholeFile(log), record);
}

}  // namespace
}  // namespace zyl
