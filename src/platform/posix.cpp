#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace zyl::platform {
namespace {

// Read once: the executable does not change, and a readlink per log record costs as much as
// the write.
const std::string& ExecutablePath() {
  static const std::string path = [] {
    char buf[4096];
    const ssize_t length = readlink("/proc/self/exe", buf, sizeof buf);
    return length > 0 ? std::string(buf, static_cast<std::size_t>(length)) : std::string();
  }();
  return path;
}

// Copies as GetModuleFileNameA does: a path that does not fit is cut to `size` - 1 bytes and
// reported as `size`, so callers can tell it from a whole one.
std::size_t CopyCut(const std::string& text, char* buf, std::size_t size) {
  if (size == 0 || text.empty()) return 0;
  const std::size_t length = std::min(text.size(), size - 1);
  std::memcpy(buf, text.data(), length);
  buf[length] = '\0';
  return text.size() < size ? length : size;
}

}  // namespace

std::size_t ModulePath(const void* module, char* buf, std::size_t size) {
  if (module == nullptr) return CopyCut(ExecutablePath(), buf, size);
  Dl_info info{};
  if (dladdr(module, &info) == 0 || info.dli_fname == nullptr) return 0;
  return CopyCut(info.dli_fname, buf, size);
}

void PinLibrary(const char* path) {
  // Never released: RTLD_NODELETE keeps the library mapped until the process exits.
  dlopen(path, RTLD_NOW | RTLD_NODELETE);
}

std::size_t ShortPathName(const char* path, char* buf, std::size_t size) {
  // No short names here: an existing path is its own short form.
  if (path == nullptr || path[0] == '\0' || access(path, F_OK) != 0) return 0;
  const std::size_t length = std::strlen(path);
  if (length >= size) return length + 1;
  std::memcpy(buf, path, length + 1);
  return length;
}

std::size_t EnvironmentValue(const char* name, char* buf, std::size_t size) {
  const char* value = std::getenv(name);
  if (value == nullptr) return 0;
  const std::size_t length = std::strlen(value);
  if (length >= size) return length + 1;
  std::memcpy(buf, value, length + 1);
  return length;
}

namespace {

// Cuts off the `done` bytes a record that began at `begin` left before the disk filled up, so the
// next record starts on a line of its own; only when they are the last bytes of the file and all
// its own: another writer's record after or among them would go too.
bool CutBack(int fd, off_t begin, std::size_t done) {
  struct stat file {};
  const off_t end = lseek(fd, 0, SEEK_CUR);  // O_APPEND leaves it behind the last piece written
  if (begin < 0 || end != begin + static_cast<off_t>(done) || fstat(fd, &file) != 0 ||
      file.st_size != end) {
    return false;
  }
  return ftruncate(fd, begin) == 0;
}

}  // namespace

bool AppendToFile(const char* path, std::string_view data) {
  // O_NONBLOCK: a FIFO nobody reads would otherwise hold the caller in open() for good.
  const int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return false;
  // O_APPEND puts each write at the end atomically; a short write (full disk, signal) continues.
  std::size_t done = 0;
  off_t begin = -1;  // asked only once a write came up short
  while (done < data.size()) {
    const ssize_t written = write(fd, data.data() + done, data.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    if (done == 0 && static_cast<std::size_t>(written) < data.size()) {
      begin = lseek(fd, 0, SEEK_CUR) - written;
    }
    done += static_cast<std::size_t>(written);
  }
  if (done != 0 && done < data.size()) CutBack(fd, begin, done);
  close(fd);
  return done == data.size();
}

std::string_view TextNewline() { return "\n"; }

std::int64_t CalendarTime() { return std::time(nullptr); }

bool BrokenDownLocalTime(std::int64_t seconds, std::tm* out) {
  const auto when = static_cast<std::time_t>(seconds);
  if (when != seconds) return false;  // past a 32-bit time_t
  // Like localtime_r itself, this keeps the zone the process first read; a host that changes TZ
  // calls tzset(), as POSIX asks of it.
  return localtime_r(&when, out) != nullptr;
}

HWND ActiveWindow() { return nullptr; }  // no windows: callers cope

HWND ParentWindow(HWND /*window*/) { return nullptr; }

void WindowText(HWND /*window*/, char* buf, int size) {
  if (size > 0) buf[0] = '\0';
}

void ShowBox(HWND /*owner*/, const char* text, const char* caption) {
  // The stand-in for a box: the text on standard error, after the caption when there is one.
  if (caption[0] == '\0') {
    std::fprintf(stderr, "%s\n", text);
  } else {
    std::fprintf(stderr, "[%s] %s\n", caption, text);
  }
}

}  // namespace zyl::platform
