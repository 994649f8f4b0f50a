#ifndef ZYL_DIAG_TIME_TEXT_H_
#define ZYL_DIAG_TIME_TEXT_H_

#include <ctime>
#include <string>
#include <string_view>

namespace zyl {

// Appends `when` as ctime would write it ("Wed Mar 15 09:05:07 2006" and its newline `newline`),
// in English whatever the locale, without ctime's buffer shared between threads. A time the
// platform cannot express gets a filler of the same width.
void AppendCtimeText(std::time_t when, std::string_view newline, std::string* out);

}  // namespace zyl

#endif  // ZYL_DIAG_TIME_TEXT_H_
