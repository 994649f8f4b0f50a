#ifndef ZYL_TOOLS_ZYL_SYSTEM_H_
#define ZYL_TOOLS_ZYL_SYSTEM_H_

// What zyl needs of the operating system beyond the library: system_win32.cpp and
// system_posix.cpp implement it, one of them per build.

#include <cstddef>
#include <cstdint>
#include <string>

#include "zyl/zyl.h"  // HWND

namespace zyl::tool {

// Makes standard input and output carry bytes unchanged: no CRLF translation and no Ctrl-Z end
// of file on Windows, so results are the same bytes on every platform. Call before any I/O.
void UseBinaryStdio();

// Whether the stream `fd` is a terminal (on Windows, a console).
bool IsTerminal(int fd);

// Whether `window` names a window that exists now.
bool IsWindowHandle(HWND window);

struct FileStatus {
  bool regular = false;  // a plain file, not a directory, device or pipe
  std::uint64_t size = 0;
};
FileStatus StatFile(const std::string& path);

// Opens `path` for reading bytes; -1 when it cannot, with the system's words for why in `problem`.
int OpenForReading(const std::string& path, std::string* problem);
// Reads what is there now, up to `size` (< 2 GiB) bytes, waiting only when there is nothing: the
// count, 0 at the end, -1 on failure (errno says why).
long ReadSome(int fd, char* buf, std::size_t size);
// Whether a read of `fd` finds input (or its end) within `milliseconds`, waiting that long at
// most: at once for a file; a pipe or terminal may have nothing to read yet.
bool AwaitInput(int fd, int milliseconds);
bool SeekTo(int fd, std::uint64_t offset);
void CloseFile(int fd);

// What --help adds about this system; may be empty.
const char* SystemNote();

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_SYSTEM_H_
