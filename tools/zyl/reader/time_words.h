#ifndef ZYL_TOOLS_ZYL_READER_TIME_WORDS_H_
#define ZYL_TOOLS_ZYL_READER_TIME_WORDS_H_

// The times of the log's records and of --since/--until. A record's header gives a local time
// without its UTC offset; times are compared as instants, seconds from 1970-01-01 UTC.

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

// A --since or --until value as an instant, one of the forms below; none when it is not a time.
// Relative ones count from `now` back, up to about 100 years; a local time the zone has twice is
// its first reading.
std::optional<std::int64_t> WhenInstant(std::string_view text, std::time_t now);

// The forms WhenInstant reads, for a refusal.
inline constexpr char kTimeForms[] =
    "'Wed Mar 15 09:05:07 2006', 2026-12-07, 2026-12-07T10:00[:05], 10:00[:05] (today), today, "
    "yesterday, now, -90s, -30m, -2h, -7d, -2w or '2 hours ago' (s, min, h, d, w, or second, "
    "minute, hour, day, week, plural or not)";

// The local time at `when` as a time key; none when the system cannot tell it.
std::optional<std::int64_t> LocalKey(std::time_t when);

// The instant at which the local clock showed `time`. In the hour a clock goes back the time
// shows twice: its first reading, unless `not_before` (the instant of the record before it) is
// later, then its second. A time the clock skipped is read with the offset before the change.
// None when the system cannot tell the zone's offset then.
std::optional<std::int64_t> LocalInstant(const LogTime& time,
                                         std::optional<std::int64_t> not_before = {});

// LocalInstant of each record's time in the order written: records never go back in time, so a
// time the zone has twice is its second reading after a record of the second.
class InstantReader {
 public:
  std::optional<std::int64_t> Read(const LogTime& time);

 private:
  std::optional<LogTime> time_;          // the last read
  std::optional<std::int64_t> instant_;  // its instant
  std::optional<std::int64_t> latest_;   // the last instant known
};

// "2026-12-07T17:26:51+01:00", the UTC offset that `instant` (of `time`) gives; left out without
// an instant.
std::string IsoText(const LogTime& time, std::optional<std::int64_t> instant);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_READER_TIME_WORDS_H_
