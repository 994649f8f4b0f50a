#ifndef ZYL_TOOLS_ZYL_SYSTEM_H_
#define ZYL_TOOLS_ZYL_SYSTEM_H_

// What zyl needs of the operating system beyond the library's seam (platform/platform.h, which
// it calls for files' identities and the system's error text): system_win32.cpp and
// system_posix.cpp implement it, one of them per build.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"  // FileId

namespace zyl::tool {

// Makes standard input and output carry bytes unchanged: no CRLF translation and no Ctrl-Z end
// of file on Windows, so results are the same bytes on every platform. Call before any I/O.
void UseBinaryStdio();

// Whether the stream `fd` is a terminal (on Windows, a console).
bool IsTerminal(int fd);

struct FileStatus {
  bool exists = false;
  bool regular = false;  // a plain file, not a directory, device or pipe
  std::uint64_t size = 0;
};
FileStatus StatFile(const std::string& path);

// Opens `path` for reading bytes; -1 when it cannot, with the system's words for why in `problem`.
int OpenForReading(const std::string& path, std::string* problem);
// Opens `path` for reading only when it is a regular file: a symbolic link is not followed, nor a
// pipe waited for. -1 when it cannot, with why in `problem`; `*stranger` then tells whether
// something else is there, and `problem` what ("a symbolic link", "a directory", ...).
int OpenRegularFile(const std::string& path, std::string* problem, bool* stranger);
// Reads what is there now, up to `size` (< 2 GiB) bytes, waiting only when there is nothing: the
// count, 0 at the end, -1 on failure (errno says why).
long ReadSome(int fd, char* buf, std::size_t size);
// Whether a read of `fd` finds input (or its end) within `milliseconds`, waiting that long at
// most: at once for a file; a pipe or terminal may have nothing to read yet.
bool AwaitInput(int fd, int milliseconds);
bool SeekTo(int fd, std::uint64_t offset);
void CloseFile(int fd);

struct OpenFileStatus {
  platform::FileId id;
  std::uint64_t size = 0;
};
std::optional<OpenFileStatus> StatOpenFile(int fd);

// Renames `from` to `to`, replacing what `to` names in one step: a reader of `to` finds the old
// file or the new one, whole.
bool MoveOver(const std::string& from, const std::string& to);

// From now on SIGTERM and SIGINT (on Windows Ctrl-C and Ctrl-Break) only ask for a stop, which
// StopRequested() tells: long work ends at a record's boundary.
void CatchStopRequests();
bool StopRequested();
// Asks for a stop as a signal does: for work that cannot go on.
void RequestStop();

// A TCP connection to a collector, or kNoConnection.
using Connection = std::intptr_t;
inline constexpr Connection kNoConnection = -1;
// Connects to `host` at `port` over TCP with Nagle's delay off (a record waits for nothing), its
// sends and receives returning at once; kNoConnection, with why in `problem`, when it cannot.
Connection Connect(const std::string& host, const std::string& port, std::string* problem);
// Waits up to `milliseconds` until `connection` has bytes (or its end) to receive, or, when
// `writing`, room to send.
void AwaitConnection(Connection connection, bool writing, int milliseconds);
// Sends what there is room for now: the count (0: no room); -1, with why in `problem`, when the
// connection failed.
long SendSome(Connection connection, std::string_view bytes, std::string* problem);
// Receives what has come: the count (0: nothing yet); -1, with why in `problem`, when the
// connection failed or the other side closed it.
long ReceiveSome(Connection connection, char* buf, std::size_t size, std::string* problem);
void Disconnect(Connection connection);
// This host's name, as a syslog message names its sender; "-" when the system cannot tell it.
std::string HostName();

// What --help adds about this system; may be empty.
const char* SystemNote();

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_SYSTEM_H_
