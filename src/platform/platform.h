#ifndef ZYL_PLATFORM_PLATFORM_H_
#define ZYL_PLATFORM_PLATFORM_H_

// The operating-system seam. Each function is shaped like the call it wraps; win32.cpp and
// posix.cpp implement it, one of them per build, and every decision lives in the shared code.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string_view>

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

// Opens `path` for appending (creating it), appends `data`, closes it. Concurrent appenders,
// threads or processes, never interleave within one call (up to 1 GiB on POSIX). No byte another
// writer appended is ever removed. Windows locks the file for the append, waiting about a second
// at most for another process's lock, and under the lock cuts a write a full disk cut short back
// off where the file allows; POSIX takes no lock and leaves such a write as it is. False when not
// all of `data` was written.
bool AppendToFile(const char* path, std::string_view data);

// The end of a line in a text file.
std::string_view TextNewline();

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
