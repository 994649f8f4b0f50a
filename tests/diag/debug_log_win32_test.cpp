#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <type_traits>

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

// What the library's GetModuleFileNameA import answers while patched.
struct FakeModuleFile {
  const char* writes;  // copied up to the size asked for, unterminated when cut
  DWORD returns;
};
FakeModuleFile fake;
DWORD asked_size;

DWORD WINAPI FakeGetModuleFileNameA(HMODULE, LPSTR buf, DWORD size) {
  asked_size = size;
  const std::size_t length = std::strlen(fake.writes);
  std::memcpy(buf, fake.writes, std::min<std::size_t>(length + 1, size));
  return fake.returns;
}

TEST(SendDebugMsg, NamesTheExecutableWithin260BytesOrNotAtAll) {
  const std::string long_path = "C:\\" + std::string(300, 'd') + "\\HOST.EXE";
  const std::string cut = long_path.substr(0, 259);
  const struct {
    const char* what;
    FakeModuleFile fake;
    std::string want;
  } cases[] = {
      {"found", {"C:\\HOST\\RIROVIVE.EXE", 20}, "C:\\HOST\\RIROVIVE.EXE"},
      {"query failed, buffer dirtied", {"C:\\PARTIAL", 0}, ""},
      {"cut, terminated", {cut.c_str(), 260}, cut},
      {"cut, unterminated", {long_path.c_str(), 260}, long_path.substr(0, 260)},
  };
  TempDir dir;
  int count = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string log = dir.path() + std::to_string(++count) + ".log";
    ScopedLogName name(log.c_str());
    fake = c.fake;
    asked_size = 0;
    const std::time_t from = std::time(nullptr);
    {
      ScopedImportPatch patch(LibraryModule(), "kernel32.dll", "GetModuleFileNameA",
                              reinterpret_cast<void*>(&FakeGetModuleFileNameA));
      ASSERT_TRUE(patch.ok());
      SendDebugMsg("patched");
    }
    const std::time_t to = std::time(nullptr);
    EXPECT_EQ(asked_size, 260u);
    EXPECT_TRUE(AreRecords(ReadWholeFile(log), c.want, {"patched"}, from, to));
  }
}

}  // namespace
}  // namespace zyl::testing
