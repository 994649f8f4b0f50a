#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "system.h"

namespace zyl::tool {
namespace {

volatile std::sig_atomic_t stop_requested = 0;

void OnStopSignal(int /*signal*/) { stop_requested = 1; }

}  // namespace

void UseBinaryStdio() {}  // POSIX streams never translate

bool IsTerminal(int fd) { return isatty(fd) == 1; }

FileStatus StatFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return {true, S_ISREG(info.st_mode), static_cast<std::uint64_t>(info.st_size)};
}

int OpenForReading(const std::string& path, std::string* problem) {
  const auto fd = static_cast<int>(platform::OpenForReading(path.c_str()));
  if (fd < 0) *problem = platform::LastErrorText();
  return fd;
}

int OpenRegularFile(const std::string& path, std::string* problem, bool* stranger) {
  const char* what = nullptr;
  const auto fd = static_cast<int>(platform::OpenRegularFile(path.c_str(), &what));
  *stranger = what != nullptr;
  if (fd < 0) *problem = *stranger ? what : platform::LastErrorText();
  return fd;
}

long ReadSome(int fd, char* buf, std::size_t size) {
  for (;;) {
    const ssize_t got = read(fd, buf, size);
    if (got >= 0 || errno != EINTR) return static_cast<long>(got);
  }
}

bool AwaitInput(int fd, int milliseconds) {
  pollfd readable{fd, POLLIN, 0};
  return poll(&readable, 1, milliseconds) != 0;  // a failure too: the read will tell
}

bool SeekTo(int fd, std::uint64_t offset) {
  return lseek(fd, static_cast<off_t>(offset), SEEK_SET) != -1;
}

void CloseFile(int fd) { close(fd); }

std::optional<OpenFileStatus> StatOpenFile(int fd) {
  const platform::AppendFile file{fd};
  const std::optional<platform::FileId> id = platform::IdOfFile(file);
  const std::optional<std::uint64_t> size = platform::FileSize(file);
  if (!id || !size) return std::nullopt;
  return OpenFileStatus{*id, *size};
}

bool MoveOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

void CatchStopRequests() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

bool StopRequested() { return stop_requested != 0; }

void RequestStop() { stop_requested = 1; }

int OpenDatagramSocket(std::string* problem) {
  const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) *problem = std::strerror(errno);
  // The kernel caps the size at net.core.wmem_max; a datagram must fit in the buffer whole.
  const int size = 1 << 20;
  if (fd >= 0) setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
  return fd;
}

int SendDatagram(int socket, const std::string& path, std::string_view bytes) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return ENAMETOOLONG;
  std::memcpy(address.sun_path, path.data(), path.size());
  const ssize_t sent = sendto(socket, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                              reinterpret_cast<const sockaddr*>(&address), sizeof address);
  return sent >= 0 ? 0 : errno;
}

void CloseSocket(int socket) { close(socket); }

const char* SystemNote() {
  return "Linux has no windows: 'msg' and 'error' write their box to standard error, captioned\n"
         "only when there is a title, and titles are empty: a window handle names no window, and\n"
         "the program's own file name is what follows the last '\\' or ':' of its path, which a\n"
         "Linux path does not have.\n";
}

}  // namespace zyl::tool
