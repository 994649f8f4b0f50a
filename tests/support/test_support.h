#ifndef ZYL_TESTS_SUPPORT_TEST_SUPPORT_H_
#define ZYL_TESTS_SUPPORT_TEST_SUPPORT_H_

// What the tests need of the operating system, with a win32 and a posix implementation, so that
// the tests themselves read the same on both.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zyl::testing {

// A text file's line end: "\r\n" on Windows, "\n" elsewhere.
extern const char kTextNewline[];

// Directory of the running executable, with a trailing separator.
std::string ExecutableDir();

// Full path of the program `stem` built beside the tests ("zyl": zyl.exe on Windows).
std::string ExecutablePath(const std::string& stem);
// What GetWindowTitle(nullptr) gives in the program `stem`: its file name on Windows ("zyl.exe"),
// empty on Linux, where the path holds no `\` or `:` to split at.
std::string ExecutableTitle(const std::string& stem);

// Full path of the library under test as the loader sees it.
std::string LibraryPath();

// The platform's path separator: "\\" or "/".
const char* PathSeparator();

// Runs `program` with `args`, waits at most `timeout_ms`, and returns its exit status; nullopt
// when it could not start, was killed by a signal, or timed out (it is then killed).
std::optional<int> RunProcess(const std::string& program, const std::vector<std::string>& args,
                              int timeout_ms = 60000);

// RunProcess with standard input read from the file `stdin_path` and standard output and error
// written to the files `stdout_path` and `stderr_path` (created or emptied first).
std::optional<int> RunRedirected(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& stdin_path, const std::string& stdout_path,
                                 const std::string& stderr_path, int timeout_ms = 60000);

bool CopyFileTo(const std::string& from, const std::string& to);
// How many files, handles and the like the process holds open now: a leak shows as growth.
// Wine answers 0 always.
std::size_t OpenHandleCount();
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);

// A fresh directory, removed with everything in it on scope exit. Throws when none can be made,
// which fails the test rather than let it write into the working directory.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // With a trailing separator.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Sets (or with nullptr, removes) an environment variable through the C runtime, which getenv
// reads; restores the old value on scope exit.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

void SetEnv(const char* name, const char* value);  // nullptr removes

// Switches LC_CTYPE for the life of the object, as a host application might.
class ScopedCtypeLocale {
 public:
  explicit ScopedCtypeLocale(const char* name);
  ~ScopedCtypeLocale();
  ScopedCtypeLocale(const ScopedCtypeLocale&) = delete;
  ScopedCtypeLocale& operator=(const ScopedCtypeLocale&) = delete;
  // False when the locale is not installed; LC_CTYPE is unchanged then.
  bool ok() const { return ok_; }

 private:
  std::string old_;
  bool ok_ = false;
};

// Bounds this process's address space for the life of the object, so that a test can use it all up
// in reasonable time; ok() is false where it cannot be bounded.
class ScopedAddressSpaceLimit {
 public:
  ScopedAddressSpaceLimit();
  ~ScopedAddressSpaceLimit();
  ScopedAddressSpaceLimit(const ScopedAddressSpaceLimit&) = delete;
  ScopedAddressSpaceLimit& operator=(const ScopedAddressSpaceLimit&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
  std::uint64_t old_ = 0;
};

}  // namespace zyl::testing

#endif  // ZYL_TESTS_SUPPORT_TEST_SUPPORT_H_
