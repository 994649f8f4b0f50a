#ifndef ZYL_DIAG_LOG_RECORD_H_
#define ZYL_DIAG_LOG_RECORD_H_

// The debug log's record, as SendDebugMsg writes it and zyl reads it back: a header line
//   "APP: " executable path ": " local time in ctime's form ("Wed Mar 15 09:05:07 2006")
// then the message, its '\n's written as the platform's newline, and one newline more.

#include <cstddef>
#include <string_view>

#include "diag/time_text.h"
#include "platform/platform.h"

namespace zyl::log_record {

inline constexpr std::string_view kHeaderStart = "APP: ";
inline constexpr std::string_view kBeforeTime = ": ";
// What stands for a time the writer could not tell; as wide as a known one.
inline constexpr std::string_view kUnknownTime = "??? ??? ?? ??:??:?? ????";
// The longest header line without its newline: the path is read into kPathLimit bytes.
inline constexpr std::size_t kLongestHeader =
    kHeaderStart.size() + platform::kPathLimit + kBeforeTime.size() + kCtimeTextBound;

}  // namespace zyl::log_record

#endif  // ZYL_DIAG_LOG_RECORD_H_
