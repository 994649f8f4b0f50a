#ifndef ZYL_DIAG_TIME_TEXT_H_
#define ZYL_DIAG_TIME_TEXT_H_

#include <cstddef>
#include <cstdint>

namespace zyl {

// The most bytes PutCtimeText writes: "Wed Mar 15 09:05:07 " and a year of up to 11 characters.
inline constexpr std::size_t kCtimeTextBound = 31;

// Writes `seconds` since 1970 in local time, in the C standard's ctime form without its newline,
// to `out` (room for kCtimeTextBound bytes) and returns the end: "Wed Mar  5 09:05:07 2006",
// English names, the day of month padded with a blank. Unlike ctime it shares no buffer between
// threads. A time the platform cannot express gets a same-width filler.
char* PutCtimeText(std::int64_t seconds, char* out);

}  // namespace zyl

#endif  // ZYL_DIAG_TIME_TEXT_H_
