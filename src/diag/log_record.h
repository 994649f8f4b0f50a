#ifndef ZYL_DIAG_LOG_RECORD_H_
#define ZYL_DIAG_LOG_RECORD_H_

// What a log record takes from the system besides the clock: the program's path as a header names
// it (diag/log_format.h has the record's layout).

#include <algorithm>
#include <cstddef>
#include <cstring>

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

}  // namespace zyl::log_record

#endif  // ZYL_DIAG_LOG_RECORD_H_
