#include "log_reader.h"

#include <cstring>

namespace zyl::tool {
namespace {

constexpr std::string_view kHeaderStart = "APP: ";
constexpr std::string_view kBeforeTime = ": ";
// What SendDebugMsg writes when it cannot tell the time; as wide as a known one.
constexpr std::string_view kUnknownTime = "??? ??? ?? ??:??:?? ????";
constexpr std::size_t kShortestHeader = 5 + 2 + 24;
// "Wed Mar 15 09:05:07 ": the part of a ctime-form time before the year.
constexpr std::size_t kBeforeYear = 20;
constexpr std::size_t kLongestYear = 11;  // an int's digits and its sign
constexpr std::size_t kLongestNonRecord = 64 * 1024;
constexpr char kDays[] = "SunMonTueWedThuFriSat";
constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Position of `name` among the three-letter names in `names`, or -1.
int NameIndex(const char* names, std::size_t count, std::string_view name) {
  for (std::size_t i = 0; i < count; ++i) {
    if (name == std::string_view(names + 3 * i, 3)) return static_cast<int>(i);
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

int DaysInMonth(std::int64_t year, int month) {
  static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDaysIn[month - 1];
}

bool Valid(const LogTime& t) {
  return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) &&
         t.hour <= 23 && t.minute <= 59 && t.second <= 60;
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

struct HeaderAt {
  std::size_t begin = 0;  // where "APP: " stands in the line
  std::size_t exe_size = 0;
  std::optional<LogTime> time;
};

// The record header that ends `body`, a line without its line end: from its first byte, or
// after the rest of a record cut short.
std::optional<HeaderAt> FindHeader(std::string_view body) {
  if (body.size() < kShortestHeader) return std::nullopt;
  HeaderAt header;
  std::size_t time_begin = body.size() - kUnknownTime.size();
  if (body.substr(time_begin) != kUnknownTime) {
    std::size_t year_begin = body.size();
    while (year_begin > 0 && IsDigit(body[year_begin - 1])) --year_begin;
    if (year_begin > 0 && body[year_begin - 1] == '-') --year_begin;
    if (year_begin < kBeforeYear + kBeforeTime.size() + kHeaderStart.size()) return std::nullopt;
    time_begin = year_begin - kBeforeYear;
    header.time = ParseCtime(body.substr(time_begin));
    if (!header.time) return std::nullopt;
  }
  const std::size_t exe_end = time_begin - kBeforeTime.size();
  if (body.substr(exe_end, kBeforeTime.size()) != kBeforeTime) return std::nullopt;
  // The last "APP: " before the path: a record cut short within its own header may come first.
  header.begin = body.rfind(kHeaderStart, exe_end - kHeaderStart.size());
  if (header.begin == std::string_view::npos) return std::nullopt;
  header.exe_size = exe_end - header.begin - kHeaderStart.size();
  return header;
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
  const std::int64_t days = era * 146097 + day_of_era;
  return days * 86400 + hour * 3600 + minute * 60 + second;
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

std::string_view LogEntry::message() const {
  std::string_view message = std::string_view(text).substr(message_begin);
  if (!message.empty() && message.back() == '\n') {
    message.remove_suffix(1);
    if (!message.empty() && message.back() == '\r') message.remove_suffix(1);
  }
  return message;
}

void LogParser::Feed(std::string_view bytes) {
  lines_.Feed(bytes, [this](std::string_view line) {
    TakeLine(line);
    return true;
  });
}

void LogParser::Finish() {
  if (!lines_.pending().empty()) {
    const std::string last(lines_.pending());
    lines_.Clear();
    TakeLine(last);
  }
  Complete();
}

void LogParser::PassWhole() {
  if (active_ && lines_.pending().empty() &&
      (!entry_.is_record || entry_.message_begin < entry_.text.size())) {
    Complete();
  }
}

void LogParser::Restart() {
  Finish();
  offset_ = 0;
}

void LogParser::TakeLine(std::string_view line) {
  const std::uint64_t line_offset = offset_;
  offset_ += line.size();
  const std::optional<HeaderAt> header = FindHeader(WithoutLineEnd(line));
  // Bytes before a header, or after none yet, belong to what is in progress, or to no record.
  const std::size_t before = header ? header->begin : line.size();
  if (before > 0) {
    if (!active_) Start(line_offset, false);
    entry_.text.append(line.substr(0, before));
  }
  if (!header) {
    // A foreign file is passed on in pieces: memory must not grow with it.
    if (!entry_.is_record && entry_.text.size() >= kLongestNonRecord) Complete();
    return;
  }
  Complete();  // a record that lost its line end to the header is cut short
  Start(line_offset + header->begin, true);
  entry_.text.assign(line.substr(header->begin));
  entry_.time = header->time;
  entry_.exe_size = header->exe_size;
  entry_.message_begin = entry_.text.size();
}

void LogParser::Start(std::uint64_t offset, bool is_record) {
  entry_.offset = offset;
  entry_.is_record = is_record;
  entry_.time.reset();
  entry_.exe_begin = is_record ? kHeaderStart.size() : 0;
  entry_.exe_size = 0;
  entry_.message_begin = 0;
  active_ = true;
}

void LogParser::Complete() {
  if (!active_) return;
  entry_.torn = entry_.is_record &&
                (entry_.message_begin == entry_.text.size() || entry_.text.back() != '\n');
  sink_(entry_);
  active_ = false;
  entry_.text.clear();
}

}  // namespace zyl::tool
