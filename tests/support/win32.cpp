#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "iat_patch.h"
#include "test_support.h"
#include "zyl/zyl.h"

namespace zyl::testing {
namespace {

std::string ModuleFile(HMODULE module) {
  char buf[MAX_PATH * 4] = {};
  GetModuleFileNameA(module, buf, sizeof buf);
  return buf;
}

// Quotes one argument the way CommandLineToArgvW and the C runtime split it again.
std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((dir + "*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = dir + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full + "\\");
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(dir.c_str());
}

}  // namespace

const char kTextNewline[] = "\r\n";

std::size_t OpenHandleCount() {
  DWORD count = 0;
  GetProcessHandleCount(GetCurrentProcess(), &count);
  return count;
}

std::string ExecutableDir() {
  const std::string exe = ModuleFile(nullptr);
  return exe.substr(0, exe.find_last_of("\\/") + 1);
}

std::string LibraryPath() { return ModuleFile(LibraryModule()); }

std::string ExecutablePath(const std::string& stem) { return ExecutableDir() + stem + ".exe"; }

std::string ExecutableTitle(const std::string& stem) { return stem + ".exe"; }

const char* PathSeparator() { return "\\"; }

namespace {

// Starts `program` as `startup` says, waits at most `timeout_ms` and returns its exit status.
std::optional<int> StartAndWait(const std::string& program, const std::vector<std::string>& args,
                                STARTUPINFOA* startup, bool inherit_handles, int timeout_ms) {
  std::string command_line = Quote(program);
  for (const std::string& arg : args) command_line += " " + Quote(arg);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr,
                      inherit_handles ? TRUE : FALSE, 0, nullptr, nullptr, startup, &process)) {
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  std::optional<int> status;
  if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeout_ms)) == WAIT_OBJECT_0) {
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) status = static_cast<int>(code);
  } else {
    TerminateProcess(process.hProcess, 255);
    WaitForSingleObject(process.hProcess, INFINITE);  // so its files can be removed
  }
  CloseHandle(process.hProcess);
  return status;
}

// A handle the child inherits; INVALID_HANDLE_VALUE when the file cannot be opened.
HANDLE OpenInheritable(const std::string& path, bool for_writing) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileA(path.c_str(), for_writing ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     for_writing ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::optional<int> RunProcess(const std::string& program, const std::vector<std::string>& args,
                              int timeout_ms) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  return StartAndWait(program, args, &startup, false, timeout_ms);
}

std::optional<int> RunRedirected(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& stdin_path, const std::string& stdout_path,
                                 const std::string& stderr_path, int timeout_ms) {
  const HANDLE files[3] = {OpenInheritable(stdin_path, false), OpenInheritable(stdout_path, true),
                           OpenInheritable(stderr_path, true)};
  std::optional<int> status;
  if (files[0] != INVALID_HANDLE_VALUE && files[1] != INVALID_HANDLE_VALUE &&
      files[2] != INVALID_HANDLE_VALUE) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = files[0];
    startup.hStdOutput = files[1];
    startup.hStdError = files[2];
    status = StartAndWait(program, args, &startup, true, timeout_ms);
  }
  for (const HANDLE file : files) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  return status;
}

TempDir::TempDir() {
  char base[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof base, base);
  // Without a directory the test would write into the working one: fail it instead.
  if (length == 0 || length >= sizeof base) throw std::runtime_error("GetTempPathA failed");
  for (unsigned attempt = GetTickCount();; ++attempt) {
    const std::string path = std::string(base) + "zyl" + std::to_string(GetCurrentProcessId()) +
                             "_" + std::to_string(attempt) + "\\";
    if (CreateDirectoryA(path.c_str(), nullptr)) {
      path_ = path;
      return;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS) {
      throw std::runtime_error("CreateDirectoryA " + path + ": error " + std::to_string(error));
    }
  }
}

TempDir::~TempDir() { RemoveTree(path_); }

void SetEnv(const char* name, const char* value) {
  // msvcrt copies the entry; "NAME=" removes the variable, so an empty value reads as unset.
  _putenv((std::string(name) + "=" + (value != nullptr ? value : "")).c_str());
}

// A 32-bit process has no more than 4 GiB to use up; a 64-bit one cannot be bounded here.
ScopedAddressSpaceLimit::ScopedAddressSpaceLimit() : ok_(sizeof(void*) == 4) {}
ScopedAddressSpaceLimit::~ScopedAddressSpaceLimit() = default;

}  // namespace zyl::testing
