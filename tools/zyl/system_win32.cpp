#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "system.h"

namespace zyl::tool {
namespace {

volatile LONG stop_requested = 0;

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  InterlockedExchange(&stop_requested, 1);
  return TRUE;
}

}  // namespace

void UseBinaryStdio() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

bool IsTerminal(int fd) {
  DWORD mode = 0;
  return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), &mode) != 0;
}

FileStatus StatFile(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
  const bool regular =
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
  return {true, regular, (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
}

namespace {

// A descriptor for the handle `file` (-1: none, with why in `problem`), which it then owns.
int Descriptor(std::intptr_t file, std::string* problem) {
  if (file == -1) {
    *problem = platform::LastErrorText();
    return -1;
  }
  const int fd = _open_osfhandle(file, _O_RDONLY | _O_BINARY);
  if (fd == -1) {
    *problem = std::strerror(errno);
    platform::CloseFile({file});
  }
  return fd;
}

}  // namespace

int OpenForReading(const std::string& path, std::string* problem) {
  // Opened as the library opens the log: the same ANSI path, shared with its writers.
  return Descriptor(platform::OpenForReading(path.c_str()), problem);
}

int OpenRegularFile(const std::string& path, std::string* problem, bool* stranger) {
  const char* what = nullptr;
  const std::intptr_t file = platform::OpenRegularFile(path.c_str(), &what);
  *stranger = what != nullptr;
  if (*stranger) *problem = what;
  return *stranger ? -1 : Descriptor(file, problem);
}

long ReadSome(int fd, char* buf, std::size_t size) {
  return _read(fd, buf, static_cast<unsigned>(size));
}

bool AwaitInput(int fd, int milliseconds) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  switch (GetFileType(handle)) {
    case FILE_TYPE_PIPE:
      // Anonymous pipes cannot be waited on: looked into every few milliseconds.
      for (int waited = 0;; waited += 10) {
        DWORD available = 0;  // a pipe whose writer is gone fails: its read ends at once
        if (!PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr) || available > 0) {
          return true;
        }
        if (waited >= milliseconds) return false;
        Sleep(10);
      }
    case FILE_TYPE_CHAR:  // a console's input is signalled while it holds events
      return WaitForSingleObject(handle, static_cast<DWORD>(milliseconds)) != WAIT_TIMEOUT;
    default:
      return true;
  }
}

bool SeekTo(int fd, std::uint64_t offset) {
  return _lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) != -1;
}

void CloseFile(int fd) { _close(fd); }

std::optional<OpenFileStatus> StatOpenFile(int fd) {
  const platform::AppendFile file{_get_osfhandle(fd)};
  const std::optional<platform::FileId> id = platform::IdOfFile(file);
  const std::optional<std::uint64_t> size = platform::FileSize(file);
  if (!id || !size) return std::nullopt;
  return OpenFileStatus{*id, *size};
}

bool MoveOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void CatchStopRequests() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }

bool StopRequested() { return InterlockedCompareExchange(&stop_requested, 0, 0) != 0; }

void RequestStop() { InterlockedExchange(&stop_requested, 1); }

// Windows has unix sockets of the stream kind only, and no local syslog daemon to listen on one.
int OpenDatagramSocket(std::string* problem) {
  *problem = "not available on Windows, which has no unix datagram sockets";
  return -1;
}

int SendDatagram(int /*socket*/, const std::string& /*path*/, std::string_view /*bytes*/) {
  return ENOSYS;
}

void CloseSocket(int /*socket*/) {}

const char* SystemNote() { return ""; }

}  // namespace zyl::tool
