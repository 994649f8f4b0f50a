#ifndef ZYL_TOOLS_ZYL_READER_TIME_WORDS_H_
#define ZYL_TOOLS_ZYL_READER_TIME_WORDS_H_

// The times of the log's records and of --since/--until: local, as the records give them.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "diag/log_format.h"

namespace zyl::tool {

// A local date and time.
struct LogTime : log_format::Time {
  // Seconds from a fixed day: orders times without knowing the time zone.
  std::int64_t Key() const;
};

// A time as a record's header has it: "Wed Mar 15 09:05:07 2006" (log_format::ParseTime).
std::optional<LogTime> ParseCtime(std::string_view text);

// "2026-12-07", "2026-12-07T10:00" or "2026-12-07T10:00:05"; a blank may stand for the T.
std::optional<LogTime> ParseIsoTime(std::string_view text);

// A --since or --until value as a time key, one of the forms below; none when it is not a time.
// Relative ones count from `now` back, up to about 100 years.
std::optional<std::int64_t> WhenKey(std::string_view text, std::time_t now);

// The forms WhenKey reads, for a refusal.
inline constexpr char kTimeForms[] =
    "'Wed Mar 15 09:05:07 2006', 2026-12-07, 2026-12-07T10:00[:05], 10:00[:05] (today), today, "
    "yesterday, now, -90s, -30m, -2h, -7d, -2w or '2 hours ago' (s, min, h, d, w, or second, "
    "minute, hour, day, week, plural or not)";

// The local time at `when` as a time key; none when the system cannot tell it.
std::optional<std::int64_t> LocalKey(std::time_t when);

// "2026-12-07T17:26:51+01:00": the UTC offset is the one the local zone had at that time, left
// out when the system cannot tell it.
std::string IsoText(const LogTime& time);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_READER_TIME_WORDS_H_
