#ifndef ZYL_ZYL_H_
#define ZYL_ZYL_H_

// The complete exported interface of ZIZUDUZ. Strings cross the boundary by value, so a caller
// must be built with the same std::string implementation as the library (on Windows: the same
// mingw-w64 libstdc++, whose heap is msvcrt's). No exception leaves any of these functions: where
// memory runs out, a string result is empty, Debug() is false, and a log record or box is skipped.

#include <cstdint>
#include <string>

#include "zyl/abi_guard.h"
#include "zyl/export.h"
#include "zyl/zyl_string.h"

// Window handle, declared as <windows.h> does so that both spellings name the same type.
struct HWND__;
typedef HWND__* HWND;

// Trimming strips the bytes that isspace or iscntrl accept (under the "C" locale: 0x00-0x20 and
// 0x7F). Interior bytes are never touched.
[[nodiscard]] ZYL_API std::string ZYLTrimLeft(const std::string& text);
[[nodiscard]] ZYL_API std::string ZYLTrimRight(const std::string& text);
[[nodiscard]] ZYL_API std::string ZYLTrim(const std::string& text);

// Widens `text` to `width` bytes with `fill`, on the left when `pad_left` (right-aligning the
// text). A width at or below the text's length, negative included, returns the text unchanged; a
// width whose string cannot be allocated returns the empty string.
[[nodiscard]] ZYL_API ZYLString PadString(const ZYLString& text, char fill, std::int32_t width,
                                          bool pad_left);

// Split a path at its last backslash or colon (never at '/'). Without a separator both are empty;
// with one, ExtractFilePath(p) + ExtractFileName(p) == p.
[[nodiscard]] ZYL_API ZYLString ExtractFileName(const ZYLString& path);
[[nodiscard]] ZYL_API ZYLString ExtractFilePath(const ZYLString& path);

// The short (8.3) form of an existing path; empty when the path does not exist or the query fails.
[[nodiscard]] ZYL_API ZYLString ExtractShortPathName(const ZYLString& path);

// The title of `window` (its first 1023 bytes), empty for a handle that names no window; for a
// null window the file name of the process's executable. On Linux there are no windows: every
// title is empty, and so is the file name, which only a `\` or `:` would set off in a path.
[[nodiscard]] ZYL_API ZYLString GetWindowTitle(HWND window);

extern "C" {

// True when the environment variable DEBUG, upper-cased, is exactly "ON". Read at every call, on
// Windows safely while other threads change the environment; on Linux through getenv, which POSIX
// leaves undefined against a concurrent setenv.
[[nodiscard]] ZYL_API bool Debug();

// Appends a two-line record to the file LogName names: "APP: <executable>: <ctime-form time>",
// then `message`. Silently does nothing when the file cannot be opened. On Windows it waits about
// a second at most for another process's lock on the log. With the environment variable
// ZYL_LOG_ROTATE=SIZE[,KEEP] set (read at each call), the call whose record reaches SIZE bytes
// also renames the log to its next generation ("C:\ZYL.1.LOG", ...) and deletes the oldest
// generations beyond KEEP (5 unless given): the caller needs the right to rename and delete files
// in the log's folder, and the call may wait about a second at most for the rotation lock.
// One log is written by one kind of process: Windows programs (the DLL, under Wine too) or Linux
// ones, not both, since the two append by different rules and a mix loses and tears records
// (docs/reliability.md).
ZYL_API void SendDebugMsg(const std::string& message);

// Shows `text` in a modal, top-most box owned by, and captioned with the title of, the calling
// thread's top-level window; returns when the user closes it.
ZYL_API void ShowZYLMsg(const std::string& text);

// Shows `detail` when Debug() is on, `user_text` otherwise: always exactly one box.
ZYL_API void ShowZYLError(const std::string& user_text, const std::string& detail);

// Path of the debug log, "C:\ZYL.LOG" at load. Callers may point it elsewhere; the storage stays
// theirs and must outlive their logging. Null disables the log.
ZYL_API extern const char* LogName;

}  // extern "C"

#endif  // ZYL_ZYL_H_
