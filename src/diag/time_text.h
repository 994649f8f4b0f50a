#ifndef ZYL_DIAG_TIME_TEXT_H_
#define ZYL_DIAG_TIME_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace zyl {

// Appends `seconds` since 1970 in local time, in the C standard's ctime form and its `newline`:
// "Wed Mar  5 09:05:07 2006", English names, the day of month padded with a blank. Unlike ctime
// it shares no buffer between threads. A time the platform cannot express gets a same-width filler.
void AppendCtimeText(std::int64_t seconds, std::string_view newline, std::string* out);

}  // namespace zyl

#endif  // ZYL_DIAG_TIME_TEXT_H_
