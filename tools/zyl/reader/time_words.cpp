#include "time_words.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "text/number.h"

namespace zyl::tool {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kLongestAgo = 100 * 366 * kDay;
constexpr std::int64_t kEpochKey = 719468 * kDay;  // LogTime{1970, 1, 1}.Key()

// Whether `text` has the shape of `pattern`: '9' stands for a digit, 'T' for itself or a blank,
// and any other byte for itself.
bool Shaped(std::string_view text, std::string_view pattern) {
  if (text.size() != pattern.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i], p = pattern[i];
    const bool digit = c >= '0' && c <= '9';
    if (p == '9' ? !digit : p == 'T' ? c != 'T' && c != ' ' : p != c) {
      return false;
    }
  }
  return true;
}

// The number that the `size` digits at `at` spell; 0 past the end.
int Number(std::string_view text, std::size_t at, std::size_t size = 2) {
  int number = 0;
  for (const char c : text.substr(std::min(at, text.size()), size)) number = number * 10 + c - '0';
  return number;
}

std::optional<LogTime> Valid(const LogTime& t) {
  if (!log_format::IsValid(t)) return std::nullopt;
  return t;
}

LogTime FromTm(const std::tm& tm) {
  return {{tm.tm_year + 1900LL, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec}};
}

// `count` units of `seconds` before `now`, up to about 100 years.
std::optional<std::int64_t> InstantBefore(std::string_view count, std::int64_t seconds,
                                          std::time_t now) {
  const auto n = ParseNumber<std::uint32_t>(count);
  if (!n || *n > kLongestAgo / seconds) return std::nullopt;
  return static_cast<std::int64_t>(now) - static_cast<std::int64_t>(*n) * seconds;
}

// "-90s", "-30m", "-2h", "-7d", "-2w".
std::optional<std::int64_t> RelativeInstant(std::string_view text, std::time_t now) {
  static constexpr std::string_view kUnits = "smhdw";
  static constexpr std::int64_t kUnitSeconds[] = {1, 60, 3600, kDay, 7 * kDay};
  if (text.size() < 3 || text[0] != '-') return std::nullopt;
  const std::size_t unit = kUnits.find(text.back());
  if (unit == std::string_view::npos) return std::nullopt;
  return InstantBefore(text.substr(1, text.size() - 2), kUnitSeconds[unit], now);
}

// "2 hours ago", "90 s ago", "1 week ago": a unit's short name, or its long one, plural or not.
std::optional<std::int64_t> AgoInstant(std::string_view text, std::time_t now) {
  static constexpr struct {
    std::string_view short_name, long_name;
    std::int64_t seconds;
  } kUnits[] = {{"s", "second", 1},
                {"min", "minute", 60},
                {"h", "hour", 3600},
                {"d", "day", kDay},
                {"w", "week", 7 * kDay}};
  constexpr std::string_view kAgo = " ago";
  if (!text.ends_with(kAgo)) return std::nullopt;
  text.remove_suffix(kAgo.size());
  const std::size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
  std::string_view unit = text.substr(digits);
  if (unit.starts_with(' ')) unit.remove_prefix(1);
  for (const auto& u : kUnits) {
    const bool plural = unit.size() == u.long_name.size() + 1 && unit.back() == 's';
    if (unit == u.short_name || unit.substr(0, unit.size() - plural) == u.long_name) {
      return InstantBefore(text.substr(0, digits), u.seconds, now);
    }
  }
  return std::nullopt;
}

// The UTC offset in seconds the local zone had at `instant`.
std::optional<std::int64_t> OffsetAt(std::int64_t instant) {
  const auto local = LocalKey(static_cast<std::time_t>(instant));
  if (!local) return std::nullopt;
  return *local - (instant + kEpochKey);
}

// The instants at which the local clock showed `t`: none (a time it skipped, or one the system
// cannot place), one, or two, the earlier first (in the hour it went back). The zone's offsets a
// day before and after are the candidates: clocks change far less often than that. (mktime with
// tm_isdst set would search for a fitting time, slowly, and not at all in a zone without DST.)
std::vector<std::int64_t> Readings(const LogTime& t) {
  const std::int64_t as_utc = t.Key() - kEpochKey;
  std::vector<std::int64_t> readings;
  for (const std::int64_t near : {as_utc - kDay, as_utc + kDay}) {
    const auto offset = OffsetAt(near);
    if (!offset) continue;
    const std::int64_t instant = as_utc - *offset;
    if (LocalKey(static_cast<std::time_t>(instant)) != t.Key()) continue;
    if (readings.empty() || readings.front() != instant) readings.push_back(instant);
  }
  std::sort(readings.begin(), readings.end());
  return readings;
}

