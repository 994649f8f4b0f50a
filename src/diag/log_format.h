#ifndef ZYL_DIAG_LOG_FORMAT_H_
#define ZYL_DIAG_LOG_FORMAT_H_

// The debug log's record, as SendDebugMsg writes it and zyl reads it back: a header line
//   "APP: " the program's path ": " the local time in ctime's form ("Wed Mar  5 09:05:07 2006")
// and the message's lines. The writer's newline (LF, or CR LF on Windows) ends the header, every
// '\n' of the message and the record; a reader judges a record's line ends by its header's.
// It asks the system for nothing: the writer passes in the path, the broken-down time and the
// newline. Of the platform it takes one constant, the path limit that bounds a header.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace zyl::log_format {

inline constexpr std::string_view kHeaderStart = "APP: ";
inline constexpr std::string_view kBeforeTime = ": ";
// What stands for a time the writer could not tell; as wide as a known one.
inline constexpr std::string_view kUnknownTime = "??? ??? ?? ??:??:?? ????";
// The most bytes a time takes: "Wed Mar 15 09:05:07 " and a year of up to 11 characters.
inline constexpr std::size_t kTimeBound = 31;
// The longest header line without its line end: a path has at most platform::kPathLimit bytes.
inline constexpr std::size_t kLongestHeader =
    kHeaderStart.size() + platform::kPathLimit + kBeforeTime.size() + kTimeBound;
// The longest header line with its line end: a writer's room for it, and what a reader keeps back
// of a line until it is whole.
inline constexpr std::size_t kHeadBound = kLongestHeader + 2;

// A header's local time.
struct Time {
  std::int64_t year = 0;
  int month = 0, day = 0, hour = 0, minute = 0, second = 0;  // month: 1 to 12
};

// Whether `time` is a day of the calendar (the proleptic Gregorian one) and a time of day,
// a leap second allowed.
bool IsValid(const Time& time);

// Writes the header of a record by `exe` (at most platform::kPathLimit bytes) at `local` (null:
// not known, as is a time out of ctime's range) and `newline` to `out`, which has room for
// kLongestHeader bytes and the newline; returns the end.
char* PutHeader(std::string_view exe, const std::tm* local, std::string_view newline, char* out);
// PutHeader in two steps, for a writer that reads the path straight into place: the header's
// start, after which the path goes, and the rest after the path's end.
char* PutHeaderStart(char* out);
char* PutHeaderEnd(const std::tm* local, std::string_view newline, char* exe_end);

// Writes `message` with each '\n' as `newline`, and a newline after it, to `out`, which has room
// for (message.size() + 1) * newline.size() bytes; returns the end.
char* PutMessage(std::string_view message, std::string_view newline, char* out);

// ctime's form without its newline, as a header has it; the day of the week is not checked.
std::optional<Time> ParseTime(std::string_view text);

struct Header {
  std::size_t begin = 0;  // where it starts in the line: after the rest of a record cut short
  std::string_view exe;
  std::optional<Time> time;  // none: its writer did not know it
  bool crlf = false;         // it ends in CR LF: so do the record's lines
};

// The header that ends `line` (its line end included, if any), or none. It is the line, or the
// line's tail after the rest of a record cut short; of all readings, the one starting earliest,
// so a path may hold "APP: " and ": ". A message line of a header's form is a header to any reader.
std::optional<Header> FindHeader(std::string_view line);

// `body`, the bytes after a header up to the next, without the record's last line end: a LF, and
// when `crlf` the CR before it.
std::string_view WithoutLastLineEnd(std::string_view body, bool crlf);
// The message's bytes as its writer passed them, from the `stored` ones: each CR LF a '\n' when
// `crlf`; otherwise a CR is the message's own.
std::string DecodeMessage(std::string_view stored, bool crlf);

}  // namespace zyl::log_format

#endif  // ZYL_DIAG_LOG_FORMAT_H_
