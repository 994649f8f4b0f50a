#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "system.h"

namespace zyl::tool {

void UseBinaryStdio() {}  // POSIX streams never translate

bool IsTerminal(int fd) { return isatty(fd) == 1; }

bool IsWindowHandle(HWND /*window*/) { return false; }  // no windows here

FileStatus StatFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return {S_ISREG(info.st_mode), static_cast<std::uint64_t>(info.st_size)};
}

int OpenForReading(const std::string& path, std::string* problem) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) *problem = std::strerror(errno);
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

const char* SystemNote() {
  return "Linux has no windows: 'msg' and 'error' write their box to standard error, captioned\n"
         "only when there is a title, and titles are empty: a window handle names no window, and\n"
         "the program's own file name is what follows the last '\\' or ':' of its path, which a\n"
         "Linux path does not have.\n";
}

}  // namespace zyl::tool
