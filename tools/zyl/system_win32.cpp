#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
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

Connection Connect(const std::string& host, const std::string& port, std::string* problem) {
  // Never cleaned up: the process's sockets live until it ends.
  static const bool started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) {
    *problem = "Winsock did not start";
    return kNoConnection;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (const int error = getaddrinfo(host.c_str(), port.c_str(), &hints, &found); error != 0) {
    WSASetLastError(error);
    *problem = platform::LastErrorText();
    return kNoConnection;
  }
  SOCKET s = INVALID_SOCKET;
  for (const addrinfo* at = found; at != nullptr && s == INVALID_SOCKET; at = at->ai_next) {
    s = socket(at->ai_family, at->ai_socktype, at->ai_protocol);
    if (s != INVALID_SOCKET && connect(s, at->ai_addr, static_cast<int>(at->ai_addrlen)) != 0) {
      *problem = platform::LastErrorText();
      closesocket(s);
      s = INVALID_SOCKET;
    }
  }
  freeaddrinfo(found);
  if (s == INVALID_SOCKET) return kNoConnection;
  const BOOL on = TRUE;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
  u_long nonblocking = 1;
  ioctlsocket(s, FIONBIO, &nonblocking);
  return static_cast<Connection>(s);
}

void AwaitConnection(Connection connection, bool writing, int milliseconds) {
  const auto s = static_cast<SOCKET>(connection);
  fd_set readable, writable;
  FD_ZERO(&readable);
  FD_ZERO(&writable);
  FD_SET(s, &readable);
  if (writing) FD_SET(s, &writable);
  timeval wait{milliseconds / 1000, (milliseconds % 1000) * 1000};
  select(0, &readable, &writable, nullptr, &wait);  // a failure too: the next call tells
}

long SendSome(Connection connection, std::string_view bytes, std::string* problem) {
  const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 30));
  const int sent = send(static_cast<SOCKET>(connection), bytes.data(), size, 0);
  if (sent != SOCKET_ERROR) return sent;
  const int error = WSAGetLastError();
  if (error == WSAEWOULDBLOCK || error == WSAEINTR) return 0;
  *problem = platform::LastErrorText();
  return -1;
}

long ReceiveSome(Connection connection, char* buf, std::size_t size, std::string* problem) {
  const int wanted = static_cast<int>(std::min<std::size_t>(size, 1 << 30));
  const int got = recv(static_cast<SOCKET>(connection), buf, wanted, 0);
  if (got > 0) return got;
  const int error = got == 0 ? 0 : WSAGetLastError();
  if (error == WSAEWOULDBLOCK || error == WSAEINTR) return 0;
  *problem = got == 0 ? "the collector closed the connection" : platform::LastErrorText();
  return -1;
}

void Disconnect(Connection connection) { closesocket(static_cast<SOCKET>(connection)); }

std::string HostName() {
  char name[256] = {};
  DWORD size = sizeof name;
  if (!GetComputerNameExA(ComputerNameDnsHostname, name, &size) || size == 0) return "-";
  return std::string(name, size);
}

const char* SystemNote() { return ""; }

}  // namespace zyl::tool
