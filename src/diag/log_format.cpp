#include "diag/log_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstring>

namespace zyl::log_format {
namespace {

// Four bytes each, the blank after the name included, so that each is one move.
constexpr char kDays[] = "Sun Mon Tue Wed Thu Fri Sat ";
constexpr char kMonths[] = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec ";
constexpr std::size_t kBeforeYear = 20;   // "Wed Mar 15 09:05:07 "
constexpr std::size_t kLongestYear = 11;  // an int's digits and a sign

char* Put(std::string_view text, char* out) { return std::copy(text.begin(), text.end(), out); }

// A newline is one or two bytes: moved in place, without a call to memcpy.
char* PutNewline(std::string_view newline, char* out) {
  for (const char c : newline) *out++ = c;
  return out;
}

// "00" to "99": two places in one move, where dividing by ten twice cost a record 15 % of its own
// work.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Two places of `value` (0 to 99), `lead` standing in for a leading zero.
char* PutTwoDigits(unsigned value, char lead, char* out) {
  std::memcpy(out, kDigitPairs.data() + 2 * value, 2);
  if (value < 10) *out = lead;
  return out + 2;
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

// localtime never yields anything else, but a field out of range would index past the names.
bool Plausible(const std::tm& tm) {
  return InRange(tm.tm_wday, 0, 6) && InRange(tm.tm_mon, 0, 11) && InRange(tm.tm_mday, 1, 31) &&
         InRange(tm.tm_hour, 0, 23) && InRange(tm.tm_min, 0, 59) && InRange(tm.tm_sec, 0, 60) &&
         // ctime gives up where tm_year + 1900 would overflow an int.
         tm.tm_year <= INT_MAX - 1900;
}

char* PutTime(const std::tm* local, char* out) {
  if (local == nullptr || !Plausible(*local)) return Put(kUnknownTime, out);
  std::memcpy(out, kDays + 4 * local->tm_wday, 4);
  std::memcpy(out + 4, kMonths + 4 * local->tm_mon, 4);
  out = PutTwoDigits(static_cast<unsigned>(local->tm_mday), ' ', out + 8);
  *out++ = ' ';
  out = PutTwoDigits(static_cast<unsigned>(local->tm_hour), '0', out);
  *out++ = ':';
  out = PutTwoDigits(static_cast<unsigned>(local->tm_min), '0', out);
  *out++ = ':';
  out = PutTwoDigits(static_cast<unsigned>(local->tm_sec), '0', out);
  *out++ = ' ';
  // The year takes as many digits as it needs, sign included, as asctime's "%d" does; those of
  // four digits, every record's for centuries, without to_chars' general loop.
  const long long year = 1900LL + local->tm_year;
  if (year < 1000 || year > 9999) return std::to_chars(out, out + kLongestYear, year).ptr;
  const auto digits = static_cast<unsigned>(year);
  return PutTwoDigits(digits % 100, '0', PutTwoDigits(digits / 100, '0', out));
}

// Position of the three letters `name` among `names`, or -1.
int NameIndex(const char* names, std::string_view name) {
  for (int i = 0; names[4 * i] != '\0'; ++i) {
    if (name == std::string_view(names + 4 * i, 3)) return i;
  }
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The two places at `at`, the first of which may be `lead` for a zero; -1 when they are not.
int TwoDigits(std::string_view text, std::size_t at, char lead) {
  const char high = text[at] == lead ? '0' : text[at];
  if (!IsDigit(high) || !IsDigit(text[at + 1])) return -1;
  return (high - '0') * 10 + (text[at + 1] - '0');
}

bool IsLeap(std::int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

}  // namespace

bool IsValid(const Time& t) {
  static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (t.month < 1 || t.month > 12 || t.day < 1) return false;
  const int days = t.month == 2 && IsLeap(t.year) ? 29 : kDaysIn[t.month - 1];
  return t.day <= days && InRange(t.hour, 0, 23) && InRange(t.minute, 0, 59) &&
         InRange(t.second, 0, 60);
}

char* PutHeader(std::string_view exe, const std::tm* local, std::string_view newline, char* out) {
  return PutHeaderEnd(local, newline, Put(exe, PutHeaderStart(out)));
}

char* PutHeaderStart(char* out) { return Put(kHeaderStart, out); }

char* PutHeaderEnd(const std::tm* local, std::string_view newline, char* exe_end) {
  return PutNewline(newline, PutTime(local, Put(kBeforeTime, exe_end)));
}

char* PutMessage(std::string_view message, std::string_view newline, char* out) {
  if (newline == "\n") return PutNewline(newline, Put(message, out));
  for (std::size_t start = 0;;) {
    const std::size_t end = std::min(message.find('\n', start), message.size());
    out = PutNewline(newline, Put(message.substr(start, end - start), out));
    if (end == message.size()) return out;
    start = end + 1;
  }
}

std::optional<Time> ParseTime(std::string_view text) {
  if (text.size() <= kBeforeYear || text.size() > kBeforeYear + kLongestYear) return std::nullopt;
  for (const std::size_t at : {3, 7, 10, 19}) {
    if (text[at] != ' ') return std::nullopt;
  }
  if (text[13] != ':' || text[16] != ':' || NameIndex(kDays, text.substr(0, 3)) < 0) {
    return std::nullopt;
  }
  Time time;
  const char* const year_end = text.data() + text.size();
  if (std::from_chars(text.data() + kBeforeYear, year_end, time.year).ptr != year_end) {
    return std::nullopt;
  }
  time.month = NameIndex(kMonths, text.substr(4, 3)) + 1;
  time.day = TwoDigits(text, 8, ' ');
  time.hour = TwoDigits(text, 11, '0');
  time.minute = TwoDigits(text, 14, '0');
  time.second = TwoDigits(text, 17, '0');
  if (!IsValid(time)) return std::nullopt;
  return time;
}

std::optional<Header> FindHeader(std::string_view line) {
  Header header;
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  header.crlf = !line.empty() && line.back() == '\r';
  if (header.crlf) line.remove_suffix(1);
  // The time ends the line: the filler, or ctime's form with the year after the last blank.
  std::size_t time_begin = line.size() - std::min(line.size(), kUnknownTime.size());
  if (line.substr(time_begin) != kUnknownTime) {
    const std::size_t year_begin = line.rfind(' ') + 1;  // 0 without a blank
    if (year_begin < kBeforeYear) return std::nullopt;
    time_begin = year_begin - kBeforeYear;
    if (!(header.time = ParseTime(line.substr(time_begin)))) return std::nullopt;
  }
  const std::size_t shortest = kHeaderStart.size() + kBeforeTime.size();
  if (time_begin < shortest || line.substr(time_begin - kBeforeTime.size(), 2) != kBeforeTime) {
    return std::nullopt;
  }
  // The earliest "APP: " that leaves room for the path: the whole line when it is a header.
  const std::size_t exe_end = time_begin - kBeforeTime.size();
  const std::size_t reach = kHeaderStart.size() + platform::kPathLimit;
  header.begin = line.find(kHeaderStart, exe_end - std::min(exe_end, reach));
  if (header.begin == std::string_view::npos || header.begin > exe_end - kHeaderStart.size()) {
    return std::nullopt;
  }
  const std::size_t exe_begin = header.begin + kHeaderStart.size();
  header.exe = line.substr(exe_begin, exe_end - exe_begin);
  return header;
}

std::string_view WithoutLastLineEnd(std::string_view body, bool crlf) {
  if (body.empty() || body.back() != '\n') return body;
  body.remove_suffix(1);
  if (crlf && !body.empty() && body.back() == '\r') body.remove_suffix(1);
  return body;
}

std::string DecodeMessage(std::string_view stored, bool crlf) {
  if (!crlf) return std::string(stored);
  std::string message;
  message.reserve(stored.size());
  for (std::size_t start = 0;;) {
    const std::size_t end = stored.find("\r\n", start);
    if (end == std::string_view::npos) return message.append(stored.substr(start));
    message.append(stored.substr(start, end - start)).push_back('\n');
    start = end + 2;
  }
}

}  // namespace zyl::log_format
