#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>

#include "test_support.h"
#include "zyl/zyl.h"

namespace zyl::testing {

const char kTextNewline[] = "\n";

std::size_t OpenHandleCount() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(begin(fds), end(fds)));
}

std::string ExecutableDir() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return exe.parent_path().string() + "/";
}

std::string LibraryPath() {
  Dl_info info{};
  dladdr(reinterpret_cast<const void*>(&Debug), &info);
  return info.dli_fname != nullptr ? info.dli_fname : "";
}

std::string ExecutablePath(const std::string& stem) { return ExecutableDir() + stem; }

std::string ExecutableTitle(const std::string& /*stem*/) { return ""; }

const char* PathSeparator() { return "/"; }

namespace {

// In the child: points `fd` at `path`; an empty path leaves `fd` as inherited. The file is opened
// close-on-exec, so only `fd` itself reaches the program.
bool Redirect(const std::string& path, int fd, int flags) {
  if (path.empty()) return true;
  const int opened = open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (opened < 0) return false;
  if (opened == fd) return fcntl(fd, F_SETFD, 0) == 0;  // dup2 onto itself would keep the flag
  const bool ok = dup2(opened, fd) >= 0;
  close(opened);
  return ok;
}

}  // namespace

std::optional<int> RunProcess(const std::string& program, const std::vector<std::string>& args,
                              int timeout_ms) {
  return RunRedirected(program, args, "", "", "", timeout_ms);
}

std::optional<int> RunRedirected(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& stdin_path, const std::string& stdout_path,
                                 const std::string& stderr_path, int timeout_ms) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    constexpr int kWrite = O_WRONLY | O_CREAT | O_TRUNC;
    if (Redirect(stdin_path, 0, O_RDONLY) && Redirect(stdout_path, 1, kWrite) &&
        Redirect(stderr_path, 2, kWrite)) {
      execv(program.c_str(), argv.data());
    }
    _exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (!WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status);
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zylXXXXXX").string();
  // Without a directory the test would write into the working one: fail it instead.
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp " + pattern + ": " + std::strerror(errno));
  }
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void SetEnv(const char* name, const char* value) {
  if (value == nullptr) {
    unsetenv(name);
  } else {
    setenv(name, value, 1);
  }
}

ScopedAddressSpaceLimit::ScopedAddressSpaceLimit() {
  // ASan reserves terabytes up front, and aborts where operator new would throw.
#ifndef __SANITIZE_ADDRESS__
  rlimit limit{};
  std::uint64_t pages = 0;
  if (getrlimit(RLIMIT_AS, &limit) != 0 || !(std::ifstream("/proc/self/statm") >> pages)) return;
  old_ = limit.rlim_cur;
  limit.rlim_cur = pages * sysconf(_SC_PAGESIZE) + (std::uint64_t{1} << 30);  // 1 GiB to spare
  ok_ = setrlimit(RLIMIT_AS, &limit) == 0;
#endif
}

ScopedAddressSpaceLimit::~ScopedAddressSpaceLimit() {
  rlimit limit{};
  if (!ok_ || getrlimit(RLIMIT_AS, &limit) != 0) return;
  limit.rlim_cur = old_;
  setrlimit(RLIMIT_AS, &limit);
}

}  // namespace zyl::testing