// A local time given on the command line: one the system cannot place with the zone's offset now.
std::optional<std::int64_t> GivenInstant(const LogTime& t, std::time_t now) {
  if (const auto instant = LocalInstant(t)) return instant;
  const auto offset = OffsetAt(now);
  if (!offset) return std::nullopt;
  return t.Key() - kEpochKey - *offset;
}

// "now", "today", "yesterday", and "21:00" or "21:00:05" today (a one-digit hour will do).
std::optional<std::int64_t> DayInstant(std::string_view text, std::time_t now) {
  if (text == "now") return now;
  const std::tm* local = std::localtime(&now);  // zyl runs one thread
  if (local == nullptr) return std::nullopt;
  std::tm day = *local;
  int hour = 0, minute = 0, second = 0;
  if (text == "yesterday") {
    day.tm_mday -= 1;
    day.tm_hour = 12;  // a day of 23 or 25 hours still ends up on the day before
    day.tm_isdst = -1;
    if (std::mktime(&day) == static_cast<std::time_t>(-1)) return std::nullopt;
  } else if (text != "today") {
    std::string clock(text.size() == 4 || text.size() == 7 ? 1 : 0, '0');
    clock.append(text);
    if (!Shaped(clock, "99:99") && !Shaped(clock, "99:99:99")) return std::nullopt;
    const auto time = Valid({{2000, 1, 1, Number(clock, 0), Number(clock, 3), Number(clock, 6)}});
    if (!time) return std::nullopt;
    hour = time->hour, minute = time->minute, second = time->second;
  }
  LogTime t = FromTm(day);
  t.hour = hour, t.minute = minute, t.second = second;
  return GivenInstant(t, now);
}

}  // namespace

std::int64_t LogTime::Key() const {
  // Days from 1 March of year 0, as in Howard Hinnant's days_from_civil.
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t year_of_era = y - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return (era * 146097 + day_of_era) * 86400 + hour * 3600 + minute * 60 + second;
}

std::optional<LogTime> ParseCtime(std::string_view text) {
  const std::optional<log_format::Time> time = log_format::ParseTime(text);
  if (!time) return std::nullopt;
  return LogTime{*time};
}

std::optional<LogTime> ParseIsoTime(std::string_view text) {
  const std::string_view shape = "9999-99-99T99:99:99";
  if ((text.size() != 10 && text.size() != 16 && text.size() != 19) ||
      !Shaped(text, shape.substr(0, text.size()))) {
    return std::nullopt;
  }
  return Valid({{Number(text, 0, 4), Number(text, 5), Number(text, 8), Number(text, 11),
                 Number(text, 14), Number(text, 17)}});
}

std::optional<std::int64_t> LocalKey(std::time_t when) {
  const std::tm* tm = std::localtime(&when);  // zyl runs one thread
  if (tm == nullptr) return std::nullopt;
  return FromTm(*tm).Key();
}

std::optional<std::int64_t> LocalInstant(const LogTime& time,
                                         std::optional<std::int64_t> not_before) {
  const std::vector<std::int64_t> readings = Readings(time);
  if (!readings.empty()) {
    const bool second = readings.size() > 1 && not_before && readings.front() < *not_before;
    return readings[second ? 1 : 0];
  }
  // Skipped: the offset a day before, from the same time taken as UTC.
  const std::int64_t as_utc = time.Key() - kEpochKey;
  const auto offset = OffsetAt(as_utc - kDay);
  if (!offset) return std::nullopt;
  return as_utc - *offset;
}

std::optional<std::int64_t> InstantReader::Read(const LogTime& time) {
  if (time_ && time_->Key() == time.Key()) return instant_;  // a record's pieces, or one second
  time_ = time;
  instant_ = LocalInstant(time, latest_);
  if (instant_) latest_ = instant_;
  return instant_;
}

std::optional<std::int64_t> WhenInstant(std::string_view text, std::time_t now) {
  if (const auto time = ParseCtime(text)) return GivenInstant(*time, now);
  if (const auto time = ParseIsoTime(text)) return GivenInstant(*time, now);
  if (const auto instant = DayInstant(text, now)) return instant;
  if (const auto instant = AgoInstant(text, now)) return instant;
  return RelativeInstant(text, now);
}

std::string IsoText(const LogTime& t, std::optional<std::int64_t> instant) {
  char text[80];
  int size =
      std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02d",
                    static_cast<long long>(t.year), t.month, t.day, t.hour, t.minute, t.second);
  if (instant) {
    const std::int64_t offset = t.Key() - kEpochKey - *instant;
    const std::int64_t minutes = (offset < 0 ? -offset : offset) / 60;
    size +=
        std::snprintf(text + size, sizeof text - size, "%c%02lld:%02lld", offset < 0 ? '-' : '+',
                      static_cast<long long>(minutes / 60), static_cast<long long>(minutes % 60));
  }
  return std::string(text, static_cast<std::size_t>(size));
}

}  // namespace zyl::tool
