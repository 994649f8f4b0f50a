#include <windows.h>

#include <cstdlib>
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

std::string ExecutableDir() {
  const std::string exe = ModuleFile(nullptr);
  return exe.substr(0, exe.find_last_of("\\/") + 1);
}

std::string LibraryPath() { return ModuleFile(LibraryModule()); }

const char* PathSeparator() { return "\\"; }

std::optional<int> RunProcess(const std::string& program, const std::vector<std::string>& args,
                              int timeout_ms) {
  std::string command_line = Quote(program);
  for (const std::string& arg : args) command_line += " " + Quote(arg);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  std::optional<int> status;
  if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeout_ms)) == WAIT_OBJECT_0) {
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) status = static_cast<int>(code);
  } else {
    TerminateProcess(process.hProcess, 255);
  }
  CloseHandle(process.hProcess);
  return status;
}

TempDir::TempDir() {
  char base[MAX_PATH + 1] = {};
  GetTempPathA(sizeof base, base);
  for (unsigned attempt = GetTickCount();; ++attempt) {
    path_ = std::string(base) + "zyl" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(attempt) + "\\";
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
}

TempDir::~TempDir() { RemoveTree(path_); }

void SetEnv(const char* name, const char* value) {
  // msvcrt copies the entry; "NAME=" removes the variable, so an empty value reads as unset.
  _putenv((std::string(name) + "=" + (value != nullptr ? value : "")).c_str());
}

}  // namespace zyl::testing
