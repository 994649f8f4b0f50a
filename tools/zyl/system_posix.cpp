#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
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

Connection Connect(const std::string& host, const std::string& port, std::string* problem) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (const int error = getaddrinfo(host.c_str(), port.c_str(), &hints, &found); error != 0) {
    *problem = gai_strerror(error);
    return kNoConnection;
  }
  int fd = -1;
  for (const addrinfo* at = found; at != nullptr && fd < 0; at = at->ai_next) {
    fd = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
    if (fd >= 0 && connect(fd, at->ai_addr, at->ai_addrlen) != 0) {
      *problem = std::strerror(errno);
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  if (fd < 0) return kNoConnection;
  const int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  return fd;
}

void AwaitConnection(Connection connection, bool writing, int milliseconds) {
  pollfd ready{static_cast<int>(connection), static_cast<short>(POLLIN | (writing ? POLLOUT : 0)),
               0};
  poll(&ready, 1, milliseconds);  // a failure too: the next send or receive tells
}

long SendSome(Connection connection, std::string_view bytes, std::string* problem) {
  const ssize_t sent =
      send(static_cast<int>(connection), bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  if (sent >= 0) return static_cast<long>(sent);
  if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return 0;
  *problem = std::strerror(errno);
  return -1;
}

long ReceiveSome(Connection connection, char* buf, std::size_t size, std::string* problem) {
  const ssize_t got = recv(static_cast<int>(connection), buf, size, MSG_DONTWAIT);
  if (got > 0) return static_cast<long>(got);
  if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return 0;
  *problem = got == 0 ? "the collector closed the connection" : std::strerror(errno);
  return -1;
}

void Disconnect(Connection connection) { close(static_cast<int>(connection)); }

std::string HostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "-";
  return name;
}

const char* SystemNote() {
  return "Linux has no windows: 'msg' and 'error' write their box to standard error, captioned\n"
         "only when there is a title, and titles are empty: a window handle names no window, and\n"
         "the program's own file name is what follows the last '\\' or ':' of its path, which a\n"
         "Linux path does not have.\n";
}

}  // namespace zyl::tool
