#include "time_filter.h"

#include <charconv>
#include <climits>
#include <cstdio>

namespace zyl::tool {
namespace {

constexpr std::size_t kBeforeYear = 20;   // "Wed Mar 15 09:05:07 "
constexpr std::size_t kLongestYear = 11;  // an int's digits and its sign
constexpr std::int64_t kLongestAgo = 100LL * 366 * 86400;
constexpr char kDays[] = "SunMonTueWedThuFriSat";
constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Position of `name` among the three-letter names in `names`, or -1.
int NameIndex(const char* names, int count, std::string_view name) {
  for (int i = 0; i < count; ++i) {
    if (name == std::string_view(names + 3 * i, 3)) return i;
  }
  return -1;
}

// Two digits, or with `lead` allowed in place of a leading zero.
std::optional<int> TwoDigits(std::string_view text, char lead = '0') {
  if (text.size() != 2 || !IsDigit(text[1]) || !(IsDigit(text[0]) || text[0] == lead)) {
    return std::nullopt;
  }
  return (text[0] == lead ? 0 : text[0] - '0') * 10 + (text[1] - '0');
}

std::optional<std::int64_t> Year(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() >= kLongestYear) return std::nullopt;
  std::int64_t year = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    year = year * 10 + (c - '0');
  }
  return negative ? -year : year;
}

bool IsLeap(std::int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool Valid(const LogTime& t) {
  static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (t.month < 1 || t.month > 12 || t.day < 1) return false;
  const int days = t.month == 2 && IsLeap(t.year) ? 29 : kDaysIn[t.month - 1];
  return t.day <= days && t.hour <= 23 && t.minute <= 59 && t.second <= 60;
}

// "hh:mm:ss" or, when `seconds_optional`, "hh:mm" too, into `t`.
bool ParseClock(std::string_view text, bool seconds_optional, LogTime* t) {
  if (text.size() != 8 && !(seconds_optional && text.size() == 5)) return false;
  const auto hour = TwoDigits(text.substr(0, 2));
  const auto minute = TwoDigits(text.substr(3, 2));
  const auto second = text.size() == 8 ? TwoDigits(text.substr(6, 2)) : std::optional<int>(0);
  if (!hour || !minute || !second || text[2] != ':' || (text.size() == 8 && text[5] != ':')) {
    return false;
  }
  t->hour = *hour;
  t->minute = *minute;
  t->second = *second;
  return true;
}

LogTime FromTm(const std::tm& tm) {
  return {tm.tm_year + 1900LL, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::optional<std::int64_t> RelativeKey(std::string_view text, std::time_t now) {
  static constexpr std::string_view kUnits = "smhd";
  static constexpr std::int64_t kUnitSeconds[] = {1, 60, 3600, 86400};
  if (text.size() < 3 || text[0] != '-') return std::nullopt;
  const std::size_t unit = kUnits.find(text.back());
  std::int64_t count = 0;
  const char* end = text.data() + text.size() - 1;
  const auto [stop, error] = std::from_chars(text.data() + 1, end, count);
  if (unit == std::string_view::npos || error != std::errc() || stop != end ||
      count > kLongestAgo / kUnitSeconds[unit]) {
    return std::nullopt;
  }
  return LocalKey(now - static_cast<std::time_t>(count * kUnitSeconds[unit]));
}

// The UTC offset in seconds the local zone had at `t`.
std::optional<std::int64_t> UtcOffset(const LogTime& t) {
  if (t.year < INT_MIN + 1900 || t.year > INT_MAX) return std::nullopt;
  std::tm tm{};
  tm.tm_year = static_cast<int>(t.year - 1900);
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  const std::time_t when = std::mktime(&tm);  // normalises `tm` across a daylight-saving gap
  const std::tm* utc = when == static_cast<std::time_t>(-1) ? nullptr : std::gmtime(&when);
  if (utc == nullptr) return std::nullopt;
  return FromTm(tm).Key() - FromTm(*utc).Key();
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
  if (text.size() <= kBeforeYear || text[3] != ' ' || text[7] != ' ' || text[10] != ' ' ||
      text[19] != ' ' || NameIndex(kDays, 7, text.substr(0, 3)) < 0) {
    return std::nullopt;
  }
  LogTime t;
  const auto day = TwoDigits(text.substr(8, 2), ' ');
  const auto year = Year(text.substr(kBeforeYear));
  if (!day || !year || !ParseClock(text.substr(11, 8), false, &t)) return std::nullopt;
  t.month = NameIndex(kMonths, 12, text.substr(4, 3)) + 1;
  t.day = *day;
  t.year = *year;
  if (!Valid(t)) return std::nullopt;
  return t;
}

std::optional<LogTime> ParseIsoTime(std::string_view text) {
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  LogTime t;
  const auto year = Year(text.substr(0, 4));
  const auto month = TwoDigits(text.substr(5, 2));
  const auto day = TwoDigits(text.substr(8, 2));
  if (!year || *year < 0 || !month || !day) return std::nullopt;
  t.year = *year;
  t.month = *month;
  t.day = *day;
  if (text.size() > 10 &&
      ((text[10] != 'T' && text[10] != ' ') || !ParseClock(text.substr(11), true, &t))) {
    return std::nullopt;
  }
  if (!Valid(t)) return std::nullopt;
  return t;
}

std::optional<std::int64_t> LocalKey(std::time_t when) {
  const std::tm* tm = std::localtime(&when);  // zyl runs one thread
  if (tm == nullptr) return std::nullopt;
  return FromTm(*tm).Key();
}

std::optional<std::int64_t> WhenKey(std::string_view text, std::time_t now) {
  if (const auto time = ParseCtime(text)) return time->Key();
  if (const auto time = ParseIsoTime(text)) return time->Key();
  return RelativeKey(text, now);
}

std::string IsoText(const LogTime& t) {
  char text[80];
  int size =
      std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02d",
                    static_cast<long long>(t.year), t.month, t.day, t.hour, t.minute, t.second);
  if (const auto offset = UtcOffset(t)) {
    const std::int64_t minutes = (*offset < 0 ? -*offset : *offset) / 60;
    size +=
        std::snprintf(text + size, sizeof text - size, "%c%02lld:%02lld", *offset < 0 ? '-' : '+',
                      static_cast<long long>(minutes / 60), static_cast<long long>(minutes % 60));
  }
  return std::string(text, static_cast<std::size_t>(size));
}

}  // namespace zyl::tool
