#ifndef ZYL_PLATFORM_PLATFORM_H_
#define ZYL_PLATFORM_PLATFORM_H_

// The operating-system seam. Each function is shaped like the call it wraps, doing what its system
// needs to keep the promise written here (a long write in pieces, a partial one cut back);
// win32.cpp and posix.cpp implement it, one of them per build. They try once: whether to try
// again, and for how long, is decided in shared code (diag/retry.h).

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Window handle, declared as <windows.h> and zyl/zyl.h do, so all spellings name one type.
struct HWND__;
typedef HWND__* HWND;

namespace zyl::platform {

// The platform's path limit: module and short paths are read into buffers of this size.
inline constexpr std::size_t kPathLimit = 260;

// Writes the path of `module` (null: the process's executable) into `buf`, NUL-terminated;
// returns its length, 0 on failure, or `size` when it did not fit and was cut to `size` - 1 bytes.
std::size_t ModulePath(const void* module, char* buf, std::size_t size);

// Loads the library at `path` once more and never releases it, so it stays mapped until exit.
void PinLibrary(const char* path);

// Writes the short form of the existing `path` into `buf`. Returns its length, 0 on failure, or
// the size `buf` would need when it is too small.
std::size_t ShortPathName(const char* path, char* buf, std::size_t size);

// Copies the value of the environment variable `name` into `buf`, NUL-terminated; returns its
// length, 0 when it is unset or empty, or at least `size` when it did not fit. Windows copies it
// under the environment's own lock, safe against other threads changing it. POSIX leaves getenv
// against a concurrent setenv undefined; the Linux build is a stand-in and copies getenv's answer.
std::size_t EnvironmentValue(const char* name, char* buf, std::size_t size);

// What one try at work another process may hold up gave: done, held up (worth trying again), or
// failed for good. Whether and how long to try again is diag/retry.h's decision.
enum class Try { kDone, kBusy, kFailed };

// A file opened for appending by OpenForAppend. `lock`: kDone while no other writer appends to it
// until it is closed (Windows); kBusy when another process held that lock at the last try;
// kFailed where appends take no lock (POSIX) or the handle may not lock.
struct AppendFile {
  std::intptr_t handle = -1;
  Try lock = Try::kFailed;
};

// Opens `path` for appending, creating it unless `existing_only`; handle -1 on failure. No byte
// another writer appended is ever removed. Windows tries once to lock the file until it is closed.
AppendFile OpenForAppend(const char* path, bool existing_only = false);
// Tries once more to take the lock OpenForAppend found busy.
Try TryLockAppends(const AppendFile& file);

// Appends `data` whole: concurrent appenders, threads or processes, never interleave within one
// call (up to 1 GiB on POSIX). Under the lock Windows cuts a write a full disk cut short back off
// where the file allows; POSIX leaves such a write as it is. False when not all of it went out.
bool AppendWhole(const AppendFile& file, std::string_view data);

// The size of the open file (an OpenForReading handle too, as {handle}); nullopt when unknown.
std::optional<std::uint64_t> FileSize(const AppendFile& file);

// The offset just past the last append through `file`, where the system keeps it (POSIX);
// nullopt where it does not (Windows: the size under the lock gives it instead).
std::optional<std::uint64_t> AppendEnd(const AppendFile& file);

// Tries once to take the lock that rotations of `file` hold, until it is closed: POSIX tries to
// take it now; Windows holds it already when the append locked, and fails for good otherwise.
Try TryLockForRotation(const AppendFile& file);

void CloseFile(const AppendFile& file);

// Opens the existing `path` for reading; -1 on failure. Others may append to it, rename it or
// remove it meanwhile, as they may a log. CloseFile({handle}) closes it; zyl hands it to its C
// runtime instead, which closes it with its descriptor.
std::intptr_t OpenForReading(const char* path);
// OpenForReading for a regular file only: a symbolic link at `path` is not followed, nor a pipe
// waited for. -1 when it cannot; `*stranger` then names what is there instead ("a symbolic
// link", "a directory", "a pipe", "a device"), or stays null when nothing or no such thing is.
std::intptr_t OpenRegularFile(const char* path, const char** stranger);

// What names a file: POSIX device and inode, Windows volume serial and file index. A removed
// file's inode may go to the next file at once, so Linux adds the birth time statx gives (where
// the file system keeps one). Windows adds none: NTFS's index carries a reuse count, and Wine's
// creation time moves with every write. A part the system did not give (0) matches any: Wine
// sometimes gives volume serial 0 for a file under load.
struct FileId {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  std::uint64_t birth = 0;  // nanoseconds since 1970; 0: unknown
  friend bool operator==(const FileId& a, const FileId& b) {
    const auto same = [](std::uint64_t x, std::uint64_t y) { return x == y || x == 0 || y == 0; };
    return a.index == b.index && same(a.volume, b.volume) && same(a.birth, b.birth);
  }
};
// Of any open file: an OpenForReading handle too, as {handle}.
std::optional<FileId> IdOfFile(const AppendFile& file);
std::optional<FileId> IdOfPath(const char* path);

// Renames `from` to `to` unless `to` exists; never replaces a file.
bool RenameNoReplace(const char* from, const char* to);
bool RemoveFile(const char* path);
// The names of the entries of the folder `prefix` ends in ("" is the current one): the part of a
// path before its file name, separator included.
std::vector<std::string> FolderNames(const std::string& prefix);
// The bytes that end a path's folder part ("\\/:" on Windows, "/" on POSIX), and whether the
// platform's file names ignore letter case.
std::string_view PathSeparators();
bool NamesIgnoreCase();
// Why the last failed call of this thread failed, in the system's words.
std::string LastErrorText();

// The end of a line in a text file.
std::string_view TextNewline();

// Milliseconds on a clock that only moves forward, from an unspecified start.
std::uint64_t MonotonicMs();
// Suspends the calling thread for about `ms` milliseconds.
void PauseMs(std::uint64_t ms);

// Seconds since 1970 now, 64 bits wide even where time_t is not (it ends in 2038).
std::int64_t CalendarTime();
// Thread-safe local time of `seconds` since 1970; false when it cannot be expressed.
bool BrokenDownLocalTime(std::int64_t seconds, std::tm* out);

// The calling thread's active window, or null.
HWND ActiveWindow();
// The parent of a child window or the owner of a pop-up; null at the root.
HWND ParentWindow(HWND window);
// Whether `window` names a window that exists now.
bool IsWindow(HWND window);
// Writes the title of `window` into `buf`, cut to `size` - 1 bytes and NUL-terminated.
void WindowText(HWND window, char* buf, int size);
// Shows a modal message box with one OK button, above other windows and in front, and returns
// when it is closed.
void ShowBox(HWND owner, const char* text, const char* caption);

}  // namespace zyl::platform

#endif  // ZYL_PLATFORM_PLATFORM_H_
