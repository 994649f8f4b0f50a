#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>  // makedev
#include <time.h>
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

AppendFile OpenForAppend(const char* path, bool existing_only) {
  // O_NONBLOCK: a FIFO nobody reads would otherwise hold the caller in open() for good.
  const int flags = O_WRONLY | O_APPEND | O_CLOEXEC | O_NONBLOCK | (existing_only ? 0 : O_CREAT);
  return {open(path, flags, 0666)};
}

bool AppendWhole(const AppendFile& file, std::string_view data) {
  const int fd = static_cast<int>(file.handle);
  // O_APPEND puts each write at the end atomically. No lock is taken (it would cost a record a
  // third to a half of its time), so a write a full disk cut short stays as it is, torn: another
  // writer may have appended behind it already, and cutting it back would take that record too;
  // going on would put the rest behind such a record. The next record starts with its own header.
  // Linux moves at most 2 GiB per write: a longer record goes in 1 GiB pieces, whole ones only.
  constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
  const char* next = data.data();
  for (std::size_t left = data.size(); left > 0;) {
    const std::size_t piece = std::min(left, kLargestWrite);
    const ssize_t written = write(fd, next, piece);
    if (written == static_cast<ssize_t>(piece)) {
      next += piece;
      left -= piece;
    } else if (written >= 0 || errno != EINTR) {  // EINTR: nothing was written
      return false;
    }
  }
  return true;
}

std::optional<std::uint64_t> FileSize(const AppendFile& file) {
  struct stat info {};
  if (fstat(static_cast<int>(file.handle), &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

std::optional<std::uint64_t> AppendEnd(const AppendFile& file) {
  // After an O_APPEND write the position is the end of that write, whatever came after it; a
  // seventh of a record's time, where fstat would take half.
  const off_t at = lseek(static_cast<int>(file.handle), 0, SEEK_CUR);
  if (at < 0) return std::nullopt;
  return static_cast<std::uint64_t>(at);
}

// POSIX appends take no lock: OpenForAppend never finds one busy.
Try TryLockAppends(const AppendFile& /*file*/) { return Try::kFailed; }

Try TryLockForRotation(const AppendFile& file) {
  // Tried without blocking, as Windows locks the append: a process that keeps the lock stops
  // rotation, never a record.
  if (flock(static_cast<int>(file.handle), LOCK_EX | LOCK_NB) == 0) return Try::kDone;
  return errno == EWOULDBLOCK || errno == EINTR ? Try::kBusy : Try::kFailed;
}

void CloseFile(const AppendFile& file) {
  if (file.handle >= 0) close(static_cast<int>(file.handle));
}

std::intptr_t OpenForReading(const char* path) { return open(path, O_RDONLY | O_CLOEXEC); }

std::intptr_t OpenRegularFile(const char* path, const char** stranger) {
  // O_NONBLOCK: a FIFO would hold open() until a writer came; a regular file ignores it.
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  struct stat info {};
  if (fd < 0) {
    if (errno == ELOOP) *stranger = "a symbolic link";
    return -1;
  }
  if (fstat(fd, &info) != 0 || S_ISREG(info.st_mode)) return fd;  // a failed fstat: the read tells
  *stranger = S_ISDIR(info.st_mode)    ? "a directory"
              : S_ISFIFO(info.st_mode) ? "a pipe"
              : S_ISSOCK(info.st_mode) ? "a socket"
                                       : "a device";
  close(fd);
  return -1;
}

namespace {

// statx, for the birth time stat does not give; the device as stat's st_dev, which cursors keep.
std::optional<FileId> IdOf(int dir, const char* path, int flags) {
  struct statx info {};
  if (statx(dir, path, flags, STATX_INO | STATX_BTIME, &info) != 0) return std::nullopt;
  FileId id{static_cast<std::uint64_t>(makedev(info.stx_dev_major, info.stx_dev_minor)),
            info.stx_ino};
  if ((info.stx_mask & STATX_BTIME) != 0 && info.stx_btime.tv_sec > 0) {
    id.birth =
        static_cast<std::uint64_t>(info.stx_btime.tv_sec) * 1000000000u + info.stx_btime.tv_nsec;
  }
  return id;
}

}  // namespace

std::optional<FileId> IdOfFile(const AppendFile& file) {
  return IdOf(static_cast<int>(file.handle), "", AT_EMPTY_PATH);
}

std::optional<FileId> IdOfPath(const char* path) { return IdOf(AT_FDCWD, path, 0); }

bool RenameNoReplace(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
  if (errno != ENOSYS && errno != EINVAL) return false;
#endif
  // Where the kernel or the file system cannot rename without replacing: a second name, which
  // link() refuses to put over an existing file, then the first one removed.
  if (link(from, to) != 0) return false;
  unlink(from);
  return true;
}

bool RemoveFile(const char* path) { return unlink(path) == 0; }

std::vector<std::string> FolderNames(const std::string& prefix) {
  std::vector<std::string> names;
  DIR* const dir = opendir(prefix.empty() ? "." : prefix.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
  closedir(dir);
  return names;
}

std::string_view PathSeparators() { return "/"; }

bool NamesIgnoreCase() { return false; }

std::string LastErrorText() { return std::strerror(errno); }

std::string_view TextNewline() { return "\n"; }

std::uint64_t MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * 1000 +
         static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
}

void PauseMs(std::uint64_t ms) {
  const timespec pause{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
  nanosleep(&pause, nullptr);  // a signal may end it early: the caller's clock tells
}

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

bool IsWindow(HWND /*window*/) { return false; }

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
