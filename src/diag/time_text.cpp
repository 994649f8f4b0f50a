#include "diag/time_text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <ctime>

#include "platform/platform.h"

namespace zyl {
namespace {

constexpr char kDays[] = "SunMonTueWedThuFriSat";
constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
constexpr std::string_view kUnknownTime = "??? ??? ?? ??:??:?? ????";  // as wide as a known one

// Two places, `lead` standing in for a leading zero.
char* PutTwoDigits(int value, char lead, char* out) {
  *out++ = value >= 10 ? static_cast<char>('0' + value / 10) : lead;
  *out++ = static_cast<char>('0' + value % 10);
  return out;
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

// localtime never yields anything else, but a field out of range would index past the names.
bool Plausible(const std::tm& tm) {
  return InRange(tm.tm_wday, 0, 6) && InRange(tm.tm_mon, 0, 11) && InRange(tm.tm_mday, 1, 31) &&
         InRange(tm.tm_hour, 0, 23) && InRange(tm.tm_min, 0, 59) && InRange(tm.tm_sec, 0, 60) &&
         // ctime gives up where tm_year + 1900 would overflow an int.
         tm.tm_year <= INT_MAX - 1900;
}

}  // namespace

void AppendCtimeText(std::int64_t seconds, std::string_view newline, std::string* out) {
  std::tm tm{};
  if (!platform::LocalTime(seconds, &tm) || !Plausible(tm)) {
    out->append(kUnknownTime).append(newline);
    return;
  }
  char text[32];  // "Wed Mar 15 09:05:07 " and a year of up to 11 characters
  char* end = std::copy_n(kDays + 3 * tm.tm_wday, 3, text);
  *end++ = ' ';
  end = std::copy_n(kMonths + 3 * tm.tm_mon, 3, end);
  *end++ = ' ';
  end = PutTwoDigits(tm.tm_mday, ' ', end);
  *end++ = ' ';
  end = PutTwoDigits(tm.tm_hour, '0', end);
  *end++ = ':';
  end = PutTwoDigits(tm.tm_min, '0', end);
  *end++ = ':';
  end = PutTwoDigits(tm.tm_sec, '0', end);
  *end++ = ' ';
  // The year takes as many digits as it needs, sign included, as asctime's "%d" does.
  end = std::to_chars(end, text + sizeof text, 1900LL + tm.tm_year).ptr;
  out->append(text, end).append(newline);
}

}  // namespace zyl
