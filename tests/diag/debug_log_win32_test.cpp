#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "diag/log_generations.h"
#include "iat_patch.h"
#include "log_test_util.h"
#include "test_support.h"
#include "zyl/zyl.h"

namespace zyl::testing {
namespace {

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// Under Wine this is a real file in the prefix's drive_c; it is put back as it was afterwards.
TEST(LogName, DefaultLogLandsInTheRootOfDriveC) {
  ASSERT_STREQ(LogName, "C:\\ZYL.LOG");
  const std::string log = LogName;
  const bool existed = FileExists(log);
  const std::string before = ReadWholeFile(log);
  const std::time_t from = std::time(nullptr);
  SendDebugMsg("to the default log");
  const std::time_t to = std::time(nullptr);
  if (!FileExists(log)) GTEST_SKIP() << "C:\\ is not writable here";
  const std::string after = ReadWholeFile(log);

  if (!existed) {
    DeleteFileA(log.c_str());
  } else {
    UniqueHandle file(CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    size.QuadPart = static_cast<LONGLONG>(before.size());
    SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
  }
  ASSERT_EQ(after.compare(0, before.size(), before), 0);
  EXPECT_TRUE(AreRecords(after.substr(before.size()), ExecutablePath("log_test"),
                         {"to the default log"}, from, to));
}

// This thread's processor time so far, in milliseconds.
ULONGLONG ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ms = [](FILETIME t) {
    return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000;
  };
  return ms(kernel) + ms(user);
}

// However long another handle keeps a lock on the log, and of whatever kind, a record waits about a
// second at most, asleep: the host's thread does not spin. It lands where that lock leaves the end
// free; Windows refuses writes into a range locked through another handle (Wine does not), so
// otherwise it may be absent, but never partial.
TEST(SendDebugMsg, WaitsAboutASecondAtMostForALockHeldElsewhere) {
  const struct {
    const char* what;
    DWORD flags;
    DWORD length_low, length_high;
  } cases[] = {{"exclusive", LOCKFILE_EXCLUSIVE_LOCK, MAXDWORD, MAXDWORD},
               {"shared", 0, MAXDWORD, MAXDWORD},
               {"shared-head", 0, 4, 0}};  // a viewer's lock on the bytes it read
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string log = dir.path() + "locked.log";
    std::ofstream(log, std::ios::binary) << "kept";
    UniqueHandle other(CreateFileA(log.c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    OVERLAPPED at{};
    ASSERT_TRUE(LockFileEx(other.get(), c.flags, 0, c.length_low, c.length_high, &at));
    std::promise<void> sent;  // the holder lets go then, or after 5 s
    std::thread holder([&other, done = sent.get_future()] {
      done.wait_for(std::chrono::seconds(5));
      other.reset();
    });
    ScopedLogName name(log.c_str());
    const std::time_t from = std::time(nullptr);
    const ULONGLONG start = GetTickCount64(), cpu_start = ThreadCpuMs();
    SendDebugMsg("past the lock");
    const ULONGLONG waited_ms = GetTickCount64() - start, cpu_ms = ThreadCpuMs() - cpu_start;
    const std::time_t to = std::time(nullptr);
    sent.set_value();
    holder.join();
    RecordProperty(std::string("wait_ms_") + c.what, static_cast<int>(waited_ms));
    RecordProperty(std::string("cpu_ms_") + c.what, static_cast<int>(cpu_ms));
    EXPECT_LT(waited_ms, 2500u);
    EXPECT_LT(cpu_ms, 50 + waited_ms / 10);  // spinning took a third of the wait
    const std::string text = ReadWholeFile(log);
    ASSERT_EQ(text.substr(0, 4), "kept");
    const bool landed =
        AreRecords(text.substr(4), ExecutablePath("log_test"), {"past the lock"}, from, to);
    RecordProperty(std::string("landed_") + c.what, landed ? 1 : 0);
    EXPECT_TRUE(landed || (c.length_high != 0 && text.size() == 4)) << text;
  }
}

// An editor or a scanner may hold the log without letting others delete it: the rename fails,
// the records stay in the log, and the first record after that handle closes rotates it.
TEST(SendDebugMsg, RotatesOnlyOnceAHandleWithoutDeleteSharingLetsGo) {
  TempDir dir;
  const std::string log = dir.path() + "held.log";
  const std::string before(300, 'x');
  std::ofstream(log, std::ios::binary) << before;
  ScopedEnv rotate("ZYL_LOG_ROTATE", "100");
  ScopedLogName name(log.c_str());
  UniqueHandle other(CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(other.get(), INVALID_HANDLE_VALUE);
  const std::time_t from = std::time(nullptr);
  SendDebugMsg("held");
  SendDebugMsg("still held");
  const bool rotated_while_held = !ListGenerations(log).empty();
  RecordProperty("rotated_while_held", rotated_while_held ? 1 : 0);
  EXPECT_FALSE(rotated_while_held);
  other.reset();
  SendDebugMsg("let go");
  const std::time_t to = std::time(nullptr);
  const std::vector<Generation> generations = ListGenerations(log);
  ASSERT_EQ(generations.size(), 1u);
  EXPECT_FALSE(FileExists(log));
  const std::string text = ReadWholeFile(generations[0].path);
  ASSERT_EQ(text.compare(0, before.size(), before), 0);
  EXPECT_TRUE(AreRecords(text.substr(before.size()), ExecutablePath("log_test"),
                         {"held", "still held", "let go"}, from, to));
}

// Another thread sets and removes thousands of variables, DEBUG among them, for 4 s: Debug() never
// reads a value freed under it, and answers 0 or 1 alone.
TEST(Debug, SurvivesAnotherThreadChangingTheEnvironment) {
  ScopedEnv debug("DEBUG", nullptr);
  std::atomic<bool> stop{false};
  std::thread churn([&stop] {
    while (!stop) {
      for (int i = 0; i < 3000; ++i) {
        _putenv(("ZYL_CHURN_" + std::to_string(i) + "=x").c_str());
        // Every hundred changes: the readers' loop slows this thread (one round took the whole
        // 4 s on the 32-bit build under Wine), and both answers must still come up.
        if (i % 100 == 0) _putenv((i / 100) % 2 == 0 ? "DEBUG=On" : "DEBUG=");
      }
      for (int i = 0; i < 3000; ++i) _putenv(("ZYL_CHURN_" + std::to_string(i) + "=").c_str());
    }
  });
  int answers[256] = {};
  for (const ULONGLONG end = GetTickCount64() + 4000; GetTickCount64() < end;) {
    const bool on = Debug();
    ++answers[reinterpret_cast<const unsigned char&>(on)];  // the byte itself, 0 or 1 alone
  }
  stop = true;
  churn.join();
  RecordProperty("debug_calls", answers[0] + answers[1]);
  EXPECT_GT(answers[0], 0);
  EXPECT_GT(answers[1], 0);
  EXPECT_EQ(std::count(answers + 2, answers + 256, 0), 254);
}

// What the library's GetModuleFileNameA and CreateFileA imports answer while patched.
struct FakeModuleFile {
  const char* writes;  // copied up to the size asked for, unterminated when cut
  DWORD returns;
};
FakeModuleFile fake;
DWORD asked_size;
DWORD log_grants;  // the access to the log CreateFileA allows

HANDLE WINAPI FakeCreateFileA(LPCSTR path, DWORD access, DWORD share,
                              LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                              HANDLE model) {
  if ((access & ~log_grants) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileA(path, access, share, security, disposition, flags, model);
}

DWORD WINAPI FakeGetModuleFileNameA(HMODULE, LPSTR buf, DWORD size) {
  asked_size = size;
  const std::size_t length = std::strlen(fake.writes);
  std::memcpy(buf, fake.writes, std::min<std::size_t>(length + 1, size));
  return fake.returns;
}

TEST(SendDebugMsg, NamesTheExecutableWithin260BytesOrNotAtAllWhateverAccessTheLogGrants) {
  const std::string long_path = "C:\\" + std::string(300, 'd') + "\\HOST.EXE";
  const std::string cut = long_path.substr(0, 259);
  const struct {
    const char* what;
    FakeModuleFile fake;
    std::string want;
    DWORD grants = ~DWORD{0};
  } cases[] = {
      {"found", {"C:\\HOST\\RIROVIVE.EXE", 20}, "C:\\HOST\\RIROVIVE.EXE"},
      {"query failed, buffer dirtied", {"C:\\PARTIAL", 0}, ""},
      {"cut, terminated", {cut.c_str(), 260}, cut},
      {"cut, unterminated", {long_path.c_str(), 260}, long_path.substr(0, 260)},
      {"append alone, unlocked", {"C:\\A.EXE", 8}, "C:\\A.EXE", FILE_APPEND_DATA},
  };
  TempDir dir;
  int count = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string log = dir.path() + std::to_string(++count) + ".log";
    ScopedLogName name(log.c_str());
    fake = c.fake;
    asked_size = 0;
    log_grants = c.grants;
    const std::time_t from = std::time(nullptr);
    {
      ScopedImportPatch patch(LibraryModule(), "kernel32.dll", "GetModuleFileNameA",
                              reinterpret_cast<void*>(&FakeGetModuleFileNameA));
      ScopedImportPatch open(LibraryModule(), "kernel32.dll", "CreateFileA",
                             reinterpret_cast<void*>(&FakeCreateFileA));
      ASSERT_TRUE(patch.ok() && open.ok());
      SendDebugMsg("patched");
    }
    const std::time_t to = std::time(nullptr);
    EXPECT_EQ(asked_size, 260u);
    EXPECT_TRUE(AreRecords(ReadWholeFile(log), c.want, {"patched"}, from, to));
  }
}

}  // namespace
}  // namespace zyl::testing
