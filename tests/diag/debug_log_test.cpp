#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "diag/log_generations.h"
#include "diag/log_rotation.h"
#include "log_test_util.h"
#include "stress_message.h"
#include "test_support.h"
#include "zyl/zyl.h"

namespace {

using zyl::testing::AreRecords;
using zyl::testing::CtimeStamp;
using zyl::testing::ExecutablePath;
using zyl::testing::FileExists;
using zyl::testing::kStressRecords;
using zyl::testing::kTextNewline;
using zyl::testing::ReadWholeFile;
using zyl::testing::RecordHead;
using zyl::testing::RunProcess;
using zyl::testing::ScopedEnv;
using zyl::testing::ScopedLogName;
using zyl::testing::StressMessage;
using zyl::testing::TempDir;

const std::string& OwnPath() {
  static const std::string path = ExecutablePath("log_test");
  return path;
}

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

// Logs `message` to a fresh file and checks it holds exactly that one record.
void ExpectOneRecord(const std::string& message) {
  TempDir dir;
  const std::string log = dir.path() + "one.log";
  ScopedLogName name(log.c_str());
  const std::time_t from = std::time(nullptr);
  errno = EINTR;  // a host's stale error says nothing about this record's write
  SendDebugMsg(message);
  const std::time_t to = std::time(nullptr);
  EXPECT_TRUE(AreRecords(ReadWholeFile(log), OwnPath(), {message}, from, to));
}

TEST(SendDebugMsg, WritesTheTwoLineRecordByteForByte) {
  const std::string cases[] = {
      "ready",
      "",            // the second line is empty
      "two\nlines",  // every newline of the message in the file's own form
      "ends with a newline\n",
      "\r\n",                  // a carriage return is a byte like any other
      " \t padded \t ",        // no trimming
      AllBytes(),              // NUL and 0x80-0xFF included
      std::string(5000, 'x'),  // longer than any buffer a path needs
  };
  for (const std::string& message : cases) {
    SCOPED_TRACE(testing::PrintToString(message.substr(0, 40)));
    ExpectOneRecord(message);
  }
}

TEST(SendDebugMsg, WritesWhetherDebugIsOnOrNot) {
  for (const char* debug : {static_cast<const char*>(nullptr), "ON", "off"}) {
    SCOPED_TRACE(debug != nullptr ? debug : "unset");
    ScopedEnv env("DEBUG", debug);
    ExpectOneRecord("written either way");
  }
}

TEST(SendDebugMsg, AppendsBehindWhatTheFileHolds) {
  TempDir dir;
  const std::string log = dir.path() + "kept.log";
  const std::string kept = std::string("earlier text, no line end\0\xFF", 28);
  std::ofstream(log, std::ios::binary) << kept;
  ScopedLogName name(log.c_str());
  const std::time_t from = std::time(nullptr);
  SendDebugMsg("first");
  SendDebugMsg("second");
  const std::time_t to = std::time(nullptr);
  const std::string text = ReadWholeFile(log);
  ASSERT_EQ(text.compare(0, kept.size(), kept), 0) << testing::PrintToString(text);
  EXPECT_TRUE(AreRecords(text.substr(kept.size()), OwnPath(), {"first", "second"}, from, to));
}

// Nothing of the file is kept between calls: each finds LogName and the file anew.
TEST(SendDebugMsg, OpensTheFileAnewAtEveryCall) {
  TempDir dir;
  const std::string a = dir.path() + "a.log";
  const std::string b = dir.path() + "b.log";
  const std::string moved = dir.path() + "moved.log";
  const std::time_t from = std::time(nullptr);
  {
    ScopedLogName name(a.c_str());
    SendDebugMsg("to a");
    LogName = b.c_str();
    SendDebugMsg("to b");
    LogName = a.c_str();
    ASSERT_EQ(std::rename(a.c_str(), moved.c_str()), 0);
    SendDebugMsg("a anew");
    std::ifstream reader(a, std::ios::binary);  // another process reading the log
    ASSERT_TRUE(reader.is_open());
    SendDebugMsg("while read");
  }
  const std::time_t to = std::time(nullptr);
  EXPECT_TRUE(AreRecords(ReadWholeFile(moved), OwnPath(), {"to a"}, from, to));
  EXPECT_TRUE(AreRecords(ReadWholeFile(b), OwnPath(), {"to b"}, from, to));
  EXPECT_TRUE(AreRecords(ReadWholeFile(a), OwnPath(), {"a anew", "while read"}, from, to));
}

TEST(SendDebugMsg, DoesNothingWhenTheLogCannotBeOpened) {
  TempDir dir;
  const std::string file = dir.path() + "plain.txt";
  std::ofstream(file, std::ios::binary) << "untouched";
  const std::string dir_bare = dir.path().substr(0, dir.path().size() - 1);
  const std::string sep = zyl::testing::PathSeparator();
  const std::string missing = dir.path() + "missing" + sep + "x.log";
  const std::string under_file = file + sep + "x.log";
  const struct {
    const char* what;
    const char* path;
  } cases[] = {
      {"null", nullptr},
      {"empty", ""},
      {"a folder", dir.path().c_str()},
      {"a folder, no separator", dir_bare.c_str()},
      {"in a missing folder", missing.c_str()},
      {"a file as a folder", under_file.c_str()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedLogName name(c.path);
    SendDebugMsg("lost");
  }
  EXPECT_FALSE(FileExists(missing));
  EXPECT_EQ(ReadWholeFile(file), "untouched");
}

// A disk all but full: two threads append records of 30,000 and 12,000 bytes, taking and freeing
// 32 KiB after each, while two loops run `zyl log`. Each record it confirmed is in the file whole;
// where appends lock (Windows), none is torn. Three rounds of a second, each on a new log.
TEST(SendDebugMsg, KeepsEveryConfirmedRecordOnADiskThatFillsAndFrees) {
  const char* disk = std::getenv("ZYL_FULL_DISK");
  const std::string zyl = ExecutablePath("zyl");
  if (disk == nullptr || !FileExists(std::string(disk) + "mounted") || !FileExists(zyl)) {
    GTEST_SKIP() << "needs zyl and a small file system at ZYL_FULL_DISK (ctest mounts it as root)";
  }
  const std::string log = std::string(disk) + "full.log";
  ScopedLogName name(log.c_str());
  int counts[3] = {};  // confirmed, whole, torn
  for (int round = 0; round < 3; ++round) {
    std::ofstream(std::string(disk) + "filler", std::ios::binary) << std::string(150000, 'f');
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    const auto running = [&until] { return std::chrono::steady_clock::now() < until; };
    const std::time_t from = std::time(nullptr);
    std::vector<std::string> noted[2];
    std::atomic<int> first{0};  // each loop's first record goes in while there is room
    std::vector<std::thread> threads;
    for (int w = 0; w < 2; ++w) {
      threads.emplace_back([&, w] {
        const std::string churn = std::string(disk) + "churn" + std::to_string(w);
        while (first < 2) std::this_thread::yield();
        for (; running(); std::remove(churn.c_str())) {
          SendDebugMsg(std::string(w ? 12000 : 30000, 'x'));
          std::ofstream(churn, std::ios::binary) << std::string(32 * 1024, 'c');
        }
      });
      threads.emplace_back([&, w] {
        for (int i = 0; i == 0 || running(); ++i, ++first) {
          const std::string message = "zyl-" + std::to_string(w) + "-" + std::to_string(i);
          if (RunProcess(zyl, {"log", "--file=" + log, message}) == 0) noted[w].push_back(message);
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
    const std::string text = ReadWholeFile(log);
    std::remove(log.c_str());
    for (const std::string& message : noted[0]) noted[1].push_back(message);
    for (const std::string& message : noted[1]) {
      ++counts[0];
      for (std::time_t when = from, to = std::time(nullptr); when <= to; ++when) {
        if (text.find(RecordHead(zyl, when) + message + kTextNewline) != text.npos) ++counts[1];
      }
    }
    // A torn record has no line end: a header follows it mid-line, or the file ends.
    for (std::size_t at = text.find("APP: ", 1); at != text.npos; at = text.find("APP: ", at + 1)) {
      counts[2] += text[at - 1] != '\n' ? 1 : 0;
    }
    counts[2] += !text.empty() && text.back() != '\n' ? 1 : 0;
  }
  ::testing::Test::RecordProperty("records_written", counts[0]);
  ::testing::Test::RecordProperty("records_whole", counts[1]);
  ::testing::Test::RecordProperty("records_torn", counts[2]);
  EXPECT_GE(counts[0], 6) << "not even each loop's first record was confirmed";
  EXPECT_EQ(counts[1], counts[0]) << "of the records zyl confirmed, these many are whole";
  EXPECT_TRUE(!ZYL_BUILT_FOR_WINDOWS || counts[2] == 0) << counts[2] << " torn under the lock";
}

// Records from 8 threads here and 4 processes at once, long enough to tear if a record went out
// in pieces, to a log that ZYL_LOG_ROTATE=`rotate` may rotate: across its generations, oldest
// first, then the log, each record must be whole, stamped within the run, and in its writer's
// order; with `all_kept`, none lost. Returns the numbers of the generations left.
std::vector<std::uint64_t> ExpectRecordsWhole(const char* rotate, int records, bool all_kept) {
  constexpr int kThreads = 8;
  constexpr int kProcesses = 4;
  constexpr int kWriters = kThreads + kProcesses;
  TempDir dir;
  const std::string log = dir.path() + "stress.log";
  const std::string helper = ExecutablePath("log_writer");
  ScopedLogName name(log.c_str());
  ScopedEnv env("ZYL_LOG_ROTATE", rotate);

  const std::time_t from = std::time(nullptr);
  std::vector<std::optional<int>> exits(kProcesses);
  std::vector<std::thread> threads;
  for (int p = 0; p < kProcesses; ++p) {
    threads.emplace_back([&, p] {
      exits[p] = zyl::testing::RunProcess(
          helper, {log, std::to_string(kThreads + p), std::to_string(records)});
    });
  }
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, records] {
      for (int r = 0; r < records; ++r) SendDebugMsg(StressMessage(t, r));
    });
  }
  for (std::thread& thread : threads) thread.join();
  const std::time_t to = std::time(nullptr);
  for (int p = 0; p < kProcesses; ++p) EXPECT_EQ(exits[p], 0) << "process " << p;

  std::set<std::string> stamps;
  for (std::time_t when = from; when <= to; ++when) stamps.insert(CtimeStamp(when));
  std::string text;
  std::vector<std::uint64_t> numbers;
  const std::uint64_t size = rotate != nullptr ? zyl::ParseRotation(rotate)->size : 0;
  for (const zyl::Generation& generation : zyl::ListGenerations(log)) {
    numbers.push_back(generation.number);
    const std::string held = ReadWholeFile(generation.path);
    EXPECT_GE(held.size(), size) << generation.path;  // rotated only once it reached the size
    text += held;
  }
  text += ReadWholeFile(log);
  const std::string newline = kTextNewline;
  std::vector<int> next(kWriters, 0);
  int broken = 0;
  int parsed = 0;
  for (std::size_t pos = 0; pos < text.size(); ++parsed) {
    const std::size_t head_end = text.find(newline, pos);
    const std::size_t end =
        head_end == std::string::npos ? head_end : text.find(newline, head_end + newline.size());
    if (end == std::string::npos) {
      ADD_FAILURE() << "cut off at the end: " << testing::PrintToString(text.substr(pos, 80));
      break;
    }
    const std::string head = text.substr(pos, head_end - pos);
    const std::string body =
        text.substr(head_end + newline.size(), end - head_end - newline.size());
    pos = end + newline.size();
    int writer = -1;
    int record = -1;
    const bool whole = std::sscanf(body.c_str(), "writer %d record %d ", &writer, &record) == 2 &&
                       writer >= 0 && writer < kWriters && record >= 0 &&
                       body == StressMessage(writer, record) && head.size() > 24 &&
                       stamps.count(head.substr(head.size() - 24)) == 1 &&
                       head.compare(0, head.size() - 24,
                                    "APP: " + (writer < kThreads ? OwnPath() : helper) + ": ") == 0;
    if (!whole) {
      if (++broken <= 3) {
        ADD_FAILURE() << "broken record: " << testing::PrintToString(head.substr(0, 200)) << " / "
                      << testing::PrintToString(body.substr(0, 80));
      }
      continue;
    }
    if (all_kept) {
      EXPECT_EQ(record, next[writer]) << "writer " << writer;
    } else {
      EXPECT_GE(record, next[writer]) << "writer " << writer;
    }
    next[writer] = record + 1;
  }
  ::testing::Test::RecordProperty("records_written", kWriters * records);
  ::testing::Test::RecordProperty("records_whole", parsed - broken);
  ::testing::Test::RecordProperty("records_torn", broken);
  ::testing::Test::RecordProperty("generations", static_cast<int>(numbers.size()));
  EXPECT_EQ(broken, 0);
  for (int w = 0; all_kept && w < kWriters; ++w) EXPECT_EQ(next[w], records) << "writer " << w;
  return numbers;
}

TEST(SendDebugMsg, KeepsRecordsWholeAcrossThreadsAndProcesses) {
  EXPECT_EQ(ExpectRecordsWhole(nullptr, kStressRecords, true).size(), 0u);
}

// With a 4 KiB log, each record reaches the size about every fourth time: the writers rotate it
// together, one of them each time, and no record is lost, doubled or torn by it. KEEP holds.
TEST(SendDebugMsg, RotatesTheLogTogetherAndKeepsEveryRecord) {
  const std::vector<std::uint64_t> kept = ExpectRecordsWhole("4K,3", kStressRecords / 5, false);
  ASSERT_LE(kept.size(), 3u);
  ASSERT_GT(kept.size(), 0u);
  // The highest numbers: none above was removed, so they follow one another.
  EXPECT_EQ(kept.back() - kept.front(), kept.size() - 1);
  EXPECT_GT(kept.front(), 50u);
  // Last, so that its figures are the ones recorded. 16 KiB: every rotation lists the folder, and
  // Wine takes a minute over the thousand generations that 4 KiB would leave.
  EXPECT_GT(ExpectRecordsWhole("16k,1000000", kStressRecords, true).size(), 100u);
}

}  // namespace
