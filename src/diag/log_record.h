#ifndef ZYL_DIAG_LOG_RECORD_H_
#define ZYL_DIAG_LOG_RECORD_H_

// A log record as this program writes it: what it takes from the system, the program's path and
// the local time, put in the layout of diag/log_format.h.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <string_view>

#include "diag/log_format.h"
#include "platform/platform.h"

namespace zyl::log_record {

// Writes the executable's path as a header names it to `out`, which has room for
// platform::kPathLimit bytes, and returns the end. It is read straight into place: a failed query
// may leave bytes behind, and the field is empty then; a path cut at the limit may come without
// its NUL.
inline char* PutProgramPath(char* out) {
  using platform::kPathLimit;
  const std::size_t got = platform::ModulePath(nullptr, out, kPathLimit);
  const void* nul = got < kPathLimit ? nullptr : std::memchr(out, '\0', kPathLimit);
  return out + (nul != nullptr ? static_cast<const char*>(nul) - out : std::min(got, kPathLimit));
}

using log_format::kHeadBound;

// Writes this program's record of `message` at `now` (seconds since 1970), every line ended by
// `newline`, to `out`, which has room for kHeadBound bytes besides the stored message and its
// newline; returns the end. SendDebugMsg appends it; 'zyl log' too, and reads it back.
inline char* PutRecord(std::int64_t now, std::string_view message, std::string_view newline,
                       char* out) {
  std::tm local;
  const bool known = platform::BrokenDownLocalTime(now, &local);
  char* const exe = log_format::PutHeaderStart(out);
  out = log_format::PutHeaderEnd(known ? &local : nullptr, newline, PutProgramPath(exe));
  return log_format::PutMessage(message, newline, out);
}

}  // namespace zyl::log_record

#endif  // ZYL_DIAG_LOG_RECORD_H_
