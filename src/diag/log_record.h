#ifndef ZYL_DIAG_LOG_RECORD_H_
#define ZYL_DIAG_LOG_RECORD_H_

// A debug-log record as SendDebugMsg writes it and zyl reads it back: a header line,
//   "APP: " the executable's path ": " the local time in ctime's form ("Wed Mar 15 09:05:07 2006"),
// then the message's lines, every line end in the platform's text form.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "diag/time_text.h"
#include "platform/platform.h"

namespace zyl::log_record {

inline constexpr std::string_view kHeaderStart = "APP: ";
inline constexpr std::string_view kBeforeTime = ": ";
// What stands for a time the writer could not tell; as wide as a known one.
inline constexpr std::string_view kUnknownTime = "??? ??? ?? ??:??:?? ????";
// The longest header line without its line end: the path is read into kPathLimit bytes.
inline constexpr std::size_t kLongestHeader =
    kHeaderStart.size() + platform::kPathLimit + kBeforeTime.size() + kCtimeTextBound;

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

}  // namespace zyl::log_record

#endif  // ZYL_DIAG_LOG_RECORD_H_
